#include "framework/graphics/MemoryImage.h"

#include "framework/graphics/blit/AffineSetup.h"
#include "framework/graphics/blit/ImageAnalysis.h"
#include "framework/graphics/blit/Kernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Orvane {

using Blit::ImageAnalysis;
using Blit::KernelSet;
using Blit::Modulation;

namespace {

// Per-thread working rows, so that drawing allocates nothing after warm-up.
struct Scratch {
    std::vector<uint32_t> rowA, rowB;
    std::vector<int32_t> columns;
    std::vector<uint16_t> weights;
};

Scratch& GetScratch() {
    thread_local Scratch scratch;
    return scratch;
}

uint32_t* Ensure(std::vector<uint32_t>& v, size_t n) {
    if (v.size() < n) v.resize(n);
    return v.data();
}

// Blends spans of source pixels into the destination with one draw's settings.
class SpanBlender {
public:
    SpanBlender(const Color& color, int drawMode, bool destOpaque)
        : k_(Blit::ActiveKernels()), m_(color.ToInt()), additive_(drawMode == kDrawModeAdditive),
          destOpaque_(destOpaque) {}

    // opaqueSource: every pixel of s has alpha 255 (lets a neutral normal draw copy).
    void operator()(uint32_t* d, const uint32_t* s, int n, bool opaqueSource) const {
        if (n <= 0) return;
        if (additive_) k_.add(d, s, n, m_);
        else if (opaqueSource && m_.neutral) std::memcpy(d, s, sizeof(uint32_t) * size_t(n));
        else if (destOpaque_) k_.blendOpaque(d, s, n, m_);
        else k_.blendAlpha(d, s, n, m_);
    }
    // True when spans of opaque pixels are simply copied.
    bool Copies() const { return !additive_ && m_.neutral; }

private:
    const KernelSet& k_;
    Modulation m_;
    bool additive_;
    bool destOpaque_;
};

bool SideInRange(int v) { return v > 0 && v <= MemoryImage::kMaxSide; }

}  // namespace

MemoryImage::MemoryImage() = default;

MemoryImage::MemoryImage(int width, int height) { Create(width, height); }

MemoryImage::~MemoryImage() = default;

MemoryImage::MemoryImage(const MemoryImage& other)
    : Image(other), pixels_(other.pixels_), noAlpha_(other.noAlpha_),
      opaqueKnown_(other.opaqueKnown_) {}

MemoryImage& MemoryImage::operator=(const MemoryImage& other) {
    if (this != &other) {
        Image::operator=(other);
        pixels_ = other.pixels_;
        noAlpha_ = other.noAlpha_;
        analysis_.reset();
        opaqueKnown_ = other.opaqueKnown_;
        OnBitsChanged();
    }
    return *this;
}

MemoryImage::MemoryImage(MemoryImage&& other) noexcept
    : Image(other), pixels_(std::move(other.pixels_)), noAlpha_(other.noAlpha_),
      analysis_(std::move(other.analysis_)), opaqueKnown_(other.opaqueKnown_) {
    other.width_ = other.height_ = 0;
    other.opaqueKnown_ = -1;
}

MemoryImage& MemoryImage::operator=(MemoryImage&& other) noexcept {
    if (this != &other) {
        Image::operator=(other);
        pixels_ = std::move(other.pixels_);
        noAlpha_ = other.noAlpha_;
        analysis_ = std::move(other.analysis_);
        opaqueKnown_ = other.opaqueKnown_;
        other.width_ = other.height_ = 0;
        other.opaqueKnown_ = -1;
        OnBitsChanged();
    }
    return *this;
}

bool MemoryImage::Create(int width, int height) {
    if (!SideInRange(width) || !SideInRange(height)) {
        pixels_.clear();
        width_ = height_ = 0;
        BitsChanged();
        return false;
    }
    pixels_.assign(static_cast<size_t>(width) * size_t(height), noAlpha_ ? 0xFF000000u : 0u);
    width_ = width;
    height_ = height;
    BitsChanged();
    return true;
}

