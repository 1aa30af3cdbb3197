// Builds the pictures of the game screen into Graphics/ and the language folder: backgrounds,
// line tiles, bottom bar, frame, bonus shapes, meter, digits, stars, particles, the bug and
// the butterflies, arrow, stage cover, effects, loading bar and window icon. Each picture is
// drawn for the size, place and drawing mode at which the game draws it (see README.md).
//   gen_pictures <game folder> <language folder name>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "Canvas.h"
#include "Style.h"

using namespace content;
using namespace content::style;

namespace {

const std::string kTemplates = "/usr/share/tuxpaint/templates/";
std::string gGame;
std::string gLang;
int gFailures = 0;

void Save(const Surface& s, const std::string& name) {
  if (!SavePng(s, Join(gGame, name))) ++gFailures;
}
void SaveJ(const Surface& s, const std::string& name, int quality) {
  if (!SaveJpeg(s, Join(gGame, name), quality)) ++gFailures;
}

// --- Backgrounds -------------------------------------------------------------------------

// A photograph softened for play: slightly blurred, colour-graded toward warm light, with a
// gentle vignette, so the animals and lines in front of it stay the subject.
// Scales the colourfulness of an opaque picture (1 keeps it).
void Saturate(const Surface& s, double amount) {
  if (amount == 1.0) return;
  cairo_surface_flush(s.get());
  unsigned char* data = cairo_image_surface_get_data(s.get());
  const int stride = cairo_image_surface_get_stride(s.get());
  for (int y = 0; y < Height(s); ++y) {
    auto* p = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < Width(s); ++x) {
      const double r = (p[x] >> 16) & 255, g = (p[x] >> 8) & 255, b = p[x] & 255;
      const double l = 0.299 * r + 0.587 * g + 0.114 * b;
      auto c = [&](double v) { return static_cast<uint32_t>(std::clamp(l + (v - l) * amount, 0.0, 255.0) + 0.5); };
      p[x] = (p[x] & 0xFF000000u) | (c(r) << 16) | (c(g) << 8) | c(b);
    }
  }
  cairo_surface_mark_dirty(s.get());
}

Surface Photo(const std::string& file, int w, int h, double blur, double darken, uint32_t grade,
              double saturation = 1.15) {
  Surface src = LoadJpeg(kTemplates + file);
  if (!src) {
    ++gFailures;
    return NewSurface(w, h);
  }
  Surface out = NewSurface(w, h);
  Context cr = NewContext(out);
  PaintCover(cr.get(), src, 0, 0, w, h);
  if (blur > 0) {
    // Blur a padded copy so the edges keep their colour.
    Surface pad = NewSurface(w + 40, h + 40);
    Context pc = NewContext(pad);
    cairo_set_source_surface(pc.get(), out.get(), 20, 20);
    cairo_pattern_set_extend(cairo_get_source(pc.get()), CAIRO_EXTEND_PAD);
    cairo_paint(pc.get());
    BlurSurface(pad, blur);
    cairo_set_source_surface(cr.get(), pad.get(), -20, -20);
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr.get());
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_OVER);
  }
  Saturate(out, saturation);
  SetRgb(cr.get(), grade, 0.12);
  cairo_paint(cr.get());
  cairo_set_source_rgba(cr.get(), 0, 0, 0, darken);
  cairo_paint(cr.get());
  cairo_pattern_t* v = cairo_pattern_create_radial(w / 2.0, h / 2.0, std::min(w, h) * 0.35, w / 2.0, h / 2.0,
                                                   std::hypot(w, h) * 0.55);
  cairo_pattern_add_color_stop_rgba(v, 0, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(v, 1, 0.08, 0.03, 0.12, 0.45);
  cairo_set_source(cr.get(), v);
  cairo_paint(cr.get());
  cairo_pattern_destroy(v);
  return out;
}

void Backgrounds() {
  // The menu background is drawn at its own size over the whole screen.
  {
    // The meadow, warmer and more colourful, with soft morning light from the top left.
    Surface menu = Photo("sheep.jpg", 800, 600, 0.0, 0.0, 0xFFC870, 1.2);
    Context cr = NewContext(menu);
    cairo_pattern_t* sun = cairo_pattern_create_radial(120, 40, 10, 120, 40, 520);
    cairo_pattern_add_color_stop_rgba(sun, 0, 1, 0.95, 0.75, 0.45);
    cairo_pattern_add_color_stop_rgba(sun, 1, 1, 0.95, 0.75, 0.0);
    cairo_set_source(cr.get(), sun);
    cairo_paint(cr.get());
    cairo_pattern_destroy(sun);
    SaveJ(menu, "Graphics/back_menu.jpg", 88);
  }
  // Game backgrounds are stretched to 0.86 x 0.86 of the screen: 688 x 516 pixels.
  const char* files[5] = {"sun_behind_leaves.jpg", "mossy_log.jpg", "ocean_waves.jpg", "redwoods_above.jpg",
                          "trees_at_dusk.jpg"};
  for (int i = 0; i < 5; ++i)
    SaveJ(Photo(files[i], 688, 516, 2.0, 0.12, 0xFFD890),
          "Graphics/back_game0" + std::to_string(i + 1) + ".jpg", 88);
}

