#include "Style.h"

#include <cmath>

namespace content::style {

static void Stop(cairo_pattern_t* p, double at, uint32_t rgb, double alpha) {
  cairo_pattern_add_color_stop_rgba(p, at, ((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0,
                                    (rgb & 255) / 255.0, alpha);
}

void VerticalGradient(cairo_t* cr, double y0, double y1, uint32_t top, uint32_t bottom, double alpha) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
  Stop(g, 0, top, alpha);
  Stop(g, 1, bottom, alpha);
  cairo_set_source(cr, g);
  cairo_pattern_destroy(g);
}

void IconTile(cairo_t* cr, double side) {
  const double k = side / 64.0;
  RoundedRect(cr, 2 * k, 2 * k, 60 * k, 60 * k, 14 * k);
  VerticalGradient(cr, 0, side, kSky, 0x2A78D8);
  cairo_fill_preserve(cr);
  SetRgb(cr, kPlum);
  cairo_set_line_width(cr, 2.5 * k);
  cairo_stroke(cr);
}

void Panel(cairo_t* cr, double x, double y, double w, double h, double radius, double alpha) {
  cairo_save(cr);
  // Shadow.
  for (int i = 4; i >= 1; --i) {
    RoundedRect(cr, x + 2 - i * 0.5, y + 4 - i * 0.5, w + i, h + i, radius + i);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.06);
    cairo_fill(cr);
  }
  // Gold rim.
  RoundedRect(cr, x, y, w, h - 3, radius);
  VerticalGradient(cr, y, y + h, 0xFFE27A, kGoldDark);
  cairo_fill(cr);
  // Body.
  RoundedRect(cr, x + 4, y + 4, w - 8, h - 11, radius - 3);
  VerticalGradient(cr, y, y + h, kPlumLight, kPlum, alpha);
  cairo_fill(cr);
  // Soft top sheen.
  RoundedRect(cr, x + 7, y + 7, w - 14, std::min(h * 0.35, 60.0), radius - 5);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y + 7, 0, y + 7 + std::min(h * 0.35, 60.0));
  cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.14);
  cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0.0);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_restore(cr);
}

void Well(cairo_t* cr, double x, double y, double w, double h, double radius) {
  cairo_save(cr);
  RoundedRect(cr, x, y, w, h, radius);
  VerticalGradient(cr, y, y + h, 0x1A0F2C, 0x2E1D48, 0.9);
  cairo_fill(cr);
  // Inner shadow at the top, light lip at the bottom.
  RoundedRect(cr, x + 1, y + 1, w - 2, h - 2, radius - 1);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgba(g, 0, 0, 0, 0, 0.5);
  cairo_pattern_add_color_stop_rgba(g, 0.3, 0, 0, 0, 0.0);
  cairo_pattern_add_color_stop_rgba(g, 0.9, 1, 1, 1, 0.0);
  cairo_pattern_add_color_stop_rgba(g, 1.0, 1, 1, 1, 0.25);
  cairo_set_source(cr, g);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_pattern_destroy(g);
  cairo_restore(cr);
}

void GlossyPill(cairo_t* cr, double x, double y, double w, double h, double radius, uint32_t top, uint32_t bottom,
                bool glow) {
  cairo_save(cr);
  if (glow) {
    for (int i = 6; i >= 1; --i) {
      RoundedRect(cr, x - i, y - i, w + 2 * i, h + 2 * i, radius + i);
      cairo_set_source_rgba(cr, 1.0, 0.93, 0.6, 0.07);
      cairo_fill(cr);
    }
  }
  // Drop shadow.
  RoundedRect(cr, x + 1, y + 3, w - 2, h - 2, radius);
  cairo_set_source_rgba(cr, 0.1, 0.04, 0.18, 0.45);
  cairo_fill(cr);
  // Outline and body.
  RoundedRect(cr, x, y, w, h - 3, radius);
  SetRgb(cr, kPlum);
  cairo_fill(cr);
  RoundedRect(cr, x + 3, y + 3, w - 6, h - 9, radius - 3);
  VerticalGradient(cr, y + 3, y + h - 6, top, bottom);
  cairo_fill(cr);
  // Gloss on the upper half.
  RoundedRect(cr, x + 7, y + 5, w - 14, (h - 9) * 0.45, std::max(2.0, radius - 6));
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y + 5, 0, y + 5 + (h - 9) * 0.45);
  cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.55);
  cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0.08);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_restore(cr);
}

void Gem(cairo_t* cr, double cx, double cy, double r, uint32_t light, uint32_t dark) {
  cairo_save(cr);
  cairo_arc(cr, cx + 1, cy + 2.5, r, 0, 2 * M_PI);
  cairo_set_source_rgba(cr, 0.1, 0.04, 0.18, 0.45);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  SetRgb(cr, kPlum);
  cairo_fill(cr);
  cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.35, r * 0.1, cx, cy, r);
  Stop(g, 0, light, 1);
  Stop(g, 1, dark, 1);
  cairo_arc(cr, cx, cy, r - 2.5, 0, 2 * M_PI);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_save(cr);
  cairo_translate(cr, cx - r * 0.05, cy - r * 0.45);
  cairo_scale(cr, r * 0.6, r * 0.35);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_pattern_t* s = cairo_pattern_create_linear(0, cy - r * 0.8, 0, cy - r * 0.1);
  cairo_pattern_add_color_stop_rgba(s, 0, 1, 1, 1, 0.7);
  cairo_pattern_add_color_stop_rgba(s, 1, 1, 1, 1, 0.05);
  cairo_set_source(cr, s);
  cairo_fill(cr);
  cairo_pattern_destroy(s);
  cairo_restore(cr);
}

}  // namespace content::style