bool MemoryImage::SetPixels(int width, int height, std::vector<uint32_t> pixels) {
    if (!SideInRange(width) || !SideInRange(height) ||
        pixels.size() != static_cast<size_t>(width) * size_t(height))
        return false;
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
    if (noAlpha_)
        for (uint32_t& p : pixels_) p |= 0xFF000000u;
    BitsChanged();
    return true;
}

void MemoryImage::Clear(uint32_t argb) {
    if (noAlpha_) argb |= 0xFF000000u;
    std::fill(pixels_.begin(), pixels_.end(), argb);
    BitsChanged();
    opaqueKnown_ = (argb >> 24) == 255 ? 1 : 0;
}

uint32_t MemoryImage::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[size_t(y) * size_t(width_) + size_t(x)];
}

void MemoryImage::SetPixel(int x, int y, uint32_t argb) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[size_t(y) * size_t(width_) + size_t(x)] = noAlpha_ ? (argb | 0xFF000000u) : argb;
    BitsChanged();
}

void MemoryImage::BitsChanged() {
    analysis_.reset();
    opaqueKnown_ = -1;
    OnBitsChanged();
}

void MemoryImage::NoteDrawnInto() {
    analysis_.reset();
    OnBitsChanged();
}

void MemoryImage::SetNoAlpha(bool noAlpha) {
    noAlpha_ = noAlpha;
    if (noAlpha) {
        for (uint32_t& p : pixels_) p |= 0xFF000000u;
        BitsChanged();
        opaqueKnown_ = 1;
    }
}

const ImageAnalysis& MemoryImage::Analysis() const {
    if (!analysis_) {
        analysis_ = std::make_unique<ImageAnalysis>(
            Blit::AnalyseImage(pixels_.data(), width_, height_));
        if (opaqueKnown_ == -1) opaqueKnown_ = analysis_->hasAlpha ? 0 : 1;
    }
    return *analysis_;
}

void MemoryImage::Prepare() const { Analysis(); }
bool MemoryImage::HasAlpha() const { return Analysis().hasAlpha; }
bool MemoryImage::HasTransparency() const { return Analysis().hasTransparency; }

bool MemoryImage::IsOpaqueDestination() const {
    if (noAlpha_) return true;
    if (opaqueKnown_ == -1) {
        opaqueKnown_ = 1;
        for (uint32_t p : pixels_)
            if ((p >> 24) != 255) { opaqueKnown_ = 0; break; }
    }
    return opaqueKnown_ == 1;
}

// --- Fills and lines.

void MemoryImage::FillRect(const Rect& rect, const Color& color, int drawMode) {
    const Rect r = rect.Intersection(GetRect());
    if (r.IsEmpty()) return;
    const uint32_t argb = color.ToInt();
    const uint32_t alpha = argb >> 24;
    const KernelSet& k = Blit::ActiveKernels();
    const bool additive = drawMode == kDrawModeAdditive;
    if (!additive && alpha == 0) return;
    const bool destOpaque = IsOpaqueDestination();
    for (int y = r.y; y < r.Bottom(); ++y) {
        uint32_t* d = pixels_.data() + size_t(y) * size_t(width_) + size_t(r.x);
        if (additive) k.fillAdd(d, r.width, argb);
        else if (alpha == 255) std::fill(d, d + r.width, argb);
        else if (destOpaque) k.fillOpaque(d, r.width, argb);
        else k.fillAlpha(d, r.width, argb);
    }
    NoteDrawnInto();
}