// --- Field lines ------------------------------------------------------------------------

// A line tile is drawn at its own size (95 x 600) six times, 95 pixels apart, so only the
// 95 rows in its middle (253..347) are painted: together they form one seamless column.
constexpr int kLineW = 95, kLineH = 600, kBandTop = 253, kBandH = 95;

void Lines() {
  const uint32_t colours[6][2] = {{0xFF7A6B, 0xE0474A}, {0xFFB65A, 0xEE8420}, {0xFFE066, 0xE8B81C},
                                  {0x8FE07A, 0x4FB044}, {0x6CCBF2, 0x3390D6}, {0xB994F2, 0x8257D4}};
  for (int i = 0; i < 6; ++i) {
    Surface s = NewSurface(kLineW, kLineH);
    Context c = NewContext(s);
    cairo_t* cr = c.get();
    cairo_rectangle(cr, 0, kBandTop, kLineW, kBandH);
    cairo_clip(cr);
    // Horizontal profile: a gap of 2 px between columns, a light left lip, a dark right lip.
    cairo_pattern_t* g = cairo_pattern_create_linear(2, 0, kLineW - 2, 0);
    const double r1 = ((colours[i][0] >> 16) & 255) / 255.0, g1 = ((colours[i][0] >> 8) & 255) / 255.0,
                 b1 = (colours[i][0] & 255) / 255.0;
    const double r2 = ((colours[i][1] >> 16) & 255) / 255.0, g2 = ((colours[i][1] >> 8) & 255) / 255.0,
                 b2 = (colours[i][1] & 255) / 255.0;
    // Nearly opaque: the game draws the six tiles at whole pixels and one pair overlaps by a
    // row, which must not show as a stripe across the field.
    cairo_pattern_add_color_stop_rgba(g, 0.0, r2, g2, b2, 0.92);
    cairo_pattern_add_color_stop_rgba(g, 0.18, r1, g1, b1, 0.86);
    cairo_pattern_add_color_stop_rgba(g, 0.5, r1, g1, b1, 0.82);
    cairo_pattern_add_color_stop_rgba(g, 0.82, r1, g1, b1, 0.86);
    cairo_pattern_add_color_stop_rgba(g, 1.0, r2, g2, b2, 0.92);
    cairo_rectangle(cr, 2, kBandTop, kLineW - 4, kBandH);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_rectangle(cr, 3, kBandTop, 2, kBandH);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
    cairo_fill(cr);
    cairo_rectangle(cr, kLineW - 5, kBandTop, 2, kBandH);
    cairo_set_source_rgba(cr, 0.15, 0.05, 0.2, 0.35);
    cairo_fill(cr);
    // A faint sheen stripe, the same on every tile so the column stays seamless.
    cairo_rectangle(cr, 14, kBandTop, 10, kBandH);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
    cairo_fill(cr);
    Save(s, "Graphics/line" + std::to_string(i + 1) + ".png");
  }
  // The removed-line overlay: drawn additively at its own size over each tile while the line
  // fades, so it is a white glow on transparent black with a few sparkles.
  Surface s = NewSurface(kLineW, kLineH);
  Context c = NewContext(s);
  cairo_t* cr = c.get();
  cairo_rectangle(cr, 0, kBandTop, kLineW, kBandH);
  cairo_clip(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, kLineW, 0);
  cairo_pattern_add_color_stop_rgba(g, 0.0, 1, 0.9, 0.6, 0.25);
  cairo_pattern_add_color_stop_rgba(g, 0.5, 1, 1, 0.92, 0.85);
  cairo_pattern_add_color_stop_rgba(g, 1.0, 1, 0.9, 0.6, 0.25);
  cairo_rectangle(cr, 0, kBandTop, kLineW, kBandH);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  Rng rng(77);
  for (int k = 0; k < 7; ++k) {
    const double x = rng.Uniform(12, kLineW - 12), y = kBandTop + rng.Uniform(8, kBandH - 8);
    StarPath(cr, x, y, rng.Uniform(4, 8), 1.5, 4, 0);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
    cairo_fill(cr);
  }
  Save(s, "Graphics/line_a.png");
}

