// The one look of the game: colours and the recurring pieces (glossy pills, plum panels with
// a gold rim, gems) that every generated picture is built from.
#pragma once

#include "Canvas.h"

namespace content::style {

constexpr uint32_t kPlum = 0x3A2458;       // outlines, panel body
constexpr uint32_t kPlumLight = 0x5A3C86;
constexpr uint32_t kGold = 0xFFC83D;
constexpr uint32_t kGoldDark = 0xC98A12;
constexpr uint32_t kCream = 0xFFF6E0;
constexpr uint32_t kOrange = 0xFF8A3D;
constexpr uint32_t kOrangeLight = 0xFFB35C;
constexpr uint32_t kGreen = 0x5BBF4A;
constexpr uint32_t kGreenLight = 0x9BE06A;
constexpr uint32_t kSky = 0x4FB3E8;

// A vertical two-colour gradient as the current source.
void VerticalGradient(cairo_t* cr, double y0, double y1, uint32_t top, uint32_t bottom, double alpha = 1.0);
// Plum panel with a gold rim and a soft drop shadow, drawn inside (x, y, w, h).
void Panel(cairo_t* cr, double x, double y, double w, double h, double radius, double alpha = 0.92);
// A recessed dark well (for numbers and grooves).
void Well(cairo_t* cr, double x, double y, double w, double h, double radius);
// A glossy pill or rounded button body in the given colours.
void GlossyPill(cairo_t* cr, double x, double y, double w, double h, double radius, uint32_t top, uint32_t bottom,
                bool glow);
// The tile of the game's icon: a sky-blue rounded square with a plum rim, filling a square of
// the given side at the origin.
void IconTile(cairo_t* cr, double side);
// A round glossy gem.
void Gem(cairo_t* cr, double cx, double cy, double r, uint32_t light, uint32_t dark);

}  // namespace content::style
