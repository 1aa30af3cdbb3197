#include "menu/MenuGeometry.h"

#include <climits>
#include <cmath>

namespace MenuGeometry {

int TruncateToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

bool Inside(int px, int py, float xc, float yc, float w, float h, int screenW, int screenH) {
    const float left = xc - w * 0.5f;
    const float top = yc - h * 0.5f;
    return px > TruncateToInt(static_cast<float>(screenW) * left) &&
           px < TruncateToInt((left + w) * static_cast<float>(screenW)) &&
           py > TruncateToInt(static_cast<float>(screenH) * top) &&
           py < TruncateToInt((top + h) * static_cast<float>(screenH));
}

float SliderValueAt(int px, int py, float xc, float yc, float trackW, float trackH, int screenW,
                    int screenH) {
    if (!Inside(px, py, xc, yc, trackW, trackH, screenW, screenH) || screenW <= 0) return -1.0f;
    const float left = xc - trackW * 0.5f;
    return (static_cast<float>(px) / static_cast<float>(screenW) - left) / trackW;
}

}  // namespace MenuGeometry