// --- Bottom bar and frame ----------------------------------------------------------------

// The bottom bar is drawn at its own size centred at (472, 549): 800 x 78 pixels cover
// x 72..872 and y 510..588. Panel shapes queue along its middle from x 240 rightwards.
void BottomBar() {
  const int w = 800, h = 78;
  Surface s = NewSurface(w, h);
  Context c = NewContext(s);
  cairo_t* cr = c.get();
  VerticalGradient(cr, 0, h, kPlumLight, kPlum);
  cairo_paint(cr);
  // The tray the animals ride in.
  RoundedRect(cr, 150, 5, w - 140, h - 10, 14);
  VerticalGradient(cr, 5, h - 5, 0x241538, 0x3E2862);
  cairo_fill(cr);
  RoundedRect(cr, 150, 5, w - 140, h - 10, 14);
  cairo_set_line_width(cr, 2);
  cairo_set_source_rgba(cr, 1, 0.85, 0.4, 0.55);
  cairo_stroke(cr);
  // Dotted guide along the tray.
  for (int x = 170; x < w; x += 24) {
    cairo_arc(cr, x, h - 12, 1.6, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
    cairo_fill(cr);
  }
  // Top edge highlight and bottom shade.
  cairo_rectangle(cr, 0, 0, w, 2);
  cairo_set_source_rgba(cr, 1, 0.86, 0.45, 0.9);
  cairo_fill(cr);
  cairo_rectangle(cr, 0, h - 2, w, 2);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
  cairo_fill(cr);
  SaveJ(s, "Graphics/am_bottom_bar.jpg", 92);
}

// Where the frame's left panel puts its displays (pixels of the 800 x 600 screen); README.md
// gives the same places as screen fractions for the in-game menu.
struct Slot { const char* label; double cy; double h; };
const Slot kSlots[] = {{"LEVEL", 150, 46}, {"SCORE", 240, 46}, {"TIME", 330, 46}, {"PROGRESS", 414, 30}};
constexpr double kPanelW = 180;

void Frame() {
  const int w = 800, h = 600;
  Surface s = NewSurface(w, h);
  Context c = NewContext(s);
  cairo_t* cr = c.get();
  // Outer body with the field window cut out (even-odd fill).
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_rectangle(cr, 0, 0, w, h);
  RoundedRect(cr, kPanelW + 2, 6, w - kPanelW - 2 - 7, 588 - 6, 16);
  VerticalGradient(cr, 0, h, kPlumLight, kPlum);
  cairo_fill(cr);
  // Gold rim around the window.
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  RoundedRect(cr, kPanelW + 2 - 3, 3, w - kPanelW - 2 - 7 + 6, 588 - 6 + 6, 19);
  cairo_set_line_width(cr, 4);
  VerticalGradient(cr, 0, h, 0xFFE27A, kGoldDark);
  cairo_stroke(cr);
  RoundedRect(cr, kPanelW + 2, 6, w - kPanelW - 2 - 7, 588 - 6, 16);
  cairo_set_line_width(cr, 1.5);
  cairo_set_source_rgba(cr, 0.1, 0.04, 0.18, 0.8);
  cairo_stroke(cr);
  // Inner shadow falling onto the field.
  for (int i = 1; i <= 6; ++i) {
    RoundedRect(cr, kPanelW + 2 + i, 6 + i, w - kPanelW - 2 - 7 - 2 * i, 588 - 6 - 2 * i, 16 - i * 0.5);
    cairo_set_line_width(cr, 1.5);
    cairo_set_source_rgba(cr, 0.05, 0.02, 0.1, 0.16 - i * 0.022);
    cairo_stroke(cr);
  }
  // Panel ornaments: a soft light column and the logo.
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, kPanelW, 0);
  cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.0);
  cairo_pattern_add_color_stop_rgba(g, 0.5, 1, 1, 1, 0.06);
  cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0.0);
  cairo_rectangle(cr, 0, 0, kPanelW, h);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  TextStyle title;
  title.size = 36;
  title.fill = kGold;
  title.gradient = true;
  title.fillBottom = kOrange;
  title.outline = 0x22112F;
  title.outlineWidth = 3;
  DrawLabel(cr, "Nookvale", kPanelW / 2, 62, title);
  TextStyle label;
  label.size = 15;
  label.fill = 0xF3DDFF;
  label.outlineWidth = 0;
  label.shadowAlpha = 0.5;
  label.shadowOffset = 1.5;
  for (const Slot& slot : kSlots) {
    DrawLabel(cr, slot.label, kPanelW / 2, slot.cy - slot.h / 2 - 7, label);
    if (std::string(slot.label) != "PROGRESS") Well(cr, 18, slot.cy - slot.h / 2, kPanelW - 36, slot.h, 12);
    else Well(cr, 14, slot.cy - slot.h / 2, kPanelW - 28, slot.h, 10);
  }
  // The game draws the language's copy and looks the one in Graphics\ up when a level starts.
  Save(s, Join(gLang, "status-border.png"));
  Save(s, "Graphics/status-border.png");
}

