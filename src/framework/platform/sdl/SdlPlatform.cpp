#include "framework/platform/sdl/SdlPlatform.h"

#include "framework/sound/AudioDevice.h"

#include "framework/platform/MonotonicClock.h"
#include "framework/platform/VirtualKeys.h"
#include "framework/platform/sdl/SdlCursors.h"
#include "framework/platform/sdl/SdlDisplay.h"
#include "framework/platform/sdl/SdlKeyMap.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace Orvane {

namespace {

// A captioned window loses about this much height to its title bar.
constexpr int kCaptionAllowance = 32;
constexpr int kEdgeInset = 4;

// Record flags from SDL's button mask, with the keyboard modifiers held now.
uint32_t MouseFlagsFromSdl(uint32_t state) {
    uint32_t flags = 0;
    if (state & SDL_BUTTON_LMASK) flags |= MK_LBUTTON;
    if (state & SDL_BUTTON_RMASK) flags |= MK_RBUTTON;
    if (state & SDL_BUTTON_MMASK) flags |= MK_MBUTTON;
    const SDL_Keymod mod = SDL_GetModState();
    if (mod & KMOD_SHIFT) flags |= MK_SHIFT;
    if (mod & KMOD_CTRL) flags |= MK_CONTROL;
    return flags;
}

// Decodes UTF-8 text into one-byte characters; what is not Latin-1 is dropped.
void AppendLatin1(const char* text, std::vector<uint8_t>& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        uint32_t cp = 0;
        int extra = 0;
        if (*p < 0x80) {
            cp = *p;
        } else if ((*p & 0xE0) == 0xC0) {
            cp = *p & 0x1F;
            extra = 1;
        } else if ((*p & 0xF0) == 0xE0) {
            cp = *p & 0x0F;
            extra = 2;
        } else if ((*p & 0xF8) == 0xF0) {
            cp = *p & 0x07;
            extra = 3;
        } else {
            ++p;   // a stray continuation byte
            continue;
        }
        ++p;
        bool valid = true;
        for (int i = 0; i < extra; ++i) {
            if ((*p & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (*p & 0x3F);
            ++p;
        }
        if (valid && cp <= 0xFF) out.push_back(static_cast<uint8_t>(cp));
    }
}

}  // namespace

LetterboxRect FitLetterbox(int windowW, int windowH, int logicalW, int logicalH) {
    LetterboxRect r;
    if (windowW <= 0 || windowH <= 0 || logicalW <= 0 || logicalH <= 0) return r;
    // Integer arithmetic: the wider side gets the bars.
    if (static_cast<int64_t>(windowW) * logicalH > static_cast<int64_t>(windowH) * logicalW) {
        r.height = windowH;
        r.width = static_cast<int>(static_cast<int64_t>(windowH) * logicalW / logicalH);
    } else {
        r.width = windowW;
        r.height = static_cast<int>(static_cast<int64_t>(windowW) * logicalH / logicalW);
    }
    r.x = (windowW - r.width) / 2;
    r.y = (windowH - r.height) / 2;
    return r;
}

void ChooseWindowSize(int logicalW, int logicalH, int areaW, int areaH, int storedW, int storedH,
                      int& width, int& height) {
    const bool storedUsable = storedW * 2 >= logicalW && storedH * 2 >= logicalH && storedW <= areaW &&
                              storedH <= areaH;
    if (storedUsable) {
        width = storedW;
        height = storedH;
        return;
    }
    int factor = 1;
    if (logicalW > 0 && logicalH > 0) factor = std::max(1, std::min(areaW / logicalW, areaH / logicalH));
    width = logicalW * factor;
    height = logicalH * factor;
}

SdlPlatform::SdlPlatform(std::string configRoot) : settings_(std::move(configRoot)) {}

SdlPlatform::~SdlPlatform() {
    DestroyMainWindow();
    for (SDL_Cursor*& cursor : cursors_) {
        if (cursor) SDL_FreeCursor(cursor);
        cursor = nullptr;
    }
    // The platform is the last user of SDL: let it release everything it keeps process-wide
    // (the desktop-bus connection among others).
    if (videoUp_) SDL_Quit();
}

uint32_t SdlPlatform::TimeMs() { return MonotonicMs(); }
uint32_t SdlPlatform::TickCount() { return MonotonicMs(); }

void SdlPlatform::SleepMs(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool SdlPlatform::InitWindowSystem(std::string& error) {
    if (videoUp_) return true;
    // The game draws its own scaled picture; no compositor bypass games, and the desktop
    // screensaver may run while the game is in a window.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint("SDL_SHUTDOWN_DBUS_ON_QUIT", "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        error = SDL_GetError();
        return false;
    }
    videoUp_ = true;
    return true;
}

bool SdlPlatform::CreateMainWindow(const WindowSettings& settings, std::string& error) {
    std::string initError;
    if (!InitWindowSystem(initError)) {
        error = initError;
        return false;
    }
    logicalW_ = settings.width;
    logicalH_ = settings.height;
    fullScreen_ = settings.fullScreen;

    // The windowed size and place: the stored size, or the largest whole multiple of the
    // logical screen that fits; the stored position kept on the desktop, else centred.
    int width = settings.width, height = settings.height;
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
    if (!fullScreen_) {
        int areaW = settings.width, areaH = settings.height;
        GetFullScreenClientSize(areaW, areaH);
        // Back from full screen the window takes the size it had; a new one the stored size.
        const int storedW = windowedW_ > 0 ? windowedW_ : settings.clientWidth;
        const int storedH = windowedH_ > 0 ? windowedH_ : settings.clientHeight;
        ChooseWindowSize(settings.width, settings.height, areaW, areaH, storedW, storedH, width, height);
        windowedW_ = width;
        windowedH_ = height;
        SDL_Rect usable{0, 0, 0, 0};
        const int displayIndex = window_ ? std::max(0, SDL_GetWindowDisplayIndex(window_)) : 0;
        if (SDL_GetDisplayUsableBounds(displayIndex, &usable) == 0 && usable.w > 0) {
            if (settings.HasPosition()) {
                // At least 4 pixels inside the desktop, also when the window was left partly
                // off its left or top edge.
                const int maxX = usable.x + usable.w - width - kEdgeInset;
                const int maxY = usable.y + usable.h - height - kEdgeInset;
                x = std::max(usable.x + kEdgeInset, std::min(settings.x, maxX));
                y = std::max(usable.y + kEdgeInset, std::min(settings.y, maxY));
            } else {
                x = usable.x + std::max(0, (usable.w - width) / 2);
                y = usable.y + std::max(0, (usable.h - height) / 2);
            }
        } else {
            x = y = static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(displayIndex));
        }
    }

