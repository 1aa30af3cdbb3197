// Builds the pictures of the instruction pages: small scenes of play put together from the
// game's own pictures (lines, animals and their silhouettes, the bottom bar, the bonus shapes,
// the bug, the frame's time display), each on a rounded card. The pictures carry no words
// (the pages' texts are language keys), so they live in Graphics/.
//   gen_instructions <game folder>
// Writes Graphics/instr_take.png, instr_line.png (340 x 220) and instr_bonus_any.png,
// instr_bonus_band.png, instr_bonus_area.png, instr_bug.png, instr_clock.png,
// instr_transform.png (220 x 220).
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Style.h"

using namespace content;
using namespace content::style;

namespace {

std::string gGame;
int gFailures = 0;

// Scenes are drawn at three quarters of the game's size: a cell picture of 71 pixels becomes
// 53, the line pitch of 95 pixels 71.
constexpr double kScale = 0.75;
constexpr double kPitch = 95 * kScale;
constexpr double kCell = 71 * kScale;

Surface Picture(const std::string& name) {
  Surface s = name.size() > 4 && name.substr(name.size() - 4) == ".jpg" ? LoadJpeg(Join(gGame, name))
                                                                         : LoadPng(Join(gGame, name));
  if (!s) ++gFailures;
  return s;
}

// The card every scene sits on: the game's background photograph inside a cream frame.
void Card(cairo_t* cr, int w, int h, const Surface& background) {
  RoundedRect(cr, 1, 2, w - 2, h - 2, 16);
  cairo_set_source_rgba(cr, 0.05, 0.02, 0.1, 0.35);
  cairo_fill(cr);
  RoundedRect(cr, 0, 0, w - 2, h - 3, 16);
  SetRgb(cr, kCream);
  cairo_fill(cr);
  cairo_save(cr);
  RoundedRect(cr, 5, 5, w - 12, h - 13, 12);
  cairo_clip(cr);
  if (background) PaintCover(cr, background, 5, 5, w - 12, h - 13);
  cairo_restore(cr);
}

// Clips later drawing to the inside of the card.
void ClipToCard(cairo_t* cr, int w, int h) {
  RoundedRect(cr, 5, 5, w - 12, h - 13, 12);
  cairo_clip(cr);
}

// A line of the field between y0 and y1, centred at x: the painted band of a line picture
// (rows 253..347 of 600) repeated down the column, as the game tiles it.
void Line(cairo_t* cr, const Surface& line, double x, double y0, double y1) {
  if (!line) return;
  const double band0 = 253, band = 95;
  cairo_save(cr);
  cairo_rectangle(cr, x - kPitch / 2, y0, kPitch, y1 - y0);
  cairo_clip(cr);
  for (double y = y0 - band * kScale; y < y1; y += band * kScale) {
    cairo_save(cr);
    cairo_translate(cr, x - kPitch / 2, y);
    cairo_scale(cr, kScale, kScale);
    cairo_set_source_surface(cr, line.get(), 0, -band0);
    cairo_rectangle(cr, 0, 0, 95, band);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  cairo_restore(cr);
}

// A cell picture (animal, silhouette or bonus shape) centred at (x, y) at scene size.
void Shape(cairo_t* cr, const Surface& s, double x, double y, double scale = 1.0, double alpha = 1.0) {
  if (s) PaintScaled(cr, s, x - kCell * scale / 2, y - kCell * scale / 2, kScale * scale * 71.0 / Width(s), alpha);
}

// The mouse pointer, its tip at (x, y).
void Pointer(cairo_t* cr, double x, double y) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, 0, 22);
  cairo_line_to(cr, 5.5, 17);
  cairo_line_to(cr, 9.5, 26);
  cairo_line_to(cr, 13, 24.5);
  cairo_line_to(cr, 9, 15.5);
  cairo_line_to(cr, 16, 15.5);
  cairo_close_path(cr);
  SetRgb(cr, 0xFFFFFF);
  cairo_fill_preserve(cr);
  SetRgb(cr, kPlum);
  cairo_set_line_width(cr, 2);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
  cairo_restore(cr);
}

