// Graphics: the drawing context. It holds the destination image and the drawing state
// (translation, scale, clip, colour, draw mode, tinting, filtering), turns positions into
// destination pixels (translation added, then truncated), clips, and calls the destination's
// primitives. SaveState/RestoreState keep a stack of states; a copy copies the state.
#pragma once

#include "framework/graphics/Color.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/Rect.h"
#include "framework/graphics/Transform2D.h"

#include <vector>

namespace Orvane {

class Font;  // the framework's text fonts (not used by the game's own text drawing)

struct GraphicsState {
    Image* destImage = nullptr;
    float transX = 0.0f;
    float transY = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float scaleOrigX = 0.0f;
    float scaleOrigY = 0.0f;
    Rect clipRect;
    Color color = Color::Black();
    Font* font = nullptr;
    int drawMode = kDrawModeNormal;
    bool colorizeImages = false;
    bool fastStretch = false;
    bool linearBlend = false;
    bool accelerated = false;
};

class Graphics {
public:
    static constexpr int DRAWMODE_NORMAL = kDrawModeNormal;
    static constexpr int DRAWMODE_ADDITIVE = kDrawModeAdditive;

    Graphics() = default;
    // A context on dest; the clip starts as the whole image.
    explicit Graphics(Image* dest);
    // Copies the state only (the saved-state stack starts empty).
    Graphics(const Graphics& other);
    Graphics& operator=(const Graphics& other);

    // --- State.
    Image* GetDestImage() const { return state_.destImage; }
    void SetDestImage(Image* dest);   // also resets the clip to the whole image

    void SetColor(const Color& color) { state_.color = color; }
    const Color& GetColor() const { return state_.color; }
    void SetDrawMode(int mode) { state_.drawMode = mode; }
    int GetDrawMode() const { return state_.drawMode; }
    // When on, images are modulated by the current colour; otherwise by white.
    void SetColorizeImages(bool on) { state_.colorizeImages = on; }
    void SetTintImages(bool on) { state_.colorizeImages = on; }
    bool GetColorizeImages() const { return state_.colorizeImages; }
    void SetFastStretch(bool on) { state_.fastStretch = on; }
    bool GetFastStretch() const { return state_.fastStretch; }
    void SetLinearBlend(bool on) { state_.linearBlend = on; }
    bool GetLinearBlend() const { return state_.linearBlend; }
    // The drawing of hardware acceleration (the 3D mode): linear filtering instead of the
    // fast stretch, and a transformed picture always placed through the matrix at its exact
    // float position.
    void SetAccelerated(bool on);
    bool IsAccelerated() const { return state_.accelerated; }
    void SetFont(Font* font) { state_.font = font; }
    Font* GetFont() const { return state_.font; }

    void Translate(int dx, int dy);
    void TranslateF(float dx, float dy);
    float GetTransX() const { return state_.transX; }
    float GetTransY() const { return state_.transY; }
    // Scale for plain and source-rectangle drawing, about (originX, originY) in destination
    // pixels; 1, 1 turns it off.
    void SetScale(float scaleX, float scaleY, float originX = 0.0f, float originY = 0.0f);

    // Intersects the clip with the translated rectangle.
    void ClipRect(int x, int y, int width, int height);
    void ClipRect(const Rect& rect) { ClipRect(rect.x, rect.y, rect.width, rect.height); }
    // Replaces the clip by the translated rectangle, limited to the destination.
    void SetClipRect(int x, int y, int width, int height);
    void SetClipRect(const Rect& rect) { SetClipRect(rect.x, rect.y, rect.width, rect.height); }
    void ClearClipRect();
    // The clip in destination pixels.
    const Rect& GetClipRect() const { return state_.clipRect; }

    void SaveState();
    void RestoreState();   // does nothing when nothing was saved
    const GraphicsState& State() const { return state_; }

    // --- Drawing. Coordinates are in the context's space (before translation).
    // Fills with the current colour and draw mode; nothing when the colour's alpha is 0.
    void FillRect(int x, int y, int width, int height);
    void FillRect(const Rect& rect) { FillRect(rect.x, rect.y, rect.width, rect.height); }
    // A one-pixel outline: the border pixels of the width x height rectangle.
    void DrawRect(int x, int y, int width, int height);
    void DrawRect(const Rect& rect) { DrawRect(rect.x, rect.y, rect.width, rect.height); }
    void DrawLine(int x1, int y1, int x2, int y2);

    void DrawImage(Image* image, int x, int y);
    // Only srcRect of the image; nothing unless srcRect lies within the image.
    void DrawImage(Image* image, int x, int y, const Rect& srcRect);
    // Stretches srcRect onto destRect.
    void DrawImage(Image* image, const Rect& destRect, const Rect& srcRect);
    // Whole image stretched onto destRect.
    void DrawImage(Image* image, int x, int y, int width, int height);
    void DrawImageF(Image* image, float x, float y);
    void DrawImageF(Image* image, float x, float y, const Rect& srcRect);
    // Mirrored left to right.
    void DrawImageMirror(Image* image, int x, int y);
    void DrawImageMirror(Image* image, int x, int y, const Rect& srcRect);

    // Rotated by angle (radians, counter-clockwise on screen) about (x + centreX, y + centreY);
    // without a centre, the centre of the drawn rectangle.
    void DrawImageRotated(Image* image, int x, int y, double angle);
    void DrawImageRotated(Image* image, int x, int y, double angle, const Rect& srcRect);
    void DrawImageRotated(Image* image, int x, int y, double angle, int centreX, int centreY);
    void DrawImageRotated(Image* image, int x, int y, double angle, int centreX, int centreY,
                          const Rect& srcRect);
    void DrawImageRotatedF(Image* image, float x, float y, double angle, float centreX,
                           float centreY, const Rect& srcRect);

    // Through a transform placed at (x, y): the centre of the source lands at (x, y). Simple
    // transforms take the plain, rotated, mirrored or stretched paths at the truncated
    // position, except when accelerated.
    void DrawImageWithTransform(Image* image, const Transform2D& transform, float x, float y);
    void DrawImageWithTransform(Image* image, const Transform2D& transform, float x, float y,
                                const Rect& srcRect);
    // Through a matrix: a source pixel at offset p from the centre lands at m x p + (x, y);
    // (x, y) is truncated unless accelerated.
    void DrawImageMatrix(Image* image, const Matrix3& m, float x, float y, const Rect& srcRect);

private:
    // The colour that modulates images: the current colour when colourising, else white.
    Color ImageColor() const;
    bool HasScale() const { return state_.scaleX != 1.0f || state_.scaleY != 1.0f; }
    bool StretchIsLinear() const;
    void DrawScaled(Image* image, float x, float y, const Rect& srcRect);

    GraphicsState state_;
    std::vector<GraphicsState> stack_;
};

}  // namespace Orvane