    // A window is re-used across mode switches, so the renderer bound to it survives. It can
    // be resized: the display letterboxes the picture and the pointer is mapped back. A new
    // window is made at its size and place at once, as the window manager places it by them.
    if (!window_) {
        const uint32_t flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE |
                               (fullScreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        window_ = SDL_CreateWindow(settings.title.c_str(), x, y, width, height, flags);
        if (!window_) {
            error = SDL_GetError();
            return false;
        }
        SDL_SetWindowMinimumSize(window_, std::max(1, settings.width / 2), std::max(1, settings.height / 2));
        ApplyIcon();
        return true;
    }
    SDL_SetWindowTitle(window_, settings.title.c_str());
    if (SDL_SetWindowFullscreen(window_, fullScreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        error = SDL_GetError();
        return false;
    }
    if (!fullScreen_) {
        SDL_SetWindowSize(window_, width, height);
        SDL_SetWindowPosition(window_, x, y);
    }
    return true;
}

void SdlPlatform::ShowMainWindow() {
    if (!window_) return;
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    SDL_StartTextInput();
}

void SdlPlatform::HideMainWindow() {
    if (window_) SDL_HideWindow(window_);
}

void SdlPlatform::DestroyMainWindow() {
    if (!window_) return;
    SDL_StopTextInput();
    SDL_DestroyWindow(window_);
    window_ = nullptr;
}

uint32_t SdlPlatform::MainWindowId() const { return window_ ? SDL_GetWindowID(window_) : 0; }

bool SdlPlatform::MainWindowIsForeground() {
    return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void SdlPlatform::GetFullScreenClientSize(int& width, int& height) {
    SDL_Rect usable{0, 0, 0, 0};
    const int displayIndex = window_ ? std::max(0, SDL_GetWindowDisplayIndex(window_)) : 0;
    if (videoUp_ && SDL_GetDisplayUsableBounds(displayIndex, &usable) == 0 && usable.w > 0) {
        width = usable.w;
        height = usable.h - kCaptionAllowance;
        return;
    }
    Platform::GetFullScreenClientSize(width, height);
}

bool SdlPlatform::GetWindowedClientSize(int& width, int& height) {
    if (windowedW_ <= 0 || windowedH_ <= 0) return false;
    width = windowedW_;
    height = windowedH_;
    return true;
}

void SdlPlatform::SetWindowIcon(const uint32_t* pixels, int width, int height) {
    if (!pixels || width <= 0 || height <= 0 || width > 1024 || height > 1024) return;
    iconPixels_.assign(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height));
    iconW_ = width;
    iconH_ = height;
    ApplyIcon();
}

void SdlPlatform::ApplyIcon() {
    if (!window_ || iconPixels_.empty()) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        iconPixels_.data(), iconW_, iconH_, 32, iconW_ * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window_, surface);
    SDL_FreeSurface(surface);
}

std::unique_ptr<Display> SdlPlatform::CreateDisplay() { return std::make_unique<SdlDisplay>(*this); }

void SdlPlatform::WindowToLogical(int wx, int wy, int& lx, int& ly) const {
    int ww = logicalW_, wh = logicalH_;
    if (window_) SDL_GetWindowSize(window_, &ww, &wh);
    const LetterboxRect box = FitLetterbox(ww, wh, logicalW_, logicalH_);
    if (box.width <= 0 || box.height <= 0) {
        lx = wx;
        ly = wy;
        return;
    }
    lx = static_cast<int>(static_cast<int64_t>(wx - box.x) * logicalW_ / box.width);
    ly = static_cast<int>(static_cast<int64_t>(wy - box.y) * logicalH_ / box.height);
}

void SdlPlatform::LogicalToWindow(int lx, int ly, int& wx, int& wy) const {
    int ww = logicalW_, wh = logicalH_;
    if (window_) SDL_GetWindowSize(window_, &ww, &wh);
    const LetterboxRect box = FitLetterbox(ww, wh, logicalW_, logicalH_);
    if (logicalW_ <= 0 || logicalH_ <= 0) {
        wx = lx;
        wy = ly;
        return;
    }
    wx = box.x + static_cast<int>(static_cast<int64_t>(lx) * box.width / logicalW_);
    wy = box.y + static_cast<int>(static_cast<int64_t>(ly) * box.height / logicalH_);
}

void SdlPlatform::PumpMessages(std::vector<WindowMessage>& out) {
    if (!videoUp_) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) TranslateEvent(event, out);
}

