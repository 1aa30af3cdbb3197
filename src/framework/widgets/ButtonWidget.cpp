#include "framework/widgets/ButtonWidget.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/Font.h"
#include "framework/widgets/WidgetManager.h"

namespace Orvane {

namespace {
// Default colours of the bevelled box, by slot.
constexpr int kDefaultColors[ButtonWidget::NUM_COLORS][3] = {
    {0, 0, 0},         // label
    {0, 0, 0},         // label while hovered
    {0, 0, 0},         // dark outline
    {255, 255, 255},   // light outline
    {132, 132, 132},   // inner shadow
    {212, 212, 212},   // face
};
}  // namespace

ButtonWidget::ButtonWidget(int id, ButtonListener* listener)
    : mId(id), mButtonListener(listener) {
    mHasAlpha = true;
    SetColors(kDefaultColors, NUM_COLORS);
}

ButtonWidget::~ButtonWidget() = default;

void ButtonWidget::SetFont(Font* font) {
    mFont = font;
    MarkDirty();
}

void ButtonWidget::SetLabel(const std::string& label) {
    if (mLabel == label) return;
    mLabel = label;
    MarkDirty();
}

bool ButtonWidget::IsButtonDown() const {
    const bool down = mIsDown && mIsOver && !mDisabled;
    return down != mInverted;
}

bool ButtonWidget::HaveButtonImage(const Image* image, const Rect& rect) const {
    return image != nullptr || (mButtonImage != nullptr && !rect.IsEmpty());
}

bool ButtonWidget::IsFading() const {
    if (mIsOver) return mOverAlphaFadeInSpeed > 0.0 && mOverAlpha < 1.0;
    return mOverAlpha > 0.0;
}

void ButtonWidget::DrawPart(Graphics& g, Image* image, const Rect& rect) {
    if (image == nullptr) return;
    if (rect.IsEmpty())
        g.DrawImage(image, 0, 0);
    else
        g.DrawImage(image, 0, 0, rect);
}

void ButtonWidget::Draw(Graphics& g) {
    if (mBtnNoDraw) return;
    const bool down = IsButtonDown();

    // Images may come as separate pictures or as rectangles of the normal picture.
    Image* const normal = mButtonImage;
    Image* const over = mOverImage != nullptr ? mOverImage : mButtonImage;
    Image* const pressed = mDownImage != nullptr ? mDownImage : mButtonImage;
    Image* const disabled = mDisabledImage != nullptr ? mDisabledImage : mButtonImage;
    const bool haveOver = mOverImage != nullptr || (mButtonImage && !mOverRect.IsEmpty());
    const bool haveDown = mDownImage != nullptr || (mButtonImage && !mDownRect.IsEmpty());
    const bool haveDisabled =
        mDisabledImage != nullptr || (mButtonImage && !mDisabledRect.IsEmpty());

    if (normal == nullptr && !haveOver && !haveDown && !haveDisabled) {
        if (!mFrameNoDraw) DrawBevel(g, down);
        DrawLabel(g, down);
        return;
    }

    if (down && haveDown) {
        DrawPart(g, pressed, mDownRect);
    } else if (mDisabled && haveDisabled) {
        DrawPart(g, disabled, mDisabledRect);
    } else if (haveOver && (mIsOver || mOverAlpha > 0.0)) {
        if (IsFading()) {
            // The over picture blended over the normal one.
            DrawPart(g, normal, mNormalRect);
            const int alpha = static_cast<int>(mOverAlpha * 255.0);
            if (alpha > 0) {
                g.SaveState();
                g.SetColorizeImages(true);
                g.SetColor(Color(255, 255, 255, alpha));
                DrawPart(g, over, mOverRect);
                g.RestoreState();
            }
        } else {
            DrawPart(g, over, mOverRect);
        }
    } else {
        DrawPart(g, normal, mNormalRect);
    }
    DrawLabel(g, down);
}

void ButtonWidget::DrawBevel(Graphics& g, bool down) {
    const int w = mWidth;
    const int h = mHeight;
    if (w <= 0 || h <= 0) return;
    const Color& light = GetColor(down ? COLOR_DARK_OUTLINE : COLOR_LIGHT_OUTLINE);
    const Color& dark = GetColor(down ? COLOR_LIGHT_OUTLINE : COLOR_DARK_OUTLINE);

    g.SetColor(GetColor(COLOR_BKG));
    g.FillRect(0, 0, w, h);
    // Outer edges: light on the top and left, dark on the bottom and right (swapped down).
    g.SetColor(light);
    g.FillRect(0, 0, w - 1, 1);
    g.FillRect(0, 0, 1, h - 1);
    g.SetColor(dark);
    g.FillRect(0, h - 1, w, 1);
    g.FillRect(w - 1, 0, 1, h);
    // Inner shadow one pixel inside the dark edges (inside the top and left when down).
    g.SetColor(GetColor(COLOR_MEDIUM_OUTLINE));
    if (down) {
        g.FillRect(1, 1, w - 2, 1);
        g.FillRect(1, 1, 1, h - 2);
    } else {
        g.FillRect(1, h - 2, w - 2, 1);
        g.FillRect(w - 2, 1, 1, h - 2);
    }
}

void ButtonWidget::DrawLabel(Graphics& g, bool down) {
    if (mLabel.empty()) return;
    Font* font = mFont;
    if (font == nullptr) {
        if (!mOwnedFont) mOwnedFont = Font::CreateSystemFont("Arial Unicode MS", 10);
        font = mOwnedFont.get();
    }
    if (font == nullptr) return;

    const int textWidth = font->StringWidth(mLabel);
    const int ascent = font->GetAscent();
    int x = 0;
    if (mLabelJustify == JUSTIFY_CENTER)
        x = (mWidth - textWidth) / 2;
    else if (mLabelJustify == JUSTIFY_RIGHT)
        x = mWidth - textWidth;
    const int baseline = (ascent + mHeight - ascent / 6 - 1) / 2;
    const int offset = down ? 1 : 0;
    const Color& color = GetColor(mIsOver ? COLOR_LABEL_HILITE : COLOR_LABEL);
    font->DrawString(g, x + offset, baseline + offset, mLabel, color);
}

void ButtonWidget::SetDisabled(bool disabled) {
    Widget::SetDisabled(disabled);
    if (mOverAlpha != 0.0 && disabled) mOverAlpha = 0.0;
}

void ButtonWidget::MouseEnter() {
    Widget::MouseEnter();
    if (mOverAlphaFadeInSpeed <= 0.0 && mOverAlpha > 0.0) mOverAlpha = 0.0;
    if (mIsDown || HaveButtonImage(mOverImage, mOverRect) ||
        (mButtonImage == nullptr && mDownImage == nullptr && !mBtnNoDraw))
        MarkDirty();
    if (mButtonListener != nullptr) mButtonListener->ButtonMouseEnter(mId);
}

void ButtonWidget::MouseLeave() {
    Widget::MouseLeave();
    // Without a fade-in the over picture showed fully: a fade-out starts from there.
    if (mOverAlphaFadeInSpeed <= 0.0 && mOverAlphaSpeed > 0.0 &&
        HaveButtonImage(mOverImage, mOverRect))
        mOverAlpha = 1.0;
    if (mIsDown || HaveButtonImage(mOverImage, mOverRect) ||
        (mButtonImage == nullptr && mDownImage == nullptr && !mBtnNoDraw))
        MarkDirty();
    if (mButtonListener != nullptr) mButtonListener->ButtonMouseLeave(mId);
}

void ButtonWidget::MouseMove(int x, int y) {
    Widget::MouseMove(x, y);
    if (mButtonListener != nullptr) mButtonListener->ButtonMouseMove(mId, x, y);
}

void ButtonWidget::MouseDown(int x, int y, int button, int clickCount) {
    Widget::MouseDown(x, y, button, clickCount);
    if (mButtonListener != nullptr) mButtonListener->ButtonPress(mId, clickCount);
    MarkDirty();
}

void ButtonWidget::MouseUp(int x, int y, int button, int clickCount) {
    Widget::MouseUp(x, y, button, clickCount);
    // A click completes only where it began, and only while the application has the focus.
    if (mIsOver && mWidgetManager != nullptr && mWidgetManager->HasFocus() &&
        mButtonListener != nullptr)
        mButtonListener->ButtonDepress(mId);
    MarkDirty();
}

void ButtonWidget::Update() {
    Widget::Update();

    if (mIsDown && mIsOver && mButtonListener != nullptr) mButtonListener->ButtonDownTick(mId);

    if (!mIsOver && mOverAlpha > 0.0) {
        if (mOverAlphaSpeed > 0.0 && mOverAlpha - mOverAlphaSpeed > 0.0)
            mOverAlpha -= mOverAlphaSpeed;
        else
            mOverAlpha = 0.0;
        MarkDirty();
    } else if (mIsOver && mOverAlphaFadeInSpeed > 0.0 && mOverAlpha < 1.0) {
        mOverAlpha += mOverAlphaFadeInSpeed;
        if (mOverAlpha > 1.0) mOverAlpha = 1.0;
        MarkDirty();
    }
}

}  // namespace Orvane