// --- Meter, time glow, digits ------------------------------------------------------------

// Drawn at their own size at the meter item (a 146 x 18 bar inside the frame's well).
void Meter(const std::string& emptyName, const std::string& fullName, int w, int h, uint32_t light, uint32_t dark) {
  Surface e = NewSurface(w, h);
  {
    Context c = NewContext(e);
    cairo_t* cr = c.get();
    RoundedRect(cr, 0, 0, w, h, h / 2.0);
    VerticalGradient(cr, 0, h, 0x1A0F2C, 0x3A2758);
    cairo_fill(cr);
    RoundedRect(cr, 1, 1, w - 2, h - 2, h / 2.0 - 1);
    cairo_set_line_width(cr, 1.5);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.18);
    cairo_stroke(cr);
  }
  Surface f = NewSurface(w, h);
  {
    Context c = NewContext(f);
    cairo_t* cr = c.get();
    RoundedRect(cr, 2, 2, w - 4, h - 4, h / 2.0 - 2);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, w, 0);
    cairo_pattern_add_color_stop_rgb(g, 0, ((dark >> 16) & 255) / 255.0, ((dark >> 8) & 255) / 255.0,
                                     (dark & 255) / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, ((light >> 16) & 255) / 255.0, ((light >> 8) & 255) / 255.0,
                                     (light & 255) / 255.0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    RoundedRect(cr, 5, 3, w - 10, (h - 6) * 0.45, h / 4.0);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
    cairo_fill(cr);
    // Little bubbles make the fill look alive.
    for (int x = 14; x < w - 8; x += 18) {
      cairo_arc(cr, x, h * 0.62, 1.8, 0, 2 * M_PI);
      cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
      cairo_fill(cr);
    }
  }
  Save(e, emptyName);
  Save(f, fullName);
}

void RoundTime() {
  // A warm pulsing glow behind the time display (drawn at its own size, alpha pulsing).
  const int w = 170, h = 64;
  Surface s = NewSurface(w, h);
  Context c = NewContext(s);
  cairo_t* cr = c.get();
  cairo_save(cr);
  cairo_translate(cr, w / 2.0, h / 2.0);
  cairo_scale(cr, w / 2.0, h / 2.0);
  cairo_pattern_t* g = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
  cairo_pattern_add_color_stop_rgba(g, 0, 1.0, 0.35, 0.2, 0.85);
  cairo_pattern_add_color_stop_rgba(g, 0.55, 1.0, 0.25, 0.15, 0.55);
  cairo_pattern_add_color_stop_rgba(g, 1, 1.0, 0.2, 0.1, 0.0);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_restore(cr);
  Save(s, "Graphics/round_time.png");
}

void Digits() {
  // Ten equal cells "0123456789"; flying score figures use them at 0.75 of this size.
  const int cw = 34, ch = 48;
  Surface s = NewSurface(cw * 10, ch);
  Context c = NewContext(s);
  TextStyle st;
  st.size = 42;
  st.fill = 0xFFF3B0;
  st.gradient = true;
  st.fillBottom = 0xFFB020;
  st.outline = kPlum;
  st.outlineWidth = 3;
  st.shadowAlpha = 0.4;
  for (int d = 0; d < 10; ++d) DrawLabel(c.get(), std::string(1, '0' + d), cw * d + cw / 2.0, 39, st);
  Save(s, "Graphics/digits.png");
}

// --- Bonus shapes, stars, particles, effects ---------------------------------------------