// A dashed curved arrow from (x0, y0) to (x1, y1), bulging by bend (pixels, to the left of
// the direction of travel).
void Arrow(cairo_t* cr, double x0, double y0, double x1, double y1, double bend) {
  const double mx = (x0 + x1) / 2, my = (y0 + y1) / 2;
  const double len = std::hypot(x1 - x0, y1 - y0);
  const double nx = (y0 - y1) / len, ny = (x1 - x0) / len;
  const double cx = mx + nx * bend, cy = my + ny * bend;
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int pass = 0; pass < 2; ++pass) {
    cairo_move_to(cr, x0, y0);
    cairo_curve_to(cr, cx, cy, cx, cy, x1, y1);
    const double dash[2] = {7, 7};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_line_width(cr, pass ? 3.5 : 7);
    SetRgb(cr, pass ? 0xFFFFFF : kPlum, pass ? 1.0 : 0.7);
    cairo_stroke(cr);
  }
  cairo_set_dash(cr, nullptr, 0, 0);
  // The head, along the curve's last direction.
  const double a = std::atan2(y1 - cy, x1 - cx);
  cairo_move_to(cr, x1 + 4 * std::cos(a), y1 + 4 * std::sin(a));
  cairo_line_to(cr, x1 - 12 * std::cos(a - 0.5), y1 - 12 * std::sin(a - 0.5));
  cairo_line_to(cr, x1 - 12 * std::cos(a + 0.5), y1 - 12 * std::sin(a + 0.5));
  cairo_close_path(cr);
  SetRgb(cr, 0xFFFFFF);
  cairo_fill_preserve(cr);
  SetRgb(cr, kPlum);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_restore(cr);
}

// A soft golden glow (placement highlight) around (x, y).
void Glow(cairo_t* cr, double x, double y, double r, double alpha = 0.8) {
  cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 0, x, y, r);
  cairo_pattern_add_color_stop_rgba(g, 0, 1, 0.95, 0.6, alpha);
  cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.85, 0.3, 0);
  cairo_set_source(cr, g);
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

// The additive glow of a line that is filled and vanishing, light enough to show its animals.
void LineGlow(cairo_t* cr, const Surface& glow, double x, double y0, double y1) {
  cairo_save(cr);
  cairo_push_group(cr);
  Line(cr, glow, x, y0, y1);
  cairo_pop_group_to_source(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  cairo_paint_with_alpha(cr, 0.35);
  cairo_restore(cr);
}

// A computer mouse with its right button lit, centred at (x, y).
void Mouse(cairo_t* cr, double x, double y) {
  const double w = 34, h = 48;
  cairo_save(cr);
  cairo_translate(cr, x - w / 2, y - h / 2);
  RoundedRect(cr, 0, 0, w, h, 16);
  SetRgb(cr, 0xFFFFFF);
  cairo_fill_preserve(cr);
  SetRgb(cr, kPlum);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  // The right button, lit.
  cairo_move_to(cr, w / 2, 1.5);
  cairo_line_to(cr, w / 2, h * 0.42);
  cairo_line_to(cr, w - 1.5, h * 0.42);
  cairo_line_to(cr, w - 1.5, 14);
  cairo_arc_negative(cr, w - 16, 16, 14.5, 0, -M_PI / 2);
  cairo_close_path(cr);
  SetRgb(cr, kOrange);
  cairo_fill(cr);
  cairo_move_to(cr, 0, h * 0.42);
  cairo_line_to(cr, w, h * 0.42);
  cairo_move_to(cr, w / 2, 0);
  cairo_line_to(cr, w / 2, h * 0.42);
  SetRgb(cr, kPlum);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_restore(cr);
}

// A turning arrow (a three-quarter circle with a head) around (x, y).
void TurnArrow(cairo_t* cr, double x, double y, double r) {
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int pass = 0; pass < 2; ++pass) {
    cairo_new_path(cr);
    cairo_arc(cr, x, y, r, -M_PI * 0.9, M_PI * 0.4);
    cairo_set_line_width(cr, pass ? 3.5 : 7);
    SetRgb(cr, pass ? kGold : kPlum);
    cairo_stroke(cr);
  }
  const double a = M_PI * 0.4;
  const double hx = x + r * std::cos(a), hy = y + r * std::sin(a);
  const double t = a + M_PI / 2;  // direction of travel
  cairo_move_to(cr, hx + 7 * std::cos(t), hy + 7 * std::sin(t));
  cairo_line_to(cr, hx + 7 * std::cos(t + 2.3), hy + 7 * std::sin(t + 2.3));
  cairo_line_to(cr, hx + 7 * std::cos(t - 2.3), hy + 7 * std::sin(t - 2.3));
  cairo_close_path(cr);
  SetRgb(cr, kGold);
  cairo_fill_preserve(cr);
  SetRgb(cr, kPlum);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_restore(cr);
}

