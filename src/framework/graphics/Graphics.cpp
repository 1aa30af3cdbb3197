#include "framework/graphics/Graphics.h"

#include <cmath>

namespace Orvane {

namespace {

// Positions become destination pixels by truncation toward zero. Values far outside any
// image are pinned first so that the conversion stays defined.
int ToPixel(double v) {
    if (!(v > -1e9)) return -1000000000;   // also catches NaN
    if (v > 1e9) return 1000000000;
    return static_cast<int>(v);
}

// A float position kept as it is, pinned like ToPixel.
float PinPosition(double v) {
    if (!(v > -1e9)) return -1e9f;
    if (v > 1e9) return 1e9f;
    return static_cast<float>(v);
}

bool LiesWithin(const Image* image, const Rect& srcRect) {
    return image->GetRect().ContainsRect(srcRect);
}

}  // namespace

Graphics::Graphics(Image* dest) { SetDestImage(dest); }

Graphics::Graphics(const Graphics& other) : state_(other.state_) {}

Graphics& Graphics::operator=(const Graphics& other) {
    if (this != &other) {
        state_ = other.state_;
        stack_.clear();
    }
    return *this;
}

void Graphics::SetDestImage(Image* dest) {
    state_.destImage = dest;
    state_.clipRect = dest ? dest->GetRect() : Rect();
}

void Graphics::Translate(int dx, int dy) {
    state_.transX += static_cast<float>(dx);
    state_.transY += static_cast<float>(dy);
}

void Graphics::TranslateF(float dx, float dy) {
    state_.transX += dx;
    state_.transY += dy;
}

void Graphics::SetScale(float scaleX, float scaleY, float originX, float originY) {
    state_.scaleX = scaleX;
    state_.scaleY = scaleY;
    state_.scaleOrigX = originX;
    state_.scaleOrigY = originY;
}

void Graphics::ClipRect(int x, int y, int width, int height) {
    const Rect r(ToPixel(x + state_.transX), ToPixel(y + state_.transY), width, height);
    state_.clipRect = state_.clipRect.Intersection(r);
}

void Graphics::SetClipRect(int x, int y, int width, int height) {
    const Rect r(ToPixel(x + state_.transX), ToPixel(y + state_.transY), width, height);
    const Rect whole = state_.destImage ? state_.destImage->GetRect() : Rect();
    state_.clipRect = whole.Intersection(r);
}

void Graphics::ClearClipRect() {
    state_.clipRect = state_.destImage ? state_.destImage->GetRect() : Rect();
}

void Graphics::SaveState() { stack_.push_back(state_); }

void Graphics::RestoreState() {
    if (stack_.empty()) return;
    state_ = stack_.back();
    stack_.pop_back();
}

void Graphics::SetAccelerated(bool on) {
    state_.accelerated = on;
    state_.fastStretch = !on;
    state_.linearBlend = on;
}

Color Graphics::ImageColor() const {
    return state_.colorizeImages ? state_.color : Color::White();
}

bool Graphics::StretchIsLinear() const {
    return state_.linearBlend || !state_.fastStretch;
}

// --- Rectangles and lines.

void Graphics::FillRect(int x, int y, int width, int height) {
    if (!state_.destImage || state_.color.a == 0) return;
    const Rect r(ToPixel(x + state_.transX), ToPixel(y + state_.transY), width, height);
    const Rect clipped = r.Intersection(state_.clipRect);
    if (clipped.IsEmpty()) return;
    state_.destImage->FillRect(clipped, state_.color, state_.drawMode);
}

void Graphics::DrawRect(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return;
    FillRect(x, y, width, 1);
    if (height > 1) FillRect(x, y + height - 1, width, 1);
    if (height > 2) {
        FillRect(x, y + 1, 1, height - 2);
        if (width > 1) FillRect(x + width - 1, y + 1, 1, height - 2);
    }
}

void Graphics::DrawLine(int x1, int y1, int x2, int y2) {
    if (!state_.destImage || state_.color.a == 0) return;
    const double tx = ToPixel(state_.transX), ty = ToPixel(state_.transY);
    state_.destImage->DrawLine(x1 + tx, y1 + ty, x2 + tx, y2 + ty, state_.clipRect, state_.color,
                               state_.drawMode);
}

// --- Images.

void Graphics::DrawImage(Image* image, int x, int y) {
    if (!image) return;
    DrawImage(image, x, y, image->GetRect());
}

void Graphics::DrawImageF(Image* image, float x, float y) {
    if (!image) return;
    DrawImageF(image, x, y, image->GetRect());
}

void Graphics::DrawImage(Image* image, int x, int y, const Rect& srcRect) {
    DrawImageF(image, static_cast<float>(x), static_cast<float>(y), srcRect);
}

void Graphics::DrawImageF(Image* image, float x, float y, const Rect& srcRect) {
    if (!image || !state_.destImage || !LiesWithin(image, srcRect)) return;
    if (HasScale()) {
        DrawScaled(image, x + state_.transX, y + state_.transY, srcRect);
        return;
    }
    const int dx = ToPixel(static_cast<double>(x) + state_.transX);
    const int dy = ToPixel(static_cast<double>(y) + state_.transY);
    const Rect dest(dx, dy, srcRect.width, srcRect.height);
    const Rect clipped = dest.Intersection(state_.clipRect);
    if (clipped.IsEmpty()) return;
    const Rect src(srcRect.x + (clipped.x - dx), srcRect.y + (clipped.y - dy), clipped.width,
                   clipped.height);
    state_.destImage->Blit(image, clipped.x, clipped.y, src, ImageColor(), state_.drawMode);
}

void Graphics::DrawScaled(Image* image, float x, float y, const Rect& srcRect) {
    const double left = state_.scaleOrigX + (x - state_.scaleOrigX) * state_.scaleX;
    const double top = state_.scaleOrigY + (y - state_.scaleOrigY) * state_.scaleY;
    const Rect dest(ToPixel(left), ToPixel(top), ToPixel(srcRect.width * state_.scaleX),
                    ToPixel(srcRect.height * state_.scaleY));
    if (dest.IsEmpty()) return;
    state_.destImage->StretchBlit(image, dest, srcRect, state_.clipRect, ImageColor(),
                                  state_.drawMode, StretchIsLinear());
}

void Graphics::DrawImage(Image* image, const Rect& destRect, const Rect& srcRect) {
    if (!image || !state_.destImage || !LiesWithin(image, srcRect) || destRect.IsEmpty()) return;
    Rect dest(ToPixel(destRect.x + state_.transX), ToPixel(destRect.y + state_.transY),
              destRect.width, destRect.height);
    if (HasScale()) {
        const double left = state_.scaleOrigX + (dest.x - state_.scaleOrigX) * state_.scaleX;
        const double top = state_.scaleOrigY + (dest.y - state_.scaleOrigY) * state_.scaleY;
        dest = Rect(ToPixel(left), ToPixel(top), ToPixel(dest.width * state_.scaleX),
                    ToPixel(dest.height * state_.scaleY));
        if (dest.IsEmpty()) return;
    }
    state_.destImage->StretchBlit(image, dest, srcRect, state_.clipRect, ImageColor(),
                                  state_.drawMode, StretchIsLinear());
}

void Graphics::DrawImage(Image* image, int x, int y, int width, int height) {
    if (!image) return;
    DrawImage(image, Rect(x, y, width, height), image->GetRect());
}

void Graphics::DrawImageMirror(Image* image, int x, int y) {
    if (!image) return;
    DrawImageMirror(image, x, y, image->GetRect());
}

void Graphics::DrawImageMirror(Image* image, int x, int y, const Rect& srcRect) {
    if (!image || !state_.destImage || !LiesWithin(image, srcRect)) return;
    state_.destImage->BlitMirror(image, ToPixel(x + state_.transX), ToPixel(y + state_.transY),
                                 srcRect, state_.clipRect, ImageColor(), state_.drawMode);
}

void Graphics::DrawImageRotated(Image* image, int x, int y, double angle) {
    if (!image) return;
    DrawImageRotated(image, x, y, angle, image->GetRect());
}

void Graphics::DrawImageRotated(Image* image, int x, int y, double angle, const Rect& srcRect) {
    DrawImageRotatedF(image, static_cast<float>(x), static_cast<float>(y), angle,
                      srcRect.width / 2.0f, srcRect.height / 2.0f, srcRect);
}

void Graphics::DrawImageRotated(Image* image, int x, int y, double angle, int centreX,
                                int centreY) {
    if (!image) return;
    DrawImageRotated(image, x, y, angle, centreX, centreY, image->GetRect());
}

void Graphics::DrawImageRotated(Image* image, int x, int y, double angle, int centreX,
                                int centreY, const Rect& srcRect) {
    DrawImageRotatedF(image, static_cast<float>(x), static_cast<float>(y), angle,
                      static_cast<float>(centreX), static_cast<float>(centreY), srcRect);
}

void Graphics::DrawImageRotatedF(Image* image, float x, float y, double angle, float centreX,
                                 float centreY, const Rect& srcRect) {
    if (!image || !state_.destImage || !LiesWithin(image, srcRect)) return;
    const int dx = ToPixel(static_cast<double>(x) + state_.transX);
    const int dy = ToPixel(static_cast<double>(y) + state_.transY);
    state_.destImage->BlitRotated(image, static_cast<float>(dx), static_cast<float>(dy),
                                  state_.clipRect, ImageColor(), state_.drawMode, angle, centreX,
                                  centreY, srcRect, state_.linearBlend);
}

void Graphics::DrawImageWithTransform(Image* image, const Transform2D& transform, float x,
                                      float y) {
    if (!image) return;
    DrawImageWithTransform(image, transform, x, y, image->GetRect());
}

void Graphics::DrawImageWithTransform(Image* image, const Transform2D& transform, float x,
                                      float y, const Rect& srcRect) {
    if (!image || !state_.destImage || !LiesWithin(image, srcRect)) return;
    if (state_.accelerated) {
        DrawImageMatrix(image, transform.Matrix(), x, y, srcRect);
        return;
    }
    const float halfW = srcRect.width * 0.5f, halfH = srcRect.height * 0.5f;
    switch (transform.GetForm()) {
    case Transform2D::Form::Identity:
        DrawImageF(image, x - halfW, y - halfH, srcRect);
        return;
    case Transform2D::Form::Rotation:
        DrawImageRotatedF(image, x - halfW, y - halfH, transform.GetRotation(), halfW, halfH,
                          srcRect);
        return;
    case Transform2D::Form::Scale: {
        const float sx = transform.GetScaleX(), sy = transform.GetScaleY();
        if (sx == -1.0f && sy == 1.0f) {
            DrawImageMirror(image, ToPixel(x - halfW), ToPixel(y - halfH), srcRect);
            return;
        }
        if (sx > 0.0f && sy > 0.0f) {
            const double w = srcRect.width * static_cast<double>(sx);
            const double h = srcRect.height * static_cast<double>(sy);
            const Rect dest(ToPixel(x + state_.transX - w * 0.5), ToPixel(y + state_.transY - h * 0.5),
                            ToPixel(w), ToPixel(h));
            if (dest.IsEmpty()) return;
            state_.destImage->StretchBlit(image, dest, srcRect, state_.clipRect, ImageColor(),
                                          state_.drawMode, StretchIsLinear());
            return;
        }
        // Other mirrorings cannot be stretched: they go through the matrix.
        DrawImageMatrix(image, transform.Matrix(), x, y, srcRect);
        return;
    }
    case Transform2D::Form::Matrix:
        DrawImageMatrix(image, transform.Matrix(), x, y, srcRect);
        return;
    }
}

void Graphics::DrawImageMatrix(Image* image, const Matrix3& m, float x, float y,
                               const Rect& srcRect) {
    if (!image || !state_.destImage || !LiesWithin(image, srcRect)) return;
    const double px = static_cast<double>(x) + state_.transX;
    const double py = static_cast<double>(y) + state_.transY;
    const float dx = state_.accelerated ? PinPosition(px) : static_cast<float>(ToPixel(px));
    const float dy = state_.accelerated ? PinPosition(py) : static_cast<float>(ToPixel(py));
    state_.destImage->BlitMatrix(image, dx, dy, m, state_.clipRect, ImageColor(),
                                 state_.drawMode, srcRect, state_.linearBlend);
}

}  // namespace Orvane