void Bonuses() {
  // Panel and hand pictures of the three bonus kinds: 71 x 71 like the animals.
  for (int k = 1; k <= 3; ++k) {
    Surface s = NewSurface(71, 71);
    Context c = NewContext(s);
    cairo_t* cr = c.get();
    const double cx = 35.5, cy = 34.5;
    // Soft glow so bonuses stand out in the panel.
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 20, cx, cy, 35);
    cairo_pattern_add_color_stop_rgba(glow, 0, 1, 0.95, 0.6, 0.6);
    cairo_pattern_add_color_stop_rgba(glow, 1, 1, 0.95, 0.6, 0.0);
    cairo_set_source(cr, glow);
    cairo_paint(cr);
    cairo_pattern_destroy(glow);
    if (k == 1) {
      // Any shape: a golden star gem with a question mark.
      Gem(cr, cx, cy, 27, 0xC9A2FF, 0x6A33C2);
      StarPath(cr, cx, cy + 1, 19, 8.5, 5, 0);
      SetRgb(cr, kPlum);
      cairo_set_line_width(cr, 3);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
      cairo_stroke_preserve(cr);
      VerticalGradient(cr, cy - 19, cy + 19, 0xFFF08A, 0xFFB020);
      cairo_fill(cr);
      TextStyle q;
      q.size = 18;
      q.fill = kPlum;
      q.outlineWidth = 0;
      q.shadowAlpha = 0;
      DrawLabel(cr, "?", cx, cy + 8, q);
    } else if (k == 2) {
      // Band: a blue gem with a double arrow along the line.
      Gem(cr, cx, cy, 27, 0x9BE3FF, 0x1E73C8);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
      cairo_move_to(cr, cx, cy - 20);
      cairo_line_to(cr, cx + 10, cy - 8);
      cairo_line_to(cr, cx + 4, cy - 8);
      cairo_line_to(cr, cx + 4, cy + 8);
      cairo_line_to(cr, cx + 10, cy + 8);
      cairo_line_to(cr, cx, cy + 20);
      cairo_line_to(cr, cx - 10, cy + 8);
      cairo_line_to(cr, cx - 4, cy + 8);
      cairo_line_to(cr, cx - 4, cy - 8);
      cairo_line_to(cr, cx - 10, cy - 8);
      cairo_close_path(cr);
      SetRgb(cr, kPlum);
      cairo_set_line_width(cr, 3);
      cairo_stroke_preserve(cr);
      SetRgb(cr, 0xFFFFFF);
      cairo_fill(cr);
    } else {
      // Area: an orange gem with a flower of seven cells.
      Gem(cr, cx, cy, 27, 0xFFD08A, 0xE0521E);
      for (int i = 0; i < 7; ++i) {
        const double a = i * M_PI / 3, r = i == 6 ? 0 : 11;
        cairo_arc(cr, cx + r * std::cos(a), cy + r * std::sin(a), 5.5, 0, 2 * M_PI);
        SetRgb(cr, kPlum);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke_preserve(cr);
        SetRgb(cr, i == 6 ? 0xFFE066 : 0xFFFFFF);
        cairo_fill(cr);
      }
    }
    Save(s, "Graphics/am_bonus0" + std::to_string(k) + ".png");
  }
}

// A sparkle: a soft glow with a sharp star of the given points.
Surface Sparkle(int size, int points, double inner, uint32_t core, uint32_t glowRgb, double rotation) {
  Surface s = NewSurface(size, size);
  Context c = NewContext(s);
  cairo_t* cr = c.get();
  const double m = size / 2.0;
  cairo_pattern_t* g = cairo_pattern_create_radial(m, m, 0, m, m, m);
  cairo_pattern_add_color_stop_rgba(g, 0, ((glowRgb >> 16) & 255) / 255.0, ((glowRgb >> 8) & 255) / 255.0,
                                    (glowRgb & 255) / 255.0, 0.75);
  cairo_pattern_add_color_stop_rgba(g, 1, ((glowRgb >> 16) & 255) / 255.0, ((glowRgb >> 8) & 255) / 255.0,
                                    (glowRgb & 255) / 255.0, 0.0);
  cairo_set_source(cr, g);
  cairo_paint(cr);
  cairo_pattern_destroy(g);
  StarPath(cr, m, m, m * 0.92, m * inner, points, rotation);
  cairo_pattern_t* f = cairo_pattern_create_radial(m, m, 0, m, m, m * 0.9);
  cairo_pattern_add_color_stop_rgba(f, 0, 1, 1, 1, 1);
  cairo_pattern_add_color_stop_rgba(f, 1, ((core >> 16) & 255) / 255.0, ((core >> 8) & 255) / 255.0,
                                    (core & 255) / 255.0, 1);
  cairo_set_source(cr, f);
  cairo_fill(cr);
  cairo_pattern_destroy(f);
  return s;
}

