// ButtonWidget: a push button with an id that reports presses, releases, hover and held
// ticks to its ButtonListener. It draws either its images (normal, over, down, disabled, each
// with a source rectangle; the over image can fade in and out) or, without images, a bevelled
// box in its colours; then its label.
#pragma once

#include <memory>
#include <string>

#include "framework/graphics/Rect.h"
#include "framework/widgets/Widget.h"

namespace Orvane {

class ButtonListener;
class Font;
class Image;

class ButtonWidget : public Widget {
public:
    // Colour slots of the bevelled box.
    enum ColorSlot {
        COLOR_LABEL = 0,
        COLOR_LABEL_HILITE = 1,
        COLOR_DARK_OUTLINE = 2,
        COLOR_LIGHT_OUTLINE = 3,
        COLOR_MEDIUM_OUTLINE = 4,
        COLOR_BKG = 5,
        NUM_COLORS = 6,
    };
    // Label justification.
    enum Justify { JUSTIFY_CENTER = 0, JUSTIFY_RIGHT = 1, JUSTIFY_LEFT = -1 };

    ButtonWidget(int id, ButtonListener* listener);
    ~ButtonWidget() override;

    // The label font (not owned). Without one, a label is drawn with the default system
    // font when the platform offers one, else not at all.
    void SetFont(Font* font);
    Font* GetFont() const { return mFont; }
    void SetLabel(const std::string& label);

    // Whether the button shows as pressed: held with the pointer over it and not disabled,
    // inverted by mInverted.
    bool IsButtonDown() const;
    bool HaveButtonImage(const Image* image, const Rect& rect) const;

    void Draw(Graphics& g) override;
    void SetDisabled(bool disabled) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(int x, int y) override;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void MouseUp(int x, int y, int button, int clickCount) override;
    void Update() override;

    int mId;
    std::string mLabel;
    int mLabelJustify = JUSTIFY_CENTER;
    Font* mFont = nullptr;
    // Images are not owned; an empty rectangle means the whole image.
    Image* mButtonImage = nullptr;
    Image* mOverImage = nullptr;
    Image* mDownImage = nullptr;
    Image* mDisabledImage = nullptr;
    Rect mNormalRect;
    Rect mOverRect;
    Rect mDownRect;
    Rect mDisabledRect;
    bool mInverted = false;
    bool mBtnNoDraw = false;      // draw nothing at all
    bool mFrameNoDraw = false;    // no bevelled box (label only)
    ButtonListener* mButtonListener;
    double mOverAlpha = 0.0;               // 0..1, how much of the over image shows
    double mOverAlphaSpeed = 0.0;          // fade-out per update
    double mOverAlphaFadeInSpeed = 0.0;    // fade-in per update

private:
    void DrawBevel(Graphics& g, bool down);
    void DrawLabel(Graphics& g, bool down);
    void DrawPart(Graphics& g, Image* image, const Rect& rect);
    // The over image shows only partly (fading in or out).
    bool IsFading() const;

    std::unique_ptr<Font> mOwnedFont;   // the default font, when one was made for the label
};

}  // namespace Orvane