struct Pictures {
  Surface background = Picture("Graphics/back_game01.jpg");
  Surface line[6] = {Picture("Graphics/line1.png"), Picture("Graphics/line2.png"), Picture("Graphics/line3.png"),
                     Picture("Graphics/line4.png"), Picture("Graphics/line5.png"), Picture("Graphics/line6.png")};
  Surface glow = Picture("Graphics/line_a.png");
  Surface bar = Picture("Graphics/am_bottom_bar.jpg");
  Surface bonus[3] = {Picture("Graphics/am_bonus01.png"), Picture("Graphics/am_bonus02.png"),
                      Picture("Graphics/am_bonus03.png")};
  Surface bug = Picture("Graphics/bug_right.png");
  Surface star = Picture("Graphics/star-rotation.png");
  Surface border = Picture("Graphics/status-border.png");
  Surface timeGlow = Picture("Graphics/round_time.png");
  Surface digits = Picture("Graphics/digits.png");
  Surface sparkle = Picture("Graphics/particle2.png");
};

Surface Animal(const std::string& name, int pose = 1) {
  return Picture("Graphics/Shapes/" + name + "_" + std::to_string(pose) + ".png");
}
Surface Mask(const std::string& name, int pose = 1) {
  return Picture("Graphics/Shapes/" + name + "_" + std::to_string(pose) + "_mask.png");
}

// One picture being drawn: its card laid and drawing clipped to the card's inside.
class Scene {
 public:
  Scene(int w, int h, const Pictures& p) : w_(w), h_(h), surface_(NewSurface(w, h)), context_(NewContext(surface_)) {
    Card(cr(), w, h, p.background);
    ClipToCard(cr(), w, h);
  }
  cairo_t* cr() const { return context_.get(); }
  int w() const { return w_; }
  int h() const { return h_; }
  void Save(const std::string& name) const {
    if (!SavePng(surface_, Join(gGame, "Graphics/" + name))) ++gFailures;
  }

 private:
  int w_, h_;
  Surface surface_;
  Context context_;
};

// Taking an animal from the panel and dropping it on its silhouette.
void Take(const Pictures& p) {
  const Scene scene(340, 220, p);
  cairo_t* cr = scene.cr();
  [[maybe_unused]] const int w = scene.w(), h = scene.h();
  const double x0 = 60, x1 = x0 + kPitch;
  Line(cr, p.line[0], x0, 0, h);
  Line(cr, p.line[1], x1, 0, h);
  Shape(cr, Mask("duck"), x0, 48);
  Shape(cr, Animal("cow"), x0, 48 + kPitch * 1.5 / 1.5 + 18);
  Shape(cr, Mask("frog"), x1, 84);
  // The bottom bar with the panel: one place is empty, its animal is in the hand.
  if (p.bar) {
    cairo_save(cr);
    cairo_translate(cr, 0, h - 62);
    cairo_scale(cr, kScale, kScale);
    cairo_set_source_surface(cr, p.bar.get(), -60, 0);
    cairo_paint(cr);
    cairo_restore(cr);
  }
  const double barY = h - 62 + 39 * kScale;
  Shape(cr, Animal("frog"), 150, barY);
  Shape(cr, Animal("cow"), 290, barY);
  Glow(cr, x0, 48, 34, 0.55);
  Shape(cr, Mask("duck"), x0, 48);
  Arrow(cr, 222, barY - 12, 214, 76, 26);
  Arrow(cr, 186, 52, x0 + 30, 48, 14);
  Shape(cr, Animal("duck"), 214, 52);
  Pointer(cr, 216, 56);
  scene.Save("instr_take.png");
}