void SdlPlatform::TranslateEvent(const SDL_Event& event, std::vector<WindowMessage>& out) {
    const uint32_t id = MainWindowId();
    auto push = [&](uint32_t message, uint32_t wParam, uint32_t lParam, int x = 0, int y = 0) {
        WindowMessage m;
        m.window = id;
        m.message = message;
        m.wParam = wParam;
        m.lParam = lParam;
        m.x = x;
        m.y = y;
        out.push_back(m);
    };

    switch (event.type) {
    case SDL_QUIT:
        push(WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT:
        if (window_ && event.window.windowID != id) break;
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE: push(WM_CLOSE, 0, 0); break;
        case SDL_WINDOWEVENT_MINIMIZED: push(WM_SIZE, SIZE_MINIMIZED, 0); break;
        case SDL_WINDOWEVENT_RESTORED:
            push(WM_SIZE, SIZE_RESTORED, MakePointParam(logicalW_, logicalH_));
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
            // The window is resizable: maximised, it is a large window (letterboxed), not a
            // request for full screen.
            push(WM_SIZE, SIZE_RESTORED, MakePointParam(logicalW_, logicalH_));
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // The player's size, remembered unless it is the maximised or full-screen one.
            if (!fullScreen_ && window_ &&
                (SDL_GetWindowFlags(window_) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN)) == 0 &&
                event.window.data1 > 0 && event.window.data2 > 0) {
                windowedW_ = event.window.data1;
                windowedH_ = event.window.data2;
            }
            push(WM_PAINT, 0, 0);
            break;
        case SDL_WINDOWEVENT_MOVED:
            if (!fullScreen_) push(WM_MOVE, 0, MakePointParam(event.window.data1, event.window.data2));
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: push(WM_ACTIVATEAPP, 1, 0); break;
        case SDL_WINDOWEVENT_FOCUS_LOST: push(WM_ACTIVATEAPP, 0, 0); break;
        case SDL_WINDOWEVENT_EXPOSED: push(WM_PAINT, 0, 0); break;
        default: break;
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const uint32_t vk = SdlKeyToVirtualKey(event.key.keysym.sym, event.key.keysym.scancode);
        if (vk == 0) break;
        const bool down = event.type == SDL_KEYDOWN;
        const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0 || vk == VK_MENU;
        uint32_t lParam = 1u | ((static_cast<uint32_t>(event.key.keysym.scancode) & 0xFF) << 16);
        if (alt) lParam |= 1u << 29;
        if (down && event.key.repeat) lParam |= 1u << 30;
        if (!down) lParam |= 0xC0000000u;
        push(down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP), vk, lParam);
        // Keys that type a control character, as text input does not report them.
        const bool ctrl = (event.key.keysym.mod & KMOD_CTRL) != 0;
        if (down && !alt && !ctrl &&
            (vk == VK_BACK || vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE)) {
            push(WM_CHAR, vk, lParam);
        }
        break;
    }
    case SDL_TEXTINPUT: {
        std::vector<uint8_t> bytes;
        AppendLatin1(event.text.text, bytes);
        for (uint8_t c : bytes) push(WM_CHAR, c, 1);
        break;
    }
    case SDL_MOUSEMOTION: {
        if (event.motion.which == SDL_TOUCH_MOUSEID) break;
        int x = 0, y = 0;
        WindowToLogical(event.motion.x, event.motion.y, x, y);
        eventButtons_ = event.motion.state;
        push(WM_MOUSEMOVE, MouseFlagsFromSdl(eventButtons_), MakePointParam(x, y), x, y);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        if (event.button.which == SDL_TOUCH_MOUSEID) break;
        int x = 0, y = 0;
        WindowToLogical(event.button.x, event.button.y, x, y);
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        // Every second click of a quick run is a double click.
        const bool dbl = down && event.button.clicks >= 2 && event.button.clicks % 2 == 0;
        uint32_t code = 0;
        switch (event.button.button) {
        case SDL_BUTTON_LEFT: code = down ? (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : WM_LBUTTONUP; break;
        case SDL_BUTTON_RIGHT: code = down ? (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN) : WM_RBUTTONUP; break;
        case SDL_BUTTON_MIDDLE: code = down ? (dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN) : WM_MBUTTONUP; break;
        default: break;
        }
        if (code == 0) break;
        // The buttons held once this event has happened, as the record reports them; SDL's
        // present state may already be past later events of the same pump.
        if (down) {
            eventButtons_ |= SDL_BUTTON(event.button.button);
        } else {
            eventButtons_ &= ~SDL_BUTTON(event.button.button);
        }
        push(code, MouseFlagsFromSdl(eventButtons_), MakePointParam(x, y), x, y);
        break;
    }
    case SDL_MOUSEWHEEL: {
        int delta = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) delta = -delta;
        if (delta == 0) break;
        int x = 0, y = 0;
        GetCursorPosition(x, y);
        const uint32_t buttons = MouseFlagsFromSdl(eventButtons_);
        push(WM_MOUSEWHEEL, MakeWheelParam(std::clamp(delta, -273, 273) * WHEEL_DELTA, buttons),
             MakePointParam(x, y), x, y);
        break;
    }
    case SDL_DISPLAYEVENT:
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
        push(WM_DISPLAYCHANGE, 0, 0);
        break;
    default:
        break;
    }
}

