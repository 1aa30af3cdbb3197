#include "framework/graphics/Image.h"

namespace Orvane {

// The base image has no pixels: every primitive draws nothing.
void Image::FillRect(const Rect&, const Color&, int) {}
void Image::DrawLine(double, double, double, double, const Rect&, const Color&, int) {}
void Image::Blit(Image*, int, int, const Rect&, const Color&, int) {}
void Image::BlitF(Image*, float, float, const Rect&, const Rect&, const Color&, int) {}
void Image::BlitMirror(Image*, int, int, const Rect&, const Rect&, const Color&, int) {}
void Image::BlitRotated(Image*, float, float, const Rect&, const Color&, int, double, float,
                        float, const Rect&, bool) {}
void Image::StretchBlit(Image*, const Rect&, const Rect&, const Rect&, const Color&, int, bool) {}
void Image::BlitMatrix(Image*, float, float, const Matrix3&, const Rect&, const Color&, int,
                       const Rect&, bool) {}

}  // namespace Orvane