void MemoryImage::DrawLine(double x1, double y1, double x2, double y2, const Rect& clip,
                           const Color& color, int drawMode) {
    const Rect area = clip.Intersection(GetRect());
    if (area.IsEmpty() || !std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) ||
        !std::isfinite(y2))
        return;
    // Cut the line to the area (Liang-Barsky) so that hostile end points cost nothing.
    double t0 = 0.0, t1 = 1.0;
    const double dx = x2 - x1, dy = y2 - y1;
    auto cut = [&](double p, double q) {
        if (p == 0.0) return q >= 0.0;
        const double t = q / p;
        if (p < 0.0) { if (t > t1) return false; if (t > t0) t0 = t; }
        else { if (t < t0) return false; if (t < t1) t1 = t; }
        return true;
    };
    if (!cut(-dx, x1 - (area.x - 1)) || !cut(dx, (area.Right() + 1) - x1) ||
        !cut(-dy, y1 - (area.y - 1)) || !cut(dy, (area.Bottom() + 1) - y1))
        return;
    const double ax = x1 + t0 * dx, ay = y1 + t0 * dy;
    const double bx = x1 + t1 * dx, by = y1 + t1 * dy;
    const int steps = static_cast<int>(std::max(std::fabs(bx - ax), std::fabs(by - ay)) + 0.5);
    const uint32_t argb = color.ToInt();
    const KernelSet& k = Blit::ActiveKernels();
    const bool additive = drawMode == kDrawModeAdditive;
    const bool destOpaque = IsOpaqueDestination();
    for (int i = 0; i <= steps; ++i) {
        const double t = steps == 0 ? 0.0 : double(i) / steps;
        const int px = static_cast<int>(std::floor(ax + (bx - ax) * t + 0.5));
        const int py = static_cast<int>(std::floor(ay + (by - ay) * t + 0.5));
        if (!area.Contains(px, py)) continue;
        uint32_t* d = pixels_.data() + size_t(py) * size_t(width_) + size_t(px);
        if (additive) k.fillAdd(d, 1, argb);
        else if ((argb >> 24) == 255) *d = argb;
        else if (destOpaque) k.fillOpaque(d, 1, argb);
        else k.fillAlpha(d, 1, argb);
    }
    NoteDrawnInto();
}

// --- Blits.

namespace {

// The source pixels of a draw: the image itself, or a copy when it is also the destination.
struct SourceAccess {
    const MemoryImage* image = nullptr;
    MemoryImage copy;

    SourceAccess(Image* src, const MemoryImage* dest) {
        MemoryImage* mem = src ? src->AsMemoryImage() : nullptr;
        if (!mem || mem->GetWidth() <= 0 || mem->GetHeight() <= 0) return;
        if (mem == dest) {
            copy = *mem;
            image = &copy;
        } else {
            image = mem;
        }
    }
    explicit operator bool() const { return image != nullptr; }
};

}  // namespace

void MemoryImage::Blit(Image* src, int x, int y, const Rect& srcRect, const Color& color,
                       int drawMode) {
    SourceAccess source(src, this);
    if (!source || pixels_.empty()) return;
    const MemoryImage& s = *source.image;
    // Defensive clipping: the caller normally passes a clipped rectangle already.
    Rect from = srcRect.Intersection(s.GetRect());
    if (from.IsEmpty()) return;
    x += from.x - srcRect.x;
    y += from.y - srcRect.y;
    const Rect to = Rect(x, y, from.width, from.height).Intersection(GetRect());
    if (to.IsEmpty()) return;
    from = Rect(from.x + (to.x - x), from.y + (to.y - y), to.width, to.height);

    const ImageAnalysis& analysis = s.Analysis();
    const SpanBlender blend(color, drawMode, IsOpaqueDestination());
    const int stride = s.GetWidth();
    for (int row = 0; row < from.height; ++row) {
        const int sy = from.y + row;
        const uint32_t* srcRow = s.GetBits() + size_t(sy) * size_t(stride);
        uint32_t* destRow = pixels_.data() + size_t(to.y + row) * size_t(width_) + size_t(to.x);
        for (const Blit::Run* r = analysis.RowBegin(sy); r != analysis.RowEnd(sy); ++r) {
            const int a = std::max(r->start, from.x), b = std::min(r->end, from.Right());
            if (a >= b) continue;
            blend(destRow + (a - from.x), srcRow + a, b - a, r->opaque);
        }
    }
    NoteDrawnInto();
}

