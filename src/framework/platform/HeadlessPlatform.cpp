#include "framework/platform/HeadlessPlatform.h"

#include "framework/display/HeadlessDisplay.h"
#include "framework/platform/FileSearch.h"
#include "framework/platform/MonotonicClock.h"
#include "framework/platform/UrlFile.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace Orvane {

HeadlessPlatform::HeadlessPlatform(ClockMode mode, std::string configRoot)
    : mode_(mode), settings_(std::move(configRoot)) {}

uint32_t HeadlessPlatform::TimeMs() {
    return mode_ == ClockMode::Manual ? manualMs_.load() : MonotonicMs();
}

uint32_t HeadlessPlatform::TickCount() { return TimeMs(); }

void HeadlessPlatform::SleepMs(uint32_t ms) {
    sleptMs_ += ms;
    if (mode_ == ClockMode::Manual) {
        manualMs_ += ms;
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

std::unique_ptr<AudioDevice> HeadlessPlatform::OpenAudioDevice() {
    return OpenRecordingAudioDevice(audio_);
}

std::unique_ptr<MusicStreamDevice> HeadlessPlatform::OpenMusicDevice() {
    return OpenRecordingMusicDevice(audio_);
}

bool HeadlessPlatform::CreateMainWindow(const WindowSettings& settings, std::string& error) {
    if (!windowFailure_.empty()) {
        error = windowFailure_;
        windowFailure_.clear();
        return false;
    }
    windowSettings_ = settings;
    windowCreated_ = true;
    ++windowCreateCount_;
    return true;
}

void HeadlessPlatform::ShowMainWindow() { windowShown_ = windowCreated_; }
void HeadlessPlatform::HideMainWindow() { windowShown_ = false; }

void HeadlessPlatform::DestroyMainWindow() {
    windowCreated_ = false;
    windowShown_ = false;
}

void HeadlessPlatform::GetFullScreenClientSize(int& width, int& height) {
    width = fullW_;
    height = fullH_;
}

void HeadlessPlatform::SetWindowIcon(const uint32_t* pixels, int width, int) {
    iconWidth_ = pixels ? width : 0;
}

std::unique_ptr<Display> HeadlessPlatform::CreateDisplay() {
    return std::make_unique<HeadlessDisplay>(refreshRate_);
}

void HeadlessPlatform::PumpMessages(std::vector<WindowMessage>& out) {
    std::lock_guard<std::mutex> guard(inputMutex_);
    out.insert(out.end(), queue_.begin(), queue_.end());
    queue_.clear();
}

bool HeadlessPlatform::GetCursorPosition(int& x, int& y) {
    std::lock_guard<std::mutex> guard(inputMutex_);
    x = cursorX_;
    y = cursorY_;
    return true;
}

void HeadlessPlatform::SetCursorPosition(int x, int y) {
    std::lock_guard<std::mutex> guard(inputMutex_);
    cursorX_ = x;
    cursorY_ = y;
}

bool HeadlessPlatform::CursorInClientArea() {
    std::lock_guard<std::mutex> guard(inputMutex_);
    return cursorInside_;
}

void HeadlessPlatform::QueueMessage(WindowMessage message) {
    std::lock_guard<std::mutex> guard(inputMutex_);
    message.window = kWindowId;
    queue_.push_back(message);
}

void HeadlessPlatform::QueueKeyDown(uint32_t virtualKey, bool altHeld) {
    QueueMessage({0, altHeld ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, altHeld ? 1u << 29 : 0u, 0, 0, 0});
}

void HeadlessPlatform::QueueKeyUp(uint32_t virtualKey, bool altHeld) {
    QueueMessage({0, altHeld ? WM_SYSKEYUP : WM_KEYUP, virtualKey, 0xC0000000u, 0, 0, 0});
}

void HeadlessPlatform::QueueChar(uint8_t c) { QueueMessage({0, WM_CHAR, c, 0, 0, 0, 0}); }

void HeadlessPlatform::QueueMouseMove(int x, int y) {
    SetCursorPosition(x, y);
    QueueMessage({0, WM_MOUSEMOVE, buttons_.load(), MakePointParam(x, y), 0, x, y});
}

void HeadlessPlatform::QueueMouseDown(uint32_t button, int x, int y, bool doubleClick) {
    SetCursorPosition(x, y);
    buttons_ |= button;
    uint32_t code = WM_LBUTTONDOWN;
    if (button == MK_RBUTTON) code = WM_RBUTTONDOWN;
    if (button == MK_MBUTTON) code = WM_MBUTTONDOWN;
    if (doubleClick) code += 2;   // the double-click code follows down and up
    QueueMessage({0, code, buttons_.load(), MakePointParam(x, y), 0, x, y});
}

void HeadlessPlatform::QueueMouseUp(uint32_t button, int x, int y) {
    SetCursorPosition(x, y);
    buttons_ &= ~button;
    uint32_t code = WM_LBUTTONUP;
    if (button == MK_RBUTTON) code = WM_RBUTTONUP;
    if (button == MK_MBUTTON) code = WM_MBUTTONUP;
    QueueMessage({0, code, buttons_.load(), MakePointParam(x, y), 0, x, y});
}

void HeadlessPlatform::QueueWheel(int delta, int x, int y) {
    QueueMessage({0, WM_MOUSEWHEEL, MakeWheelParam(delta, buttons_.load()), MakePointParam(x, y), 0, x, y});
}

void HeadlessPlatform::QueueClose() { QueueMessage({0, WM_CLOSE, 0, 0, 0, 0, 0}); }

void HeadlessPlatform::QueueSize(uint32_t sizeKind) {
    QueueMessage({0, WM_SIZE, sizeKind, MakePointParam(800, 600), 0, 0, 0});
}

void HeadlessPlatform::QueueActivate(bool active) {
    foreground_ = active;
    QueueMessage({0, WM_ACTIVATEAPP, active ? 1u : 0u, 0, 0, 0, 0});
}

size_t HeadlessPlatform::PendingMessages() const {
    std::lock_guard<std::mutex> guard(inputMutex_);
    return queue_.size();
}

void HeadlessPlatform::ShowMessageBox(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::lock_guard<std::mutex> guard(inputMutex_);
    messageBoxes_.push_back(title + ": " + text);
}

bool HeadlessPlatform::OpenUrlFile(const std::string& path) {
    std::string url;
    if (!ReadInternetShortcut(path, url) || !IsOpenableUrl(url)) return false;
    std::lock_guard<std::mutex> guard(inputMutex_);
    openedUrls_.push_back(url);
    return true;
}

std::vector<std::string> HeadlessPlatform::MessageBoxes() const {
    std::lock_guard<std::mutex> guard(inputMutex_);
    return messageBoxes_;
}

std::vector<std::string> HeadlessPlatform::OpenedUrls() const {
    std::lock_guard<std::mutex> guard(inputMutex_);
    return openedUrls_;
}

std::vector<FindEntry> Platform::FindFiles(const std::string& pattern) {
    return ListMatchingFiles(pattern);
}

namespace {
Platform* gPlatform = nullptr;
}

Platform& GetPlatform() {
    if (gPlatform) return *gPlatform;
    static HeadlessPlatform fallback(HeadlessPlatform::ClockMode::Real);
    return fallback;
}

void SetPlatform(Platform* platform) { gPlatform = platform; }

}  // namespace Orvane
