// The plain reference renderer: every primitive of MemoryImage written as a loop over
// destination pixels with the formulas of PixelMath.h and the sampling rules of Sampling.h,
// without runs, copies or vector code. Tests hold the fast paths against it.
#pragma once

#include "framework/graphics/MemoryImage.h"

namespace Orvane::Blit::Reference {

void FillRect(MemoryImage& dest, const Rect& rect, const Color& color, int drawMode);
void Blit(MemoryImage& dest, const MemoryImage& src, int x, int y, const Rect& srcRect,
          const Color& color, int drawMode);
void BlitMirror(MemoryImage& dest, const MemoryImage& src, int x, int y, const Rect& srcRect,
                const Rect& clip, const Color& color, int drawMode);
void StretchBlit(MemoryImage& dest, const MemoryImage& src, const Rect& destRect,
                 const Rect& srcRect, const Rect& clip, const Color& color, int drawMode,
                 bool linear);
void BlitRotated(MemoryImage& dest, const MemoryImage& src, float x, float y, const Rect& clip,
                 const Color& color, int drawMode, double angle, float centreX, float centreY,
                 const Rect& srcRect, bool linear);
void BlitMatrix(MemoryImage& dest, const MemoryImage& src, float x, float y, const Matrix3& m,
                const Rect& clip, const Color& color, int drawMode, const Rect& srcRect,
                bool linear);

}  // namespace Orvane::Blit::Reference
