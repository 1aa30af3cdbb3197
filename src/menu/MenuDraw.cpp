// Drawing a menu screen: background, pictures, texts, edit boxes with their cursor, buttons
// by state with their captions, sliders; all with the screen's opacity.
#include "menu/CMenu.h"
#include "menu/MenuGeometry.h"

namespace {

// Sprite draw flags and text flags of the engine.
constexpr int kSpriteNormal = 1;
constexpr int kSpriteNatural = 8;
constexpr int kTextLeft = 0;
constexpr int kTextCentre = 1;
constexpr int kTextRight = 2;
constexpr int kTextNatural = 0x10;

constexpr float kCaptionHeight = 0.04f;

int TextFlags(const std::string& align, bool natural) {
    int flags = kTextCentre;
    if (align == "left") flags = kTextLeft;
    else if (align == "right") flags = kTextRight;
    return natural ? flags | kTextNatural : flags;
}

int PictureFlags(bool natural) { return natural ? kSpriteNormal | kSpriteNatural : kSpriteNormal; }

}  // namespace

uint32_t CMenu::DrawColour() const {
    const int64_t alpha = static_cast<int64_t>(MenuGeometry::TruncateToInt(255.0 * opacity)) + 1;
    return static_cast<uint32_t>((static_cast<uint64_t>(alpha) << 24) & 0xFFFFFFFFu) | 0xFFFFFFu;
}

void CMenu::DrawMenu() {
    MenuEnvironment& env = Env();
    const uint32_t colour = DrawColour();

    if (!screen_.bgImage.empty()) {
        env.DrawPicture(screen_.bgImage, screen_.xc, screen_.yc, screen_.width, screen_.height,
                        colour, kSpriteNormal);
    }
    for (int i = 0; i < imageCount_; ++i) {
        const MenuImage& m = images_[i];
        if (m.img.empty()) continue;
        env.DrawPicture(m.img, m.xc, m.yc, m.width, m.height, colour, PictureFlags(m.NaturalSize()));
    }
    for (int i = 0; i < textCount_; ++i) {
        const MenuText& t = texts_[i];
        if (t.text.empty()) continue;
        env.DrawText(t.xc, t.yc, t.size, colour, TextFlags(t.align, t.NaturalSize()), t.text);
    }
    // The edit cursor blinks in two phases a second.
    const double seconds = static_cast<double>(env.NowMs()) * 0.001;
    const bool cursorShown = MenuGeometry::TruncateToInt(seconds * 2.0) % 2 == 0;
    for (int i = 0; i < editCount_; ++i) {
        const MenuEdit& e = edits_[i];
        env.DrawText(e.xc, e.yc, e.size, colour, TextFlags(e.align, e.NaturalSize()),
                     e.text + (cursorShown ? "_" : " "));
    }
    for (int i = 0; i < buttonCount_; ++i) DrawButton(buttons_[i], colour);
    for (int i = 0; i < sliderCount_; ++i) DrawSlider(sliders_[i], colour);
}

void CMenu::DrawButton(MenuButton& b, uint32_t colour) {
    MenuEnvironment& env = Env();
    const std::string& picture = b.checked ? (b.hover ? b.overImgChecked : b.outImgChecked)
                                           : (b.hover ? b.overImg : b.outImg);
    int pw = 0, ph = 0;
    const bool exists = !picture.empty() && env.PictureSize(picture, pw, ph);

    b.captionHeight = kCaptionHeight;
    if (b.NaturalSize()) {
        // The button takes its picture's size, for drawing and for the hit test from now on.
        // A picture that is missing leaves the last known size.
        if (exists) {
            b.width = static_cast<float>(pw) / static_cast<float>(env.ScreenWidth());
            b.height = static_cast<float>(ph) / static_cast<float>(env.ScreenHeight());
        }
        b.captionHeight = env.FontCellHeight() / static_cast<float>(env.ScreenHeight());
    }
    if (exists) {
        env.DrawPicture(picture, b.xc, b.yc, b.width, b.height, colour,
                        PictureFlags(b.NaturalSize()));
    }
    if (b.text.empty()) return;
    float x = b.xc;
    if (b.align == "left") x = b.xc + b.width;
    else if (b.align == "right") x = b.xc - b.width;
    env.DrawText(x, b.yc, b.captionHeight, colour, TextFlags(b.align, b.NaturalSize()), b.text);
}

void CMenu::DrawSlider(MenuSlider& s, uint32_t colour) {
    MenuEnvironment& env = Env();
    const float w = static_cast<float>(env.ScreenWidth());
    const float h = static_cast<float>(env.ScreenHeight());
    const std::string& track = s.hover ? s.overSliderImg : s.outSliderImg;
    const std::string& thumb = s.hover ? s.overThumbImg : s.outThumbImg;

    int pw = 0, ph = 0;
    const bool trackExists = !track.empty() && env.PictureSize(track, pw, ph);
    s.trackWidth = static_cast<float>(pw) / w;
    s.trackHeight = static_cast<float>(ph) / h;
    if (trackExists) {
        env.DrawPicture(track, s.xc, s.yc, s.trackWidth, s.trackHeight, colour,
                        kSpriteNormal | kSpriteNatural);
    }
    pw = ph = 0;
    const bool thumbExists = !thumb.empty() && env.PictureSize(thumb, pw, ph);
    s.thumbWidth = static_cast<float>(pw) / w;
    s.thumbHeight = static_cast<float>(ph) / h;
    if (thumbExists) {
        env.DrawPicture(thumb, s.xc - s.trackWidth * 0.5f + s.value * s.trackWidth, s.yc,
                        s.thumbWidth, s.thumbHeight, colour, kSpriteNormal | kSpriteNatural);
    }
}
