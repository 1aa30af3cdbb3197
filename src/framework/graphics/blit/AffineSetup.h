// Setting up rotated and transformed draws: the inverse mapping from destination pixels to
// the source rectangle, and the destination box the draw can touch. Shared by the fast path
// and the plain reference so both agree on every sampled position.
#pragma once

#include "framework/graphics/Rect.h"
#include "framework/graphics/Transform2D.h"
#include "framework/graphics/blit/Sampling.h"

namespace Orvane::Blit {

struct AffineDraw {
    AffineMap inverse;   // destination pixel centre -> source position
    Rect bounds;         // destination pixels the draw may touch (clipped)
};

// srcRect (width x height) with its top left at (x, y), turned by angle (radians) about
// (x + centreX, y + centreY). False when nothing can be drawn.
bool SetUpRotation(float x, float y, double angle, float centreX, float centreY,
                   const Rect& srcRect, const Rect& clip, AffineDraw& out);

// A source offset p from the centre of srcRect lands at m x p + (x, y).
bool SetUpMatrix(float x, float y, const Matrix3& m, const Rect& srcRect, const Rect& clip,
                 AffineDraw& out);

// The columns [i0, i1) of a row (starting at bounds.x) whose samples can be visible, for a
// sampler that reads around (u, v) with the given margin in source pixels.
void VisibleColumns(int64_t u, int64_t v, int64_t du, int64_t dv, int width, int srcWidth,
                    int srcHeight, double margin, int& i0, int& i1);

}  // namespace Orvane::Blit