// The turning star of the score figures: eight frames side by side, each turned a further
// eighth of the star's own symmetry (an eight-point star repeats every 45 degrees), so that
// the sheet played frame by frame turns the star smoothly.
Surface TurningStar(int frameSize, int frames) {
  Surface sheet = NewSurface(frameSize * frames, frameSize);
  Context c = NewContext(sheet);
  for (int f = 0; f < frames; ++f) {
    const double turn = (M_PI / 4.0) * f / frames;
    Surface frame = Sparkle(frameSize, 8, 0.28, 0xFFC83D, 0xFFE9A0, turn);
    cairo_set_source_surface(c.get(), frame.get(), frameSize * f, 0);
    cairo_paint(c.get());
  }
  return sheet;
}

void Effects() {
  Save(TurningStar(96, 8), "Graphics/star-rotation.png");
  Save(Sparkle(48, 5, 0.45, 0xFFB020, 0xFFE27A, 0), "Graphics/particle1.png");
  Save(Sparkle(48, 4, 0.22, 0x7FD3FF, 0xC8F0FF, 0), "Graphics/particle2.png");
  Save(Sparkle(32, 4, 0.2, 0xFFFFFF, 0xFFFFFF, M_PI / 4), "Graphics/particleq.png");
  Save(Sparkle(32, 6, 0.4, 0xFF8AC8, 0xFFD0EA, 0), "Graphics/particleq2.png");
  {
    // Ten of these circle the stage marker on the map (drawn 29 x 29).
    Surface s = NewSurface(32, 32);
    Context c = NewContext(s);
    StarPath(c.get(), 16, 16.5, 14, 6.2, 5, 0);
    SetRgb(c.get(), kPlum);
    cairo_set_line_width(c.get(), 2.5);
    cairo_set_line_join(c.get(), CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(c.get());
    VerticalGradient(c.get(), 2, 30, 0xFFF08A, 0xFFA51C);
    cairo_fill(c.get());
    Save(s, "Graphics/am_effect_star.png");
  }
  {
    // The chomp of the game-complete parade: a white puff with a bright bite burst.
    Surface s = NewSurface(96, 96);
    Context c = NewContext(s);
    cairo_t* cr = c.get();
    Rng rng(5);
    StarPath(cr, 48, 48, 46, 26, 12, 0.1);
    VerticalGradient(cr, 2, 94, 0xFFF08A, 0xFF9A2A, 0.9);
    cairo_fill(cr);
    for (int i = 0; i < 9; ++i) {
      const double a = i * 2 * M_PI / 9 + rng.Uniform(-0.2, 0.2);
      const double r = rng.Uniform(14, 22);
      cairo_arc(cr, 48 + r * std::cos(a), 48 + r * std::sin(a), rng.Uniform(12, 17), 0, 2 * M_PI);
      cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
      cairo_fill(cr);
    }
    cairo_arc(cr, 48, 48, 18, 0, 2 * M_PI);
    SetRgb(cr, 0xFFFFFF);
    cairo_fill(cr);
    Save(s, "Graphics/am_effect_chomp.png");
  }
}

// --- Bug and butterflies -----------------------------------------------------------------

// The ladybird that carries animals away, seen from above, walking to the right. 9 x 6 frames
// of 57 x 57 pixels (its drawn size); the legs make three steps per cycle.
void Bug() {
  const int cell = 57, cols = 9, rows = 6;
  Surface s = NewSurface(cell * cols, cell * rows);
  Context c = NewContext(s);
  cairo_t* cr = c.get();
  for (int f = 0; f < cols * rows; ++f) {
    const double phase = f * 2 * M_PI * 3 / (cols * rows);
    cairo_save(cr);
    cairo_translate(cr, (f % cols) * cell + cell / 2.0, (f / cols) * cell + cell / 2.0);
    cairo_translate(cr, 0, std::sin(phase * 2) * 0.6);
    // Shadow.
    cairo_save(cr);
    cairo_translate(cr, 1.5, 3);
    cairo_scale(cr, 19, 16);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.3);
    cairo_fill(cr);
    // Legs: three per side, alternating.
    cairo_set_line_width(cr, 2.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetRgb(cr, 0x1C1024);
    for (int side = -1; side <= 1; side += 2)
      for (int k = 0; k < 3; ++k) {
        const double base = -8 + k * 8;
        const double swing = std::sin(phase + k * M_PI + (side > 0 ? M_PI : 0)) * 5;
        cairo_move_to(cr, base, side * 8);
        cairo_line_to(cr, base + swing + (k - 1) * 3, side * 19);
        cairo_line_to(cr, base + swing * 1.2 + (k - 1) * 5, side * 23);
        cairo_stroke(cr);
      }
    // Head and antennae.
    cairo_arc(cr, 15, 0, 8, 0, 2 * M_PI);
    SetRgb(cr, 0x1C1024);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1.6);
    for (int side = -1; side <= 1; side += 2) {
      const double wave = std::sin(phase * 2 + side) * 2;
      cairo_move_to(cr, 20, side * 3);
      cairo_curve_to(cr, 25, side * 5, 26, side * (8 + wave), 27, side * (11 + wave));
      cairo_stroke(cr);
      cairo_arc(cr, 27, side * (11 + wave), 1.8, 0, 2 * M_PI);
      cairo_fill(cr);
    }
    cairo_arc(cr, 18, -3.5, 2, 0, 2 * M_PI);
    cairo_arc(cr, 18, 3.5, 2, 0, 2 * M_PI);
    SetRgb(cr, 0xFFFFFF);
    cairo_fill(cr);
    // Shell.
    cairo_save(cr);
    cairo_scale(cr, 17, 15);
    cairo_arc(cr, -0.1, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    SetRgb(cr, 0x1C1024);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_scale(cr, 15.5, 13.5);
    cairo_arc(cr, -0.1, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* g = cairo_pattern_create_radial(-5, -5, 1, 0, 0, 17);
    cairo_pattern_add_color_stop_rgb(g, 0, 1.0, 0.55, 0.45);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.82, 0.08, 0.12);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_move_to(cr, 13, 0);
    cairo_line_to(cr, -17, 0);
    cairo_set_line_width(cr, 1.6);
    SetRgb(cr, 0x1C1024);
    cairo_stroke(cr);
    const double spots[][3] = {{6, -7, 3}, {6, 7, 3}, {-4, -8, 3.4}, {-4, 8, 3.4}, {-11, -4, 2.6}, {-11, 4, 2.6}};
    for (auto& sp : spots) {
      cairo_arc(cr, sp[0], sp[1], sp[2], 0, 2 * M_PI);
      cairo_fill(cr);
    }
    cairo_arc(cr, 2, -6, 3, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  Save(s, "Graphics/bug_right.png");
}

// Four butterflies seen from above, flying left or right: 9 x 6 frames of 38 x 38 pixels
// (their drawn size); the wings beat four times per cycle.
void Butterflies() {
  const uint32_t wings[4][2] = {{0xFFB13D, 0xE0521E}, {0x7FD3FF, 0x2A78D8}, {0xFF9AD0, 0xD8338A}, {0xC8F07A, 0x4FA83A}};
  const int cell = 38, cols = 9, rows = 6;
  for (int b = 0; b < 4; ++b)
    for (int dir = 0; dir < 2; ++dir) {
      Surface s = NewSurface(cell * cols, cell * rows);
      Context c = NewContext(s);
      cairo_t* cr = c.get();
      for (int f = 0; f < cols * rows; ++f) {
        const double beat = std::cos(f * 2 * M_PI * 4 / (cols * rows));
        const double open = 0.25 + 0.75 * (beat * 0.5 + 0.5);  // wing spread across the body
        cairo_save(cr);
        cairo_translate(cr, (f % cols) * cell + cell / 2.0, (f / cols) * cell + cell / 2.0);
        if (dir == 0) cairo_scale(cr, -1, 1);  // left-facing copy
        for (int side = -1; side <= 1; side += 2) {
          cairo_save(cr);
          cairo_scale(cr, 1, side * open);
          // Fore wing and hind wing.
          cairo_move_to(cr, 2, 0);
          cairo_curve_to(cr, 4, -6, 12, -17, 4, -17);
          cairo_curve_to(cr, -2, -17, -3, -8, -1, 0);
          cairo_close_path(cr);
          cairo_move_to(cr, -1, 0);
          cairo_curve_to(cr, -6, -4, -14, -12, -10, -14);
          cairo_curve_to(cr, -5, -15, 0, -8, 1, 0);
          cairo_close_path(cr);
          cairo_restore(cr);
          cairo_pattern_t* g = cairo_pattern_create_radial(0, 0, 2, 0, 0, 17);
          cairo_pattern_add_color_stop_rgb(g, 0, ((wings[b][0] >> 16) & 255) / 255.0,
                                           ((wings[b][0] >> 8) & 255) / 255.0, (wings[b][0] & 255) / 255.0);
          cairo_pattern_add_color_stop_rgb(g, 1, ((wings[b][1] >> 16) & 255) / 255.0,
                                           ((wings[b][1] >> 8) & 255) / 255.0, (wings[b][1] & 255) / 255.0);
          cairo_set_source(cr, g);
          cairo_fill_preserve(cr);
          cairo_pattern_destroy(g);
          SetRgb(cr, 0x2A1636);
          cairo_set_line_width(cr, 1.3);
          cairo_stroke(cr);
          // Wing dots.
          cairo_save(cr);
          cairo_scale(cr, 1, side * open);
          cairo_arc(cr, 4, -12, 2.0, 0, 2 * M_PI);
          cairo_arc(cr, -7, -10, 1.6, 0, 2 * M_PI);
          cairo_restore(cr);
          cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
          cairo_fill(cr);
        }
        // Body and antennae, pointing the way it flies.
        cairo_save(cr);
        cairo_scale(cr, 9, 2.2);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        SetRgb(cr, 0x2A1636);
        cairo_fill(cr);
        cairo_set_line_width(cr, 1.0);
        cairo_move_to(cr, 8, -1);
        cairo_curve_to(cr, 11, -2, 13, -4, 14, -6);
        cairo_move_to(cr, 8, 1);
        cairo_curve_to(cr, 11, 2, 13, 4, 14, 6);
        cairo_stroke(cr);
        cairo_restore(cr);
      }
      Save(s, "Graphics/butterfly_anim" + std::to_string(b + 1) + (dir == 0 ? "_left.png" : "_right.png"));
    }
}

// --- Arrow, cover, loading bar, icon ---------------------------------------------------

void Arrow() {
  // Points down at the thing it shows (turned by the game when it must point up).
  Surface s = NewSurface(64, 64);
  Context c = NewContext(s);
  cairo_t* cr = c.get();
  cairo_move_to(cr, 22, 4);
  cairo_line_to(cr, 42, 4);
  cairo_line_to(cr, 42, 30);
  cairo_line_to(cr, 56, 30);
  cairo_line_to(cr, 32, 60);
  cairo_line_to(cr, 8, 30);
  cairo_line_to(cr, 22, 30);
  cairo_close_path(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 7);
  SetRgb(cr, 0xFFFFFF);
  cairo_stroke_preserve(cr);
  cairo_set_line_width(cr, 3.5);
  SetRgb(cr, kPlum);
  cairo_stroke_preserve(cr);
  VerticalGradient(cr, 4, 60, 0xFFE066, kOrange);
  cairo_fill(cr);
  Save(s, "Graphics/arrow.png");
}

void GreyCover() {
  // Laid over a locked stage button of the map, stretched to the button's size.
  Surface s = NewSurface(64, 64);
  Context c = NewContext(s);
  cairo_t* cr = c.get();
  cairo_arc(cr, 32, 32, 30, 0, 2 * M_PI);
  cairo_set_source_rgba(cr, 0.22, 0.2, 0.26, 0.78);
  cairo_fill(cr);
  // Padlock.
  cairo_set_line_width(cr, 4);
  cairo_arc(cr, 32, 28, 8, M_PI, 2 * M_PI);
  cairo_line_to(cr, 40, 31);
  cairo_move_to(cr, 24, 31);
  cairo_line_to(cr, 24, 28);
  cairo_set_source_rgba(cr, 0.92, 0.9, 0.95, 0.95);
  cairo_stroke(cr);
  RoundedRect(cr, 20, 30, 24, 18, 4);
  cairo_fill(cr);
  cairo_arc(cr, 32, 38, 2.6, 0, 2 * M_PI);
  cairo_set_source_rgba(cr, 0.22, 0.2, 0.26, 1);
  cairo_fill(cr);
  Save(s, "Graphics/grey.png");
}

void Icon() {
  Surface animal = LoadPng(Join(gGame, "Graphics/Shapes/penguin_1.png"));
  for (int size : {32, 64}) {
    Surface s = NewSurface(size, size);
    Context c = NewContext(s);
    cairo_t* cr = c.get();
    IconTile(cr, size);
    if (animal) PaintScaled(cr, animal, 0, size / 64.0, size / 71.0);
    Save(s, size == 64 ? "Graphics/icon.png" : "Graphics/icon32.png");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gen_pictures <game folder> <language folder name>\n");
    return 2;
  }
  gGame = argv[1];
  gLang = argv[2];
  Backgrounds();
  Lines();
  BottomBar();
  Frame();
  Meter("Graphics/progress-empty.png", "Graphics/progress-full.png", 146, 18, 0xB8F060, 0x3FA83A);
  Meter("Graphics/loading_empty.png", "Graphics/loading_full.png", 360, 30, 0xFFE066, 0xFF8A3D);
  RoundTime();
  Digits();
  Bonuses();
  Effects();
  Bug();
  Butterflies();
  Arrow();
  GreyCover();
  Icon();
  return gFailures == 0 ? 0 : 1;
}
