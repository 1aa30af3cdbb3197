// Image: a picture with a size and a file path, and the drawing primitives that Graphics calls
// with already translated and clipped arguments. The base class draws nothing; MemoryImage
// implements every primitive in software.
#pragma once

#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"
#include "framework/graphics/Transform2D.h"

#include <string>

namespace Orvane {

class MemoryImage;

// Draw modes of Graphics and of the primitives.
constexpr int kDrawModeNormal = 0;
constexpr int kDrawModeAdditive = 1;

class Image {
public:
    Image() = default;
    virtual ~Image() = default;
    Image(const Image&) = default;
    Image& operator=(const Image&) = default;

    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    Rect GetRect() const { return Rect(0, 0, width_, height_); }
    const std::string& GetFilePath() const { return filePath_; }
    void SetFilePath(std::string path) { filePath_ = std::move(path); }

    // The pixel array behind this image, when it has one (sources of every blit need one).
    virtual MemoryImage* AsMemoryImage() { return nullptr; }

    // --- Primitives. Positions are destination pixels; clip is the destination clip.
    // colour modulates the source (the neutral white leaves it unchanged); drawMode is
    // kDrawModeNormal or kDrawModeAdditive.

    // Fills rect (already clipped) with the colour.
    virtual void FillRect(const Rect& rect, const Color& color, int drawMode);
    // A one-pixel line from (x1, y1) to (x2, y2), clipped to clip.
    virtual void DrawLine(double x1, double y1, double x2, double y2, const Rect& clip,
                          const Color& color, int drawMode);
    // Copies srcRect of src with its top left at (x, y); the caller has clipped both.
    virtual void Blit(Image* src, int x, int y, const Rect& srcRect, const Color& color,
                      int drawMode);
    // As Blit, at a float position (the software path truncates it).
    virtual void BlitF(Image* src, float x, float y, const Rect& srcRect, const Rect& clip,
                       const Color& color, int drawMode);
    // srcRect of src mirrored left to right, its top left at (x, y), clipped to clip.
    virtual void BlitMirror(Image* src, int x, int y, const Rect& srcRect, const Rect& clip,
                            const Color& color, int drawMode);
    // srcRect of src with its top left at (x, y), turned by angle (radians, counter-clockwise
    // on screen) about the point (x + centreX, y + centreY).
    virtual void BlitRotated(Image* src, float x, float y, const Rect& clip, const Color& color,
                             int drawMode, double angle, float centreX, float centreY,
                             const Rect& srcRect, bool linear);
    // srcRect of src stretched onto destRect; linear selects bilinear filtering, else nearest.
    virtual void StretchBlit(Image* src, const Rect& destRect, const Rect& srcRect,
                             const Rect& clip, const Color& color, int drawMode, bool linear);
    // A source pixel at offset p from the centre of srcRect lands at m x p + (x, y).
    virtual void BlitMatrix(Image* src, float x, float y, const Matrix3& m, const Rect& clip,
                            const Color& color, int drawMode, const Rect& srcRect, bool linear);

protected:
    int width_ = 0;
    int height_ = 0;
    std::string filePath_;
};

}  // namespace Orvane
