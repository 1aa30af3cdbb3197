#include "framework/graphics/blit/ReferenceBlit.h"

#include "framework/graphics/blit/AffineSetup.h"
#include "framework/graphics/blit/PixelMath.h"
#include "framework/graphics/blit/Sampling.h"

namespace Orvane::Blit::Reference {

namespace {

uint32_t& PixelAt(MemoryImage& image, int x, int y) {
    return image.GetBits()[size_t(y) * size_t(image.GetWidth()) + size_t(x)];
}

uint32_t SourceAt(const MemoryImage& image, int x, int y) {
    return image.GetBits()[size_t(y) * size_t(image.GetWidth()) + size_t(x)];
}

void Affine(MemoryImage& dest, const MemoryImage& src, const Rect& srcRect, const AffineDraw& draw,
            const Color& color, int drawMode, bool linear) {
    const bool destOpaque = dest.IsOpaqueDestination();
    const Modulation m(color.ToInt());
    const SourceWindow window{
        src.GetBits() + size_t(srcRect.y) * size_t(src.GetWidth()) + size_t(srcRect.x),
        src.GetWidth(), srcRect.width, srcRect.height};
    for (int y = draw.bounds.y; y < draw.bounds.Bottom(); ++y) {
        int64_t u, v, du, dv;
        draw.inverse.Row(draw.bounds.x, y, u, v, du, dv);
        for (int i = 0; i < draw.bounds.width; ++i) {
            const uint32_t s = linear ? SampleLinear(window, u + i * du, v + i * dv)
                                      : SampleNearest(window, u + i * du, v + i * dv);
            uint32_t& d = PixelAt(dest, draw.bounds.x + i, y);
            d = ReferenceBlend(d, s, m, destOpaque, drawMode);
        }
    }
    dest.BitsChanged();
}

}  // namespace

void FillRect(MemoryImage& dest, const Rect& rect, const Color& color, int drawMode) {
    const Rect r = rect.Intersection(dest.GetRect());
    const bool destOpaque = dest.IsOpaqueDestination();
    for (int y = r.y; y < r.Bottom(); ++y)
        for (int x = r.x; x < r.Right(); ++x) {
            uint32_t& d = PixelAt(dest, x, y);
            d = ReferenceFill(d, color.ToInt(), destOpaque, drawMode);
        }
    dest.BitsChanged();
}

void Blit(MemoryImage& dest, const MemoryImage& src, int x, int y, const Rect& srcRect,
          const Color& color, int drawMode) {
    const bool destOpaque = dest.IsOpaqueDestination();
    const Modulation m(color.ToInt());
    for (int j = 0; j < srcRect.height; ++j)
        for (int i = 0; i < srcRect.width; ++i) {
            if (!dest.GetRect().Contains(x + i, y + j)) continue;
            uint32_t& d = PixelAt(dest, x + i, y + j);
            d = ReferenceBlend(d, SourceAt(src, srcRect.x + i, srcRect.y + j), m, destOpaque,
                               drawMode);
        }
    dest.BitsChanged();
}

void BlitMirror(MemoryImage& dest, const MemoryImage& src, int x, int y, const Rect& srcRect,
                const Rect& clip, const Color& color, int drawMode) {
    const Rect area = clip.Intersection(dest.GetRect());
    const bool destOpaque = dest.IsOpaqueDestination();
    const Modulation m(color.ToInt());
    for (int j = 0; j < srcRect.height; ++j)
        for (int i = 0; i < srcRect.width; ++i) {
            if (!area.Contains(x + i, y + j)) continue;
            uint32_t& d = PixelAt(dest, x + i, y + j);
            const uint32_t s = SourceAt(src, srcRect.x + srcRect.width - 1 - i, srcRect.y + j);
            d = ReferenceBlend(d, s, m, destOpaque, drawMode);
        }
    dest.BitsChanged();
}

void StretchBlit(MemoryImage& dest, const MemoryImage& src, const Rect& destRect,
                 const Rect& srcRect, const Rect& clip, const Color& color, int drawMode,
                 bool linear) {
    const Rect area = destRect.Intersection(clip).Intersection(dest.GetRect());
    const bool destOpaque = dest.IsOpaqueDestination();
    const Modulation m(color.ToInt());
    const StretchAxis ax(srcRect.width, destRect.width), ay(srcRect.height, destRect.height);
    for (int y = area.y; y < area.Bottom(); ++y)
        for (int x = area.x; x < area.Right(); ++x) {
            uint32_t s;
            if (linear) {
                int x0, x1, y0, y1;
                uint32_t fx, fy;
                ax.Linear(x - destRect.x, x0, x1, fx);
                ay.Linear(y - destRect.y, y0, y1, fy);
                s = ReferenceBilinear(SourceAt(src, srcRect.x + x0, srcRect.y + y0),
                                      SourceAt(src, srcRect.x + x1, srcRect.y + y0),
                                      SourceAt(src, srcRect.x + x0, srcRect.y + y1),
                                      SourceAt(src, srcRect.x + x1, srcRect.y + y1), fx, fy);
            } else {
                s = SourceAt(src, srcRect.x + ax.Nearest(x - destRect.x),
                             srcRect.y + ay.Nearest(y - destRect.y));
            }
            uint32_t& d = PixelAt(dest, x, y);
            d = ReferenceBlend(d, s, m, destOpaque, drawMode);
        }
    dest.BitsChanged();
}

void BlitRotated(MemoryImage& dest, const MemoryImage& src, float x, float y, const Rect& clip,
                 const Color& color, int drawMode, double angle, float centreX, float centreY,
                 const Rect& srcRect, bool linear) {
    AffineDraw draw;
    if (SetUpRotation(x, y, angle, centreX, centreY, srcRect, clip.Intersection(dest.GetRect()),
                      draw))
        Affine(dest, src, srcRect, draw, color, drawMode, linear);
}

void BlitMatrix(MemoryImage& dest, const MemoryImage& src, float x, float y, const Matrix3& m,
                const Rect& clip, const Color& color, int drawMode, const Rect& srcRect,
                bool linear) {
    AffineDraw draw;
    if (SetUpMatrix(x, y, m, srcRect, clip.Intersection(dest.GetRect()), draw))
        Affine(dest, src, srcRect, draw, color, drawMode, linear);
}

}  // namespace Orvane::Blit::Reference