// A full line glows and vanishes; its neighbours slide together.
void FullLine(const Pictures& p) {
  const Scene scene(340, 220, p);
  cairo_t* cr = scene.cr();
  [[maybe_unused]] const int w = scene.w(), h = scene.h();
  const double xs[3] = {w / 2.0 - kPitch - 14, w / 2.0, w / 2.0 + kPitch + 14};
  for (int i = 0; i < 3; ++i) Line(cr, p.line[i + 2], xs[i], 0, h);
  const char* left[3] = {"zebra", "giraffe", "lion"};
  const char* middle[3] = {"elephant", "monkey", "penguin"};
  const char* right[3] = {"rabbit", "pig", "bear"};
  for (int r = 0; r < 3; ++r) {
    const double y = 38 + r * kPitch;
    if (r == 1) Shape(cr, Animal(left[r]), xs[0], y + 26);
    else Shape(cr, Mask(left[r]), xs[0], y + 26);
    Shape(cr, Animal(middle[r]), xs[1], y);
    if (r == 0) Shape(cr, Animal(right[r]), xs[2], y + 26);
    else Shape(cr, Mask(right[r]), xs[2], y + 26);
  }
  LineGlow(cr, p.glow, xs[1], 0, h);
  for (int r = 0; r < 4; ++r)
    if (p.sparkle) PaintScaled(cr, p.sparkle, xs[1] - 20 + (r % 2) * 22, 10 + r * 52, 0.7);
  Arrow(cr, xs[0] - 28, h - 28, xs[0] + 24, h - 28, 0);
  Arrow(cr, xs[2] + 28, h - 28, xs[2] - 24, h - 28, 0);
  scene.Save("instr_line.png");
}

// The star fits any cell.
void BonusAny(const Pictures& p) {
  const Scene scene(220, 220, p);
  cairo_t* cr = scene.cr();
  [[maybe_unused]] const int w = scene.w(), h = scene.h();
  const double x = 64;
  Line(cr, p.line[3], x, 0, h);
  Shape(cr, Mask("tiger"), x, 44);
  Glow(cr, x, 124, 36, 0.6);
  Shape(cr, Mask("camel"), x, 124);
  Shape(cr, Mask("horse"), x, 204);
  Arrow(cr, 160, 70, x + 30, 118, -16);
  Shape(cr, p.bonus[0], 166, 58);
  Pointer(cr, 168, 62);
  scene.Save("instr_bonus_any.png");
}

// The double arrow fills the whole line it is dropped on.
void BonusBand(const Pictures& p) {
  const Scene scene(220, 220, p);
  cairo_t* cr = scene.cr();
  [[maybe_unused]] const int w = scene.w(), h = scene.h();
  const double x = 64;
  Line(cr, p.line[4], x, 0, h);
  const char* animals[3] = {"dolphin", "whale", "seal"};
  for (int r = 0; r < 3; ++r) Shape(cr, Animal(animals[r]), x, 40 + r * kPitch);
  LineGlow(cr, p.glow, x, 0, h);
  Arrow(cr, x + 40, 24, x + 40, h - 30, -18);
  Shape(cr, p.bonus[1], 166, 110);
  Pointer(cr, 168, 114);
  scene.Save("instr_bonus_band.png");
}

// The flower fills its cell and the six around it.
void BonusArea(const Pictures& p) {
  const Scene scene(220, 220, p);
  cairo_t* cr = scene.cr();
  [[maybe_unused]] const int w = scene.w(), h = scene.h();
  const double xs[3] = {w / 2.0 - kPitch, w / 2.0, w / 2.0 + kPitch};
  for (int i = 0; i < 3; ++i) Line(cr, p.line[i], xs[i], 0, h);
  const char* names[3][3] = {{"mouse", "dog", "fox"}, {"goat", "deer", "sheep"}, {"heron", "bee", "squirrel"}};
  Glow(cr, xs[1], 110, 90, 0.5);
  for (int col = 0; col < 3; ++col)
    for (int r = 0; r < 3; ++r) {
      // The middle line sits half a pitch lower, as the even lines of the field do.
      const double y = col == 1 ? 110 + (r - 1) * kPitch : 74 + (r - 1) * kPitch;
      const bool filled = col == 1 || r < 2;
      Shape(cr, filled ? Animal(names[col][r]) : Mask(names[col][r]), xs[col], y);
    }
  Shape(cr, p.bonus[2], xs[1], 110, 0.9);
  Pointer(cr, xs[1] + 6, 116);
  scene.Save("instr_bonus_area.png");
}

