#include "framework/platform/sdl/SdlDisplay.h"

#include "framework/graphics/MemoryImage.h"
#include "framework/platform/sdl/SdlPlatform.h"

#include <SDL.h>

namespace Orvane {

SdlDisplay::SdlDisplay(SdlPlatform& platform) : platform_(platform) {}

SdlDisplay::~SdlDisplay() { Release(); }

void SdlDisplay::Release() {
    if (cursorTexture_) SDL_DestroyTexture(cursorTexture_);
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    cursorTexture_ = nullptr;
    cursorSource_ = nullptr;
    texture_ = nullptr;
    renderer_ = nullptr;
}

Display::Result SdlDisplay::Init(int width, int height, bool windowed, std::string& error) {
    std::lock_guard<std::recursive_mutex> guard(Lock());
    SDL_Window* window = platform_.Window();
    if (!window) {
        error = "no main window";
        return Result::Failed;
    }
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192) {
        error = "invalid screen size";
        return Result::Failed;
    }

    if (!renderer_) {
        renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
        if (!renderer_) renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        if (!renderer_) {
            error = SDL_GetError();
            return Result::Failed;
        }
    }
    if (!texture_ || width != width_ || height != height_) {
        if (texture_) SDL_DestroyTexture(texture_);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                     SDL_TEXTUREACCESS_STREAMING, width, height);
        if (!texture_) {
            error = SDL_GetError();
            return Result::Failed;
        }
        SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    }
    textureFilled_ = false;   // the screen image is cleared below
    width_ = width;
    height_ = height;
    windowed_ = windowed;

    // Full screen, presents wait for the display's refresh; in a window the loop paces itself.
    SDL_RenderSetVSync(renderer_, windowed ? 0 : 1);
    scaleNearest_ = -1;   // chosen by the first present for the size it shows
    SDL_RendererInfo info;
    const bool vsync = SDL_GetRendererInfo(renderer_, &info) == 0 &&
                       (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    physicallyFullScreen_ = !windowed && vsync;

    SDL_DisplayMode mode;
    const int displayIndex = SDL_GetWindowDisplayIndex(window);
    refreshRate_ = 60;
    if (displayIndex >= 0 && SDL_GetDesktopDisplayMode(displayIndex, &mode) == 0 &&
        mode.refresh_rate > 0) {
        refreshRate_ = mode.refresh_rate;
    }

    MakeScreenImage(width, height);
    return Result::Ok;
}

bool SdlDisplay::Present(bool imageChanged) {
    std::lock_guard<std::recursive_mutex> guard(Lock());
    MemoryImage* screen = ScreenImage();
    if (!renderer_ || !texture_ || !screen) return false;
    // One upload per changed frame; an idle frame shows the texture as it is.
    if (imageChanged || !textureFilled_) {
        if (SDL_UpdateTexture(texture_, nullptr, screen->GetBits(), width_ * 4) != 0) return false;
        textureFilled_ = true;
    }

    int outW = 0, outH = 0;
    if (SDL_GetRendererOutputSize(renderer_, &outW, &outH) != 0) return false;
    const LetterboxRect box = FitLetterbox(outW, outH, width_, height_);
    // A whole multiple of the screen keeps its pixels sharp; any other size is filtered.
    const int nearest = box.width % width_ == 0 && box.height % height_ == 0 ? 1 : 0;
    if (nearest != scaleNearest_) {
        SDL_SetTextureScaleMode(texture_, nearest ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        scaleNearest_ = nearest;
    }
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    const SDL_Rect dest{box.x, box.y, box.width, box.height};
    SDL_RenderCopy(renderer_, texture_, nullptr, &dest);
    DrawSoftwareCursor(box.x, box.y, box.width, box.height);
    SDL_RenderPresent(renderer_);
    return true;
}

void SdlDisplay::DrawSoftwareCursor(int boxX, int boxY, int boxW, int boxH) {
    const SoftwareCursor cursor = CursorSnapshot();
    if (!cursor.visible || !cursor.image || width_ <= 0 || height_ <= 0) return;
    const MemoryImage& image = *cursor.image;
    if (image.GetWidth() <= 0 || image.GetHeight() <= 0) return;
    if (cursorSource_ != &image || !cursorTexture_) {
        if (cursorTexture_) SDL_DestroyTexture(cursorTexture_);
        cursorTexture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_STATIC, image.GetWidth(),
                                           image.GetHeight());
        if (!cursorTexture_) return;
        SDL_UpdateTexture(cursorTexture_, nullptr, image.GetBits(), image.GetWidth() * 4);
        SDL_SetTextureBlendMode(cursorTexture_, SDL_BLENDMODE_BLEND);
        cursorSource_ = &image;
    }
    const SDL_Rect dest{boxX + (cursor.x - cursor.hotX) * boxW / width_,
                        boxY + (cursor.y - cursor.hotY) * boxH / height_,
                        image.GetWidth() * boxW / width_, image.GetHeight() * boxH / height_};
    SDL_RenderCopy(renderer_, cursorTexture_, nullptr, &dest);
}

}  // namespace Orvane