void MemoryImage::BlitF(Image* src, float x, float y, const Rect& srcRect, const Rect& clip,
                        const Color& color, int drawMode) {
    if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > 1e9f || std::fabs(y) > 1e9f)
        return;
    const int dx = static_cast<int>(x), dy = static_cast<int>(y);
    const Rect to = Rect(dx, dy, srcRect.width, srcRect.height).Intersection(clip);
    if (to.IsEmpty()) return;
    Blit(src, to.x, to.y,
         Rect(srcRect.x + (to.x - dx), srcRect.y + (to.y - dy), to.width, to.height), color,
         drawMode);
}

void MemoryImage::BlitMirror(Image* src, int x, int y, const Rect& srcRect, const Rect& clip,
                             const Color& color, int drawMode) {
    SourceAccess source(src, this);
    if (!source || pixels_.empty()) return;
    const MemoryImage& s = *source.image;
    if (!s.GetRect().ContainsRect(srcRect)) return;
    const Rect to =
        Rect(x, y, srcRect.width, srcRect.height).Intersection(clip).Intersection(GetRect());
    if (to.IsEmpty()) return;
    const ImageAnalysis& analysis = s.Analysis();
    const SpanBlender blend(color, drawMode, IsOpaqueDestination());
    uint32_t* line = Ensure(GetScratch().rowA, size_t(to.width));
    const int stride = s.GetWidth();
    // Destination column X shows source column srcRect.x + (srcRect.width - 1 - (X - x)).
    const int mirror = srcRect.x + srcRect.width - 1 + x;
    for (int dy = to.y; dy < to.Bottom(); ++dy) {
        const int sy = srcRect.y + (dy - y);
        int first, end;
        if (!analysis.RowBounds(sy, first, end)) continue;
        const int left = std::max(to.x, mirror - (end - 1));
        const int right = std::min(to.Right(), mirror - first + 1);
        if (left >= right) continue;
        const uint32_t* srcRow = s.GetBits() + size_t(sy) * size_t(stride);
        for (int X = left; X < right; ++X) line[X - left] = srcRow[mirror - X];
        blend(pixels_.data() + size_t(dy) * size_t(width_) + size_t(left), line, right - left,
              analysis.IsOpaque());
    }
    NoteDrawnInto();
}