// The ladybird walks to a placed animal and carries it off.
void Bug(const Pictures& p) {
  const Scene scene(220, 220, p);
  cairo_t* cr = scene.cr();
  [[maybe_unused]] const int w = scene.w(), h = scene.h();
  const double x = 140;
  Line(cr, p.line[5], x, 0, h);
  Shape(cr, Animal("chicken"), x, 40);
  Shape(cr, Mask("duck"), x, 40 + kPitch);
  Shape(cr, Animal("duck"), x, 40 + kPitch, 0.8, 0.55);
  Shape(cr, Animal("frog"), x, 40 + 2 * kPitch);
  Arrow(cr, 14, 196, x - 30, 40 + kPitch + 10, 30);
  if (p.star) PaintScaled(cr, p.star, x - 24, 40 + kPitch - 24, 48.0 / Width(p.star), 0.8);
  if (p.bug) {
    Surface frame = Crop(p.bug, Box{0, 0, 57, 57});
    PaintScaled(cr, frame, x - 22, 40 + kPitch - 26, 0.85);
  }
  scene.Save("instr_bug.png");
}

// The frame's time display in its last seconds.
void Clock(const Pictures& p) {
  const Scene scene(220, 220, p);
  cairo_t* cr = scene.cr();
  [[maybe_unused]] const int w = scene.w(), h = scene.h();
  // The TIME well of the frame (centre 90, 330 of the screen) and its label, enlarged.
  const double zoom = 1.2;
  if (p.border) {
    cairo_save(cr);
    RoundedRect(cr, 8, 38, w - 18, 140, 14);
    cairo_clip(cr);
    cairo_translate(cr, w / 2.0 - 90 * zoom, 110 - 318 * zoom);
    cairo_scale(cr, zoom, zoom);
    cairo_set_source_surface(cr, p.border.get(), 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
  }
  const double cy = 110 + (330 - 318) * zoom;
  if (p.timeGlow) PaintScaled(cr, p.timeGlow, w / 2.0 - 85 * zoom, cy - 32 * zoom, zoom);
  if (p.digits) {
    // The figure 7 from the digit picture (ten cells of 34 x 48).
    Surface seven = Crop(p.digits, Box{7 * 34, 0, 8 * 34, 48});
    PaintScaled(cr, seven, w / 2.0 - 17 * zoom, cy - 24 * zoom, zoom);
  }
  // Pulse rings: the glow comes and goes.
  for (int i = 1; i <= 2; ++i) {
    RoundedRect(cr, w / 2.0 - 80 - i * 8, cy - 30 - i * 8, 160 + i * 16, 60 + i * 16, 18 + i * 6);
    cairo_set_source_rgba(cr, 1, 0.5, 0.3, 0.5 / i);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
  }
  scene.Save("instr_clock.png");
}

// In "Transformer" the right button turns the animal in the hand into its next pose.
void Transform(const Pictures& p) {
  const Scene scene(220, 220, p);
  cairo_t* cr = scene.cr();
  [[maybe_unused]] const int w = scene.w(), h = scene.h();
  const double lineX = 178;
  Line(cr, p.line[1], lineX, 0, h);
  Shape(cr, Mask("elephant", 2), lineX, 60);
  Shape(cr, Mask("giraffe", 1), lineX, 60 + kPitch);
  Glow(cr, lineX, 60, 34, 0.5);
  Shape(cr, Mask("elephant", 2), lineX, 60);
  // Three poses of the elephant in a column, the turning arrow between them.
  Shape(cr, Animal("elephant", 1), 58, 44, 0.85);
  TurnArrow(cr, 58, 100, 17);
  Shape(cr, Animal("elephant", 2), 58, 160, 0.85);
  Pointer(cr, 62, 164);
  Mouse(cr, 116, 180);
  Arrow(cr, 92, 140, lineX - 30, 70, 20);
  scene.Save("instr_transform.png");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_instructions <game folder>\n");
    return 2;
  }
  gGame = argv[1];
  const Pictures p;
  Take(p);
  FullLine(p);
  BonusAny(p);
  BonusBand(p);
  BonusArea(p);
  Bug(p);
  Clock(p);
  Transform(p);
  return gFailures == 0 ? 0 : 1;
}
