// MemoryImage: a 32-bit picture (0xAARRGGBB, row-major, row length = width) that draws in
// software. It caches what it knows about its alpha (opaque, has transparent pixels) and, per
// row, the runs of pixels that are not fully transparent, so that mostly transparent pictures
// cost little to draw. Whoever writes pixels through GetBits calls BitsChanged afterwards.
#pragma once

#include "framework/graphics/Image.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Orvane {

namespace Blit { struct ImageAnalysis; }

class MemoryImage : public Image {
public:
    // Largest width or height a MemoryImage accepts.
    static constexpr int kMaxSide = 16384;

    MemoryImage();
    // A width x height image of transparent black; empty when a side is out of range.
    MemoryImage(int width, int height);
    ~MemoryImage() override;
    MemoryImage(const MemoryImage& other);
    MemoryImage& operator=(const MemoryImage& other);
    MemoryImage(MemoryImage&& other) noexcept;
    MemoryImage& operator=(MemoryImage&& other) noexcept;

    MemoryImage* AsMemoryImage() override { return this; }

    // Resizes to width x height of transparent black; false (and empty) when out of range.
    bool Create(int width, int height);
    // Takes over pixels (width x height values); false (and unchanged) when sizes disagree.
    bool SetPixels(int width, int height, std::vector<uint32_t> pixels);
    // Sets every pixel to the packed value.
    void Clear(uint32_t argb);

    uint32_t* GetBits() { return pixels_.data(); }
    const uint32_t* GetBits() const { return pixels_.data(); }
    const std::vector<uint32_t>& Pixels() const { return pixels_; }
    // Bounds-checked single pixels (0 outside).
    uint32_t GetPixel(int x, int y) const;
    void SetPixel(int x, int y, uint32_t argb);

    // Call after writing pixels through GetBits: drops the cached alpha facts.
    void BitsChanged();

    // A surface without alpha channel (the screen): blending treats it as opaque and writes
    // alpha 255. Turning it on sets every alpha byte to 255.
    void SetNoAlpha(bool noAlpha);
    bool IsNoAlpha() const { return noAlpha_; }

    // Cached alpha facts (computed on first use, or now by Prepare).
    bool HasAlpha() const;          // some pixel has alpha other than 255
    bool HasTransparency() const;   // some pixel has alpha 0
    // Computes the cached facts now (for example on the loading thread).
    void Prepare() const;
    // Per-row analysis used by the blitters (computed on demand).
    const Blit::ImageAnalysis& Analysis() const;
    // True when drawing into this image uses the formulas for a destination without alpha
    // (a surface without alpha channel, or an image known to be wholly opaque).
    bool IsOpaqueDestination() const;

    // Primitives, in software.
    void FillRect(const Rect& rect, const Color& color, int drawMode) override;
    void DrawLine(double x1, double y1, double x2, double y2, const Rect& clip,
                  const Color& color, int drawMode) override;
    void Blit(Image* src, int x, int y, const Rect& srcRect, const Color& color,
              int drawMode) override;
    void BlitF(Image* src, float x, float y, const Rect& srcRect, const Rect& clip,
               const Color& color, int drawMode) override;
    void BlitMirror(Image* src, int x, int y, const Rect& srcRect, const Rect& clip,
                    const Color& color, int drawMode) override;
    void BlitRotated(Image* src, float x, float y, const Rect& clip, const Color& color,
                     int drawMode, double angle, float centreX, float centreY,
                     const Rect& srcRect, bool linear) override;
    void StretchBlit(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                     const Color& color, int drawMode, bool linear) override;
    void BlitMatrix(Image* src, float x, float y, const Matrix3& m, const Rect& clip,
                    const Color& color, int drawMode, const Rect& srcRect,
                    bool linear) override;

protected:
    // Hook called after every modification of the pixels (drawing into the image included);
    // display-bound subclasses use it to mark their copy stale.
    virtual void OnBitsChanged() {}

private:
    // After drawing into this image: the per-row runs are stale, but an opaque image stays
    // opaque (every primitive keeps alpha 255 on an opaque destination).
    void NoteDrawnInto();
    std::vector<uint32_t> pixels_;
    bool noAlpha_ = false;
    mutable std::unique_ptr<Blit::ImageAnalysis> analysis_;
    // Opacity known independently of the runs: -1 unknown, 0 has alpha, 1 opaque.
    mutable int opaqueKnown_ = -1;
};

}  // namespace Orvane
