#include "framework/graphics/blit/AffineSetup.h"

#include <algorithm>
#include <cmath>

namespace Orvane::Blit {

namespace {

// Forward mapping as doubles: P = A p + t, p in source pixels from the source's top left.
struct Forward {
    double a, b, c, d, e, f;   // Px = a px + b py + c, Py = d px + e py + f
};

bool Finish(const Forward& fw, const Rect& srcRect, const Rect& clip, AffineDraw& out) {
    const double det = fw.a * fw.e - fw.b * fw.d;
    if (!std::isfinite(det) || std::fabs(det) < 1e-9 || srcRect.IsEmpty()) return false;
    // Inverse: p = A^-1 (P - t).
    const double ia = fw.e / det, ib = -fw.b / det, id = -fw.d / det, ie = fw.a / det;
    out.inverse.a = ia;
    out.inverse.b = ib;
    out.inverse.c = -(ia * fw.c + ib * fw.f);
    out.inverse.d = id;
    out.inverse.e = ie;
    out.inverse.f = -(id * fw.c + ie * fw.f);

    double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
    const double cornersX[4] = {0.0, double(srcRect.width), 0.0, double(srcRect.width)};
    const double cornersY[4] = {0.0, 0.0, double(srcRect.height), double(srcRect.height)};
    for (int k = 0; k < 4; ++k) {
        const double px = fw.a * cornersX[k] + fw.b * cornersY[k] + fw.c;
        const double py = fw.d * cornersX[k] + fw.e * cornersY[k] + fw.f;
        if (!std::isfinite(px) || !std::isfinite(py)) return false;
        minX = std::min(minX, px); maxX = std::max(maxX, px);
        minY = std::min(minY, py); maxY = std::max(maxY, py);
    }
    // One pixel of margin for filtering.
    const double lo = -1e9, hi = 1e9;
    const int left = static_cast<int>(std::clamp(std::floor(minX) - 1, lo, hi));
    const int top = static_cast<int>(std::clamp(std::floor(minY) - 1, lo, hi));
    const int right = static_cast<int>(std::clamp(std::ceil(maxX) + 1, lo, hi));
    const int bottom = static_cast<int>(std::clamp(std::ceil(maxY) + 1, lo, hi));
    const Rect box(left, top, right - left, bottom - top);
    out.bounds = box.Intersection(clip);
    return !out.bounds.IsEmpty();
}

}  // namespace

bool SetUpRotation(float x, float y, double angle, float centreX, float centreY,
                   const Rect& srcRect, const Rect& clip, AffineDraw& out) {
    if (!std::isfinite(angle)) return false;
    const double c = std::cos(angle), s = std::sin(angle);
    const double ox = double(x) + centreX, oy = double(y) + centreY;
    // P = o + R (p - centre), R = [[c, s], [-s, c]].
    Forward fw{c, s, ox - c * centreX - s * centreY, -s, c, oy + s * centreX - c * centreY};
    return Finish(fw, srcRect, clip, out);
}

bool SetUpMatrix(float x, float y, const Matrix3& m, const Rect& srcRect, const Rect& clip,
                 AffineDraw& out) {
    const double hx = srcRect.width * 0.5, hy = srcRect.height * 0.5;
    const double a = m.m[0][0], b = m.m[0][1], tx = m.m[0][2];
    const double d = m.m[1][0], e = m.m[1][1], ty = m.m[1][2];
    // P = M (p - centre) + (x, y).
    Forward fw{a, b, tx - a * hx - b * hy + x, d, e, ty - d * hx - e * hy + y};
    return Finish(fw, srcRect, clip, out);
}

void VisibleColumns(int64_t u, int64_t v, int64_t du, int64_t dv, int width, int srcWidth,
                    int srcHeight, double margin, int& i0, int& i1) {
    double lo = 0.0, hi = double(width);
    auto limit = [&](int64_t start, int64_t step, double minV, double maxV) {
        const double s = start / 65536.0, d = step / 65536.0;
        if (std::fabs(d) < 1e-12) {
            if (s < minV || s > maxV) { lo = 1.0; hi = 0.0; }
            return;
        }
        double a = (minV - s) / d, b = (maxV - s) / d;
        if (a > b) std::swap(a, b);
        lo = std::max(lo, std::floor(a));
        hi = std::min(hi, std::ceil(b) + 1.0);
    };
    limit(u, du, -margin, srcWidth + margin);
    limit(v, dv, -margin, srcHeight + margin);
    if (!(hi > lo)) { i0 = i1 = 0; return; }
    i0 = static_cast<int>(std::max(0.0, lo));
    i1 = static_cast<int>(std::min(double(width), hi));
    if (i1 < i0) i1 = i0;
}

}  // namespace Orvane::Blit