bool SdlPlatform::GetCursorPosition(int& x, int& y) {
    if (!videoUp_) return Platform::GetCursorPosition(x, y);
    int wx = 0, wy = 0;
    SDL_GetMouseState(&wx, &wy);
    WindowToLogical(wx, wy, x, y);
    return true;
}

void SdlPlatform::SetCursorPosition(int x, int y) {
    if (!window_) return;
    int wx = 0, wy = 0;
    LogicalToWindow(x, y, wx, wy);
    SDL_WarpMouseInWindow(window_, wx, wy);
}

bool SdlPlatform::CursorInClientArea() { return window_ && SDL_GetMouseFocus() == window_; }

uint32_t SdlPlatform::AsyncButtonState() {
    if (!videoUp_) return 0;
    return MouseFlagsFromSdl(SDL_GetMouseState(nullptr, nullptr)) & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON);
}

void SdlPlatform::CaptureMouse(bool capture) {
    if (videoUp_) SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

SDL_Cursor* SdlPlatform::CursorFor(CursorShape shape) {
    const int index = static_cast<int>(shape);
    if (index < 0 || index >= static_cast<int>(cursors_.size())) return nullptr;
    if (!cursors_[index]) cursors_[index] = CreateSdlCursor(shape);
    return cursors_[index];
}

void SdlPlatform::SetCursorShape(CursorShape shape) {
    if (!videoUp_) return;
    cursorShape_ = shape;
    if (shape == CursorShape::None) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    if (SDL_Cursor* cursor = CursorFor(shape)) SDL_SetCursor(cursor);
    SDL_ShowCursor(SDL_ENABLE);
}

void SdlPlatform::ShowMessageBox(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
    // Works without an initialised video system, and fails quietly without a display.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), window_);
}

std::unique_ptr<AudioDevice> SdlPlatform::OpenAudioDevice() { return OpenMixerAudioDevice(); }

std::unique_ptr<MusicStreamDevice> SdlPlatform::OpenMusicDevice() { return OpenMixerMusicDevice(); }

}  // namespace Orvane
