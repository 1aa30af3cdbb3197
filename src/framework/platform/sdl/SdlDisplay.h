// The SDL display: the screen image uploaded to a streaming texture once per presented frame
// and drawn into the main window, scaled with its aspect kept (letterbox) at any window size.
#pragma once

#include "framework/display/Display.h"

#include <memory>

struct SDL_Renderer;
struct SDL_Texture;

namespace Orvane {

class SdlPlatform;

class SdlDisplay : public Display {
public:
    explicit SdlDisplay(SdlPlatform& platform);
    ~SdlDisplay() override;

    Result Init(int width, int height, bool windowed, std::string& error) override;
    bool Present(bool imageChanged = true) override;
    bool IsPhysicallyFullScreen() const override { return physicallyFullScreen_; }

private:
    void DrawSoftwareCursor(int boxX, int boxY, int boxW, int boxH);
    void Release();

    SdlPlatform& platform_;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Texture* cursorTexture_ = nullptr;
    const void* cursorSource_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool windowed_ = true;
    bool physicallyFullScreen_ = false;
    bool textureFilled_ = false;
    int scaleNearest_ = -1;   // the texture's filter: 1 nearest, 0 linear, -1 not chosen yet
};

}  // namespace Orvane
