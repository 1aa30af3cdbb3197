// CMenu: one menu screen loaded from an XML file of "Menu\" (main menu, options, pause, ...).
// Loading reads the screen's items within their limits and restores check states and slider
// values from config.ini; at run time the screen keeps hover and check states, moves sliders,
// edits its edit boxes, plays its hover and click sounds and reports the action of the item
// used. Drawing goes through the menu's environment (by default the engine's sprite registry).
#pragma once

#include "framework/platform/WindowMessage.h"
#include "menu/MenuEnvironment.h"
#include "menu/MenuItems.h"

#include <array>
#include <string>

class CMenu {
public:
    // environment: none means the engine's process-wide one.
    explicit CMenu(MenuEnvironment* environment = nullptr);
    virtual ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // --- loading ---
    // Reads path (through the file layer) into the screen; false, logged, when the file cannot
    // be read or is not a menu screen (the screen then keeps what it held).
    bool LoadMenu(const std::string& path);

    // --- run time ---
    // Handles one input record; the action of the button or slider it used, or "".
    std::string ProcessInput(Orvane::WindowMessage message);
    void DrawMenu();

    bool IsChecked(const std::string& name) const;
    bool IsHovered(const std::string& name) const;
    float GetTextX(const std::string& name) const;
    float GetTextY(const std::string& name) const;
    float GetSliderValue(const std::string& name) const;
    // Replaces the text of every "Text" item of that name (cut to 99 characters).
    void SetText(const std::string& name, const std::string& text);
    // Checks the button at index and unchecks the rest of its radio group, when it has one.
    void SelectRadio(int index);
    // Checks or unchecks every check box of that name (nothing is saved).
    void SetChecked(const std::string& name, bool checked);
    // Enables or disables the button at index (an index outside does nothing). A disabled
    // button loses its hover state at once.
    void SetButtonEnabled(int index, bool enabled);

    // Fades the whole screen: every picture and text is drawn with this much opacity.
    float opacity = 1.0f;

    // --- the items, for the game's own drawing and for tools ---
    const MenuScreen& Screen() const { return screen_; }
    int ButtonCount() const { return buttonCount_; }
    int SliderCount() const { return sliderCount_; }
    int EditCount() const { return editCount_; }
    int ImageCount() const { return imageCount_; }
    int TextCount() const { return textCount_; }
    // Item index of its kind (0 .. count - 1); an index outside gives an empty item.
    const MenuButton& Button(int index) const { return ItemAt(buttons_, buttonCount_, index); }
    const MenuSlider& Slider(int index) const { return ItemAt(sliders_, sliderCount_, index); }
    const MenuEdit& Edit(int index) const { return ItemAt(edits_, editCount_, index); }
    const MenuImage& Image(int index) const { return ItemAt(images_, imageCount_, index); }
    const MenuText& Text(int index) const { return ItemAt(texts_, textCount_, index); }

private:
    template <typename Item, size_t N>
    static const Item& ItemAt(const std::array<Item, N>& items, int count, int index) {
        static const Item kEmpty{};
        return index >= 0 && index < count ? items[static_cast<size_t>(index)] : kEmpty;
    }

    MenuEnvironment& Env() const;
    uint32_t DrawColour() const;

    // Input, one item kind each; "" when the record was not used up.
    bool ButtonsInput(const Orvane::WindowMessage& message, std::string& action);
    bool SlidersInput(const Orvane::WindowMessage& message, std::string& action);
    void EditsInput(const Orvane::WindowMessage& message);
    void PlayScreenSound(const std::string& fileName);

    void DrawButton(MenuButton& button, uint32_t colour);
    void DrawSlider(MenuSlider& slider, uint32_t colour);

    void ReadSavedStates();

    MenuEnvironment* environment_;
    MenuScreen screen_;
    std::array<MenuButton, MenuLimits::kButtons> buttons_{};
    std::array<MenuSlider, MenuLimits::kSliders> sliders_{};
    std::array<MenuEdit, MenuLimits::kEdits> edits_{};
    std::array<MenuImage, MenuLimits::kImages> images_{};
    std::array<MenuText, MenuLimits::kTexts> texts_{};
    int buttonCount_ = 0;
    int sliderCount_ = 0;
    int editCount_ = 0;
    int imageCount_ = 0;
    int textCount_ = 0;
};
