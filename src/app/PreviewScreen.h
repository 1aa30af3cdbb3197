// PreviewScreen: the preview's one widget. It covers the whole 800 x 600 screen and holds the
// keyboard focus. While the resources load it draws the loading screen; afterwards the menu
// background, the animals of "Graphics\Shapes\" walking across the bottom, the title logo,
// the menu screens and the effect list, with a short fade from black. Every key and mouse
// event becomes a window-message record for the application's dispatcher.
#pragma once

#include "framework/widgets/Widget.h"

#include <cstdint>
#include <string>
#include <vector>

class PreviewApp;

class PreviewScreen : public Orvane::Widget {
public:
    static constexpr const char* kBackground = "Graphics\\back_menu.jpg";
    static constexpr const char* kLoadingEmpty = "Graphics\\loading_empty.png";
    static constexpr const char* kLoadingFull = "Graphics\\loading_full.png";
    static constexpr const char* kShapesFolder = "Graphics\\Shapes\\";

    explicit PreviewScreen(PreviewApp& app);

    // Called on the main thread once loading is over: picks the parade from the registry.
    void StartShow();
    // The effect list's fade animates this from 0 (black) to 1 (clear).
    float* FadeValue() { return &fade_; }
    // The animals walking in the parade (one pose of each class), in walking order.
    const std::vector<std::string>& ParadeAnimals() const { return parade_; }
    // A short "Coming soon" title over the screen.
    void ShowComingSoon();

    void Update() override;
    void Draw(Orvane::Graphics& g) override;
    void KeyDown(int keyCode) override;
    void KeyChar(char c) override;
    void MouseMove(int x, int y) override;
    void MouseDrag(int x, int y) override;
    void MouseDown(int x, int y, int clickCount) override;

private:
    void DrawLoadingScreen();
    void DrawShow();
    void DrawParade();
    void DrawFadeVeil(Orvane::Graphics& g);
    void AddSomeEffects();
    // Screen position (fractions) of parade animal i at the given time.
    void ParadePosition(size_t i, float& x, float& y) const;
    void Post(uint32_t message, uint32_t wParam, int x, int y);

    PreviewApp& app_;
    bool showing_ = false;
    float fade_ = 0.0f;
    std::vector<std::string> parade_;
    uint32_t lastTickMs_ = 0;
    uint32_t walkedMs_ = 0;          // time the parade has walked (it stands while paused)
    uint32_t nextEffectMs_ = 0;
};
