// Menu screen files: the input is a menu file. A screen that loads is then used as a player
// would: the pointer moves over every button and slider, clicks and drags there, keys are
// typed into its edit boxes, and the screen is drawn, with pictures of a size the input picks.
#include "FuzzSupport.h"

#include "framework/platform/VirtualKeys.h"
#include "menu/CMenu.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// Answers the screen's questions; what it draws and plays goes nowhere.
class QuietEnvironment : public MenuEnvironment {
public:
    int pictureSide = 64;
    bool buttonDown = false;
    uint32_t now = 0;

    int ScreenWidth() override { return 800; }
    int ScreenHeight() override { return 600; }
    bool PictureSize(const std::string& name, int& width, int& height) override {
        width = height = name.empty() ? 0 : pictureSide;
        return !name.empty();
    }
    void DrawPicture(const std::string&, float x, float y, float w, float h, uint32_t, int) override {
        Finite(x + y + w + h);
    }
    void DrawText(float x, float y, float height, uint32_t, int, const std::string&) override { Finite(x + y + height); }
    float FontCellHeight() override { return 32.0f; }
    bool FontHasGlyph(char c) override { return c >= ' ' && c < 127; }
    void PlaySound(const std::string&) override {}
    bool LeftButtonDown() override { return buttonDown; }
    uint32_t NowMs() override { return now += 10; }

private:
    // Positions handed to drawing are numbers, whatever the file says.
    static void Finite(float value) {
        FUZZ_CHECK(!std::isnan(value));
    }
};

Orvane::WindowMessage Mouse(uint32_t message, float x, float y) {
    const int px = std::isfinite(x) ? static_cast<int>(std::fmax(-1e6f, std::fmin(1e6f, x * 800.0f))) : 0;
    const int py = std::isfinite(y) ? static_cast<int>(std::fmax(-1e6f, std::fmin(1e6f, y * 600.0f))) : 0;
    return {0, message, Orvane::MK_LBUTTON, 0, 0, px, py};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::PutFile("Menu/screen.xml", data, size);
    QuietEnvironment environment;
    environment.pictureSide = Fuzz::Choices(data, size);
    CMenu menu(&environment);
    if (!menu.LoadMenu("Menu\\screen.xml")) return 0;

    for (int pass = 0; pass < 2; ++pass) {
        menu.DrawMenu();
        for (int i = 0; i < menu.ButtonCount(); ++i) {
            const MenuButton& b = menu.Button(i);
            menu.ProcessInput(Mouse(Orvane::WM_MOUSEMOVE, b.xc, b.yc));
            menu.ProcessInput(Mouse(Orvane::WM_LBUTTONDOWN, b.xc, b.yc));
            menu.SetButtonEnabled(i, pass == 0);
            menu.SelectRadio(i);
            menu.IsChecked(b.name);
        }
        for (int i = 0; i < menu.SliderCount(); ++i) {
            const MenuSlider& s = menu.Slider(i);
            environment.buttonDown = true;
            menu.ProcessInput(Mouse(Orvane::WM_LBUTTONDOWN, s.xc, s.yc));
            menu.ProcessInput(Mouse(Orvane::WM_MOUSEMOVE, s.xc + 0.3f, s.yc));
            environment.buttonDown = false;
            menu.ProcessInput(Mouse(Orvane::WM_LBUTTONUP, s.xc, s.yc));
            const float value = menu.GetSliderValue(s.name);
            FUZZ_CHECK(value >= 0.0f && value <= 1.0f);
        }
        for (const uint32_t c : {uint32_t('a'), uint32_t('Z'), uint32_t(200), uint32_t(Orvane::VK_BACK)}) {
            menu.ProcessInput({0, c == Orvane::VK_BACK ? Orvane::WM_KEYDOWN : Orvane::WM_CHAR, c, 0, 0, 0, 0});
        }
        for (int i = 0; i < menu.TextCount(); ++i) {
            menu.SetText(menu.Text(i).name, std::string(120, 'x'));
            menu.GetTextX(menu.Text(i).name);
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    Fuzz::Initialize(argc, argv);
    return 0;
}
