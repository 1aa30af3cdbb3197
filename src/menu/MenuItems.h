// The items of a menu screen as a menu file describes them: buttons (also check boxes and
// radio buttons), sliders, edit boxes, pictures and texts. Text fields keep the limits of
// the file format: a longer attribute value is cut to the field's limit when it is read.
#pragma once

#include <cstddef>
#include <string>

namespace MenuLimits {
// Items of one kind per screen.
inline constexpr int kButtons = 30;
inline constexpr int kSliders = 5;
inline constexpr int kEdits = 3;
inline constexpr int kImages = 20;
inline constexpr int kTexts = 45;

// Characters per text field.
inline constexpr size_t kName = 39;          // names, keys, actions, keywords
inline constexpr size_t kPicture = 79;       // picture and sound file names, blocked characters
inline constexpr size_t kFontName = 71;
inline constexpr size_t kText = 99;          // texts and edit box contents

// An edit box never holds more than this many characters, whatever its maximum length.
inline constexpr size_t kEditHardLimit = 20;
}  // namespace MenuLimits

// The whole screen: an optional background picture, the sounds of its buttons and sliders.
struct MenuScreen {
    float xc = 0.0f, yc = 0.0f;
    float width = 0.0f, height = 0.0f;
    std::string bgImage;
    std::string clickSound;
    std::string overSound;
    std::string buttonFont;   // kept for the file's sake; every text uses the symbol font
};

struct MenuButton {
    std::string name;
    std::string radioGroup;
    std::string text;          // language key of the caption
    std::string align;         // "left", "right", else centred
    std::string stretch;       // "no": natural picture size
    float xc = 0.0f, yc = 0.0f;
    float width = 0.0f, height = 0.0f;
    std::string outImg;
    std::string overImg;
    std::string outImgChecked;   // a non-empty value makes the button a check box
    std::string overImgChecked;
    std::string action;
    bool hover = false;
    bool checked = false;
    // A disabled button is drawn as usual but never hit: no hover, no sound, no action.
    bool enabled = true;
    float captionHeight = 0.0f;

    bool IsCheckBox() const { return !outImgChecked.empty(); }
    bool NaturalSize() const { return stretch == "no"; }
};

struct MenuSlider {
    std::string name;
    float xc = 0.0f, yc = 0.0f;
    std::string outSliderImg, overSliderImg;
    std::string outThumbImg, overThumbImg;
    std::string action;
    bool hover = false;
    float value = 0.0f;
    // Taken from the pictures when the slider is drawn; until then the slider has no area.
    float trackWidth = 0.0f, trackHeight = 0.0f;
    float thumbWidth = 0.0f, thumbHeight = 0.0f;
};

struct MenuEdit {
    std::string name;
    std::string text;
    std::string align;
    std::string stretch;
    std::string blockedChars;
    float xc = 0.0f, yc = 0.0f;
    float size = 0.0f;
    float maxLen = 0.0f;     // used as a 16-bit count

    bool NaturalSize() const { return stretch == "no"; }
};

struct MenuImage {
    std::string stretch;
    float xc = 0.0f, yc = 0.0f;
    float width = 0.0f, height = 0.0f;
    std::string img;

    bool NaturalSize() const { return stretch == "no"; }
};

struct MenuText {
    std::string stretch;
    std::string name;
    std::string text;
    std::string align;
    float xc = 0.0f, yc = 0.0f;
    float size = 0.0f;
    std::string font;        // kept; changes nothing

    bool NaturalSize() const { return stretch == "no"; }
};
