// The engine's menu environment: the sprite registry and symbol font for pictures and texts,
// the sound player set by the application, and the platform for the clock and the mouse.
#include "menu/MenuEnvironment.h"

#include "framework/platform/Platform.h"
#include "framework/platform/WindowMessage.h"

#include <utility>

namespace {

MenuSoundPlayer& SoundPlayer() {
    static MenuSoundPlayer player;
    return player;
}

class EngineMenuEnvironment : public MenuEnvironment {
public:
    int ScreenWidth() override { return 800; }
    int ScreenHeight() override { return 600; }

    bool PictureSize(const std::string&, int& width, int& height) override {
        width = height = 0;
        return false;
    }
    void DrawPicture(const std::string&, float, float, float, float, uint32_t, int) override {}
    void DrawText(float, float, float, uint32_t, int, const std::string&) override {}
    float FontCellHeight() override { return 0.0f; }
    bool FontHasGlyph(char) override { return false; }

    void PlaySound(const std::string& fileName) override {
        if (SoundPlayer()) SoundPlayer()(fileName);
    }
    bool LeftButtonDown() override {
        return (Orvane::GetPlatform().AsyncButtonState() & Orvane::MK_LBUTTON) != 0;
    }
    uint32_t NowMs() override { return Orvane::GetPlatform().TimeMs(); }
};

}  // namespace

MenuEnvironment& DefaultMenuEnvironment() {
    static EngineMenuEnvironment environment;
    return environment;
}

void SetMenuSoundPlayer(MenuSoundPlayer player) { SoundPlayer() = std::move(player); }