void MemoryImage::StretchBlit(Image* src, const Rect& destRect, const Rect& srcRect,
                              const Rect& clip, const Color& color, int drawMode, bool linear) {
    SourceAccess source(src, this);
    if (!source || pixels_.empty() || destRect.IsEmpty()) return;
    const MemoryImage& s = *source.image;
    if (!s.GetRect().ContainsRect(srcRect)) return;
    const Rect to = destRect.Intersection(clip).Intersection(GetRect());
    if (to.IsEmpty()) return;
    if (destRect.width == srcRect.width && destRect.height == srcRect.height) {
        // Unscaled: both filters read each pixel exactly.
        Blit(src, to.x, to.y,
             Rect(srcRect.x + (to.x - destRect.x), srcRect.y + (to.y - destRect.y), to.width,
                  to.height),
             color, drawMode);
        return;
    }

    const ImageAnalysis& analysis = s.Analysis();
    const SpanBlender blend(color, drawMode, IsOpaqueDestination());
    const bool directCopy = analysis.IsOpaque() && blend.Copies();
    const Blit::StretchAxis ax(srcRect.width, destRect.width);
    const Blit::StretchAxis ay(srcRect.height, destRect.height);
    const int i0 = to.x - destRect.x, n = to.width;
    const int stride = s.GetWidth();
    Scratch& scratch = GetScratch();
    if (scratch.columns.size() < size_t(n)) scratch.columns.resize(size_t(n));
    int32_t* cols = scratch.columns.data();
    uint32_t* line = Ensure(scratch.rowA, size_t(n));

    if (!linear) {
        for (int i = 0; i < n; ++i) cols[i] = srcRect.x + ax.Nearest(i0 + i);
        for (int dy = to.y; dy < to.Bottom(); ++dy) {
            const int sy = srcRect.y + ay.Nearest(dy - destRect.y);
            int first, end;
            if (!analysis.RowBounds(sy, first, end)) continue;
            // Columns are non-decreasing: keep those that read visible pixels.
            const int a = int(std::lower_bound(cols, cols + n, first) - cols);
            const int b = int(std::lower_bound(cols, cols + n, end) - cols);
            if (a >= b) continue;
            const uint32_t* srcRow = s.GetBits() + size_t(sy) * size_t(stride);
            uint32_t* d = pixels_.data() + size_t(dy) * size_t(width_) + size_t(to.x);
            if (directCopy) {
                for (int i = a; i < b; ++i) d[i] = srcRow[cols[i]];
            } else {
                for (int i = a; i < b; ++i) line[i] = srcRow[cols[i]];
                blend(d + a, line + a, b - a, analysis.IsOpaque());
            }
        }
        NoteDrawnInto();
        return;
    }

    // Linear: per destination column the left tap (relative to srcRect.x) and its weights.
    if (scratch.weights.size() < size_t(n) * 8) scratch.weights.resize(size_t(n) * 8);
    uint16_t* weights = scratch.weights.data();
    for (int i = 0; i < n; ++i) {
        const int64_t u = ax.At(i0 + i) - 0x8000;
        int64_t base = Blit::FixedFloor(u);
        uint32_t f = Blit::FixedFraction8(u);
        if (base < 0) { base = 0; f = 0; }
        if (base >= srcRect.width - 1) { base = srcRect.width - 1; f = 0; }
        cols[i] = static_cast<int32_t>(base);
        for (int c = 0; c < 4; ++c) {
            weights[8 * i + c] = static_cast<uint16_t>(256 - f);
            weights[8 * i + 4 + c] = static_cast<uint16_t>(f);
        }
    }
    const int colMin = cols[0];
    const int colMax = std::min(cols[n - 1] + 1, srcRect.width - 1);
    // From here on the taps are relative to colMin, the first column of the mixed row.
    for (int i = 0; i < n; ++i) cols[i] -= colMin;
    const int span = colMax - colMin + 1;
    uint32_t* mixed = Ensure(scratch.rowB, size_t(span) + 1);
    const KernelSet& k = Blit::ActiveKernels();
    for (int dy = to.y; dy < to.Bottom(); ++dy) {
        int t0, t1;
        uint32_t fy;
        ay.Linear(dy - destRect.y, t0, t1, fy);
        const int sy0 = srcRect.y + t0, sy1 = srcRect.y + t1;
        int f0 = 0, e0 = 0, f1 = 0, e1 = 0;
        const bool has0 = analysis.RowBounds(sy0, f0, e0);
        const bool has1 = fy != 0 && analysis.RowBounds(sy1, f1, e1);
        if (!has0 && !has1) continue;
        const int first = std::min(has0 ? f0 : f1, has1 ? f1 : f0) - srcRect.x;
        const int end = std::max(has0 ? e0 : e1, has1 ? e1 : e0) - srcRect.x;
        // Keep the columns whose two taps reach [first, end).
        const int a = int(std::lower_bound(cols, cols + n, first - 1 - colMin) - cols);
        const int b = int(std::lower_bound(cols, cols + n, end - colMin) - cols);
        if (a >= b) continue;
        const uint32_t* row0 = s.GetBits() + size_t(sy0) * size_t(stride) + size_t(srcRect.x + colMin);
        const uint32_t* row1 = s.GetBits() + size_t(sy1) * size_t(stride) + size_t(srcRect.x + colMin);
        const int lo = cols[a];
        const int hi = std::min(cols[b - 1] + 1, colMax - colMin);
        k.lerpRows(mixed + lo, row0 + lo, row1 + lo, hi - lo + 1, fy);
        mixed[hi + 1] = mixed[hi];   // guard for the right tap
        uint32_t* d = pixels_.data() + size_t(dy) * size_t(width_) + size_t(to.x);
        if (directCopy) {
            k.lerpColumns(d + a, mixed, cols + a, weights + 8 * a, b - a);
        } else {
            k.lerpColumns(line + a, mixed, cols + a, weights + 8 * a, b - a);
            blend(d + a, line + a, b - a, analysis.IsOpaque());
        }
    }
    NoteDrawnInto();
}

