// Where the pointer is in relation to menu items. Items are rectangles given by centre and
// size in screen fractions; the pointer is in pixels of the logical screen. The borders belong
// to no item: the tests are strict on all four sides.
#pragma once

namespace MenuGeometry {

// truncate(v) toward zero, saturated to the int range (NaN gives 0), so that absurd sizes
// read from a file cannot overflow.
int TruncateToInt(double v);

// Whether pixel (px, py) lies strictly inside the rectangle centred at (xc, yc), w x h.
bool Inside(int px, int py, float xc, float yc, float w, float h, int screenW, int screenH);

// Slider value at the pointer: the position across the track (0 at its left end, 1 at its
// right end) when the pointer is inside the track, else -1.
float SliderValueAt(int px, int py, float xc, float yc, float trackW, float trackH, int screenW,
                    int screenH);

}  // namespace MenuGeometry