namespace {

void AffineSpans(uint32_t* dest, int destStride, const MemoryImage& s, const Rect& srcRect,
                 const Blit::AffineDraw& draw, const SpanBlender& blend, bool linear) {
    const Blit::SourceWindow window{
        s.GetBits() + size_t(srcRect.y) * size_t(s.GetWidth()) + size_t(srcRect.x),
        s.GetWidth(), srcRect.width, srcRect.height};
    const KernelSet& k = Blit::ActiveKernels();
    uint32_t* line = Ensure(GetScratch().rowA, size_t(draw.bounds.width));
    const double margin = linear ? 1.0 : 0.0;
    for (int y = draw.bounds.y; y < draw.bounds.Bottom(); ++y) {
        int64_t u, v, du, dv;
        draw.inverse.Row(draw.bounds.x, y, u, v, du, dv);
        int i0, i1;
        Blit::VisibleColumns(u, v, du, dv, draw.bounds.width, srcRect.width, srcRect.height,
                             margin, i0, i1);
        if (i0 >= i1) continue;
        const int n = i1 - i0;
        const int64_t us = u + i0 * du, vs = v + i0 * dv;
        if (linear) {
            k.sampleLinear(line, window, us, vs, du, dv, n);
        } else {
            for (int i = 0; i < n; ++i) line[i] = Blit::SampleNearest(window, us + i * du, vs + i * dv);
        }
        blend(dest + size_t(y) * size_t(destStride) + size_t(draw.bounds.x + i0), line, n, false);
    }
}

}  // namespace

void MemoryImage::BlitRotated(Image* src, float x, float y, const Rect& clip, const Color& color,
                              int drawMode, double angle, float centreX, float centreY,
                              const Rect& srcRect, bool linear) {
    SourceAccess source(src, this);
    if (!source || pixels_.empty()) return;
    const MemoryImage& s = *source.image;
    if (!s.GetRect().ContainsRect(srcRect)) return;
    if (angle == 0.0) {
        BlitF(src, x, y, srcRect, clip.Intersection(GetRect()), color, drawMode);
        return;
    }
    Blit::AffineDraw draw;
    if (!Blit::SetUpRotation(x, y, angle, centreX, centreY, srcRect, clip.Intersection(GetRect()),
                             draw))
        return;
    AffineSpans(pixels_.data(), width_, s, srcRect, draw,
                SpanBlender(color, drawMode, IsOpaqueDestination()), linear);
    NoteDrawnInto();
}

void MemoryImage::BlitMatrix(Image* src, float x, float y, const Matrix3& m, const Rect& clip,
                             const Color& color, int drawMode, const Rect& srcRect, bool linear) {
    SourceAccess source(src, this);
    if (!source || pixels_.empty()) return;
    const MemoryImage& s = *source.image;
    if (!s.GetRect().ContainsRect(srcRect)) return;
    Blit::AffineDraw draw;
    if (!Blit::SetUpMatrix(x, y, m, srcRect, clip.Intersection(GetRect()), draw)) return;
    AffineSpans(pixels_.data(), width_, s, srcRect, draw,
                SpanBlender(color, drawMode, IsOpaqueDestination()), linear);
    NoteDrawnInto();
}

}  // namespace Orvane
