// Builds the kit the menu screens are made of: buttons (normal and hover), check boxes,
// slider track and thumb, panels, stage buttons and the level-map picture in Graphics/; the
// title logo, the tutorial hints and the mode information panels (pictures with words) in the
// language folder. README.md lists sizes and the stage places of the map.
//   gen_menu_kit <game folder> <language folder name>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Style.h"

using namespace content;
using namespace content::style;

namespace {

std::string gGame, gLang;
int gFailures = 0;

void Save(const Surface& s, const std::string& name) {
  if (!SavePng(s, Join(gGame, name))) ++gFailures;
}

void Buttons() {
  struct Kind { const char* name; int w, h; };
  for (Kind k : {Kind{"menu_button", 232, 68}, Kind{"menu_button_small", 160, 54}}) {
    for (int over = 0; over < 2; ++over) {
      Surface s = NewSurface(k.w, k.h);
      Context c = NewContext(s);
      const double pad = 6;
      GlossyPill(c.get(), pad, pad, k.w - 2 * pad, k.h - 2 * pad, (k.h - 2 * pad) / 2, over ? 0xFFD27A : kOrangeLight,
                 over ? 0xFF9A3D : 0xE8682A, over != 0);
      Save(s, std::string("Graphics/") + k.name + (over ? "_over.png" : ".png"));
    }
  }
}

void CheckBoxes() {
  for (int on = 0; on < 2; ++on)
    for (int over = 0; over < 2; ++over) {
      Surface s = NewSurface(48, 48);
      Context c = NewContext(s);
      cairo_t* cr = c.get();
      if (over) {
        for (int i = 5; i >= 1; --i) {
          RoundedRect(cr, 4 - i, 4 - i, 40 + 2 * i, 40 + 2 * i, 10 + i);
          cairo_set_source_rgba(cr, 1, 0.9, 0.5, 0.08);
          cairo_fill(cr);
        }
      }
      RoundedRect(cr, 5, 7, 38, 38, 9);
      cairo_set_source_rgba(cr, 0.1, 0.04, 0.18, 0.45);
      cairo_fill(cr);
      RoundedRect(cr, 4, 4, 38, 38, 9);
      SetRgb(cr, kPlum);
      cairo_fill(cr);
      RoundedRect(cr, 7, 7, 32, 32, 7);
      VerticalGradient(cr, 7, 39, over ? 0xFFFFFF : kCream, over ? 0xFFE9B0 : 0xE8D9C0);
      cairo_fill(cr);
      if (on) {
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_move_to(cr, 13, 24);
        cairo_line_to(cr, 21, 32);
        cairo_line_to(cr, 36, 12);
        cairo_set_line_width(cr, 8);
        SetRgb(cr, kPlum);
        cairo_stroke_preserve(cr);
        cairo_set_line_width(cr, 4.5);
        SetRgb(cr, kGreen);
        cairo_stroke(cr);
      }
      Save(s, std::string("Graphics/menu_check_") + (on ? "on" : "off") + (over ? "_over.png" : ".png"));
    }
}

void Slider() {
  for (int over = 0; over < 2; ++over) {
    Surface t = NewSurface(260, 24);
    {
      Context c = NewContext(t);
      cairo_t* cr = c.get();
      RoundedRect(cr, 2, 4, 256, 16, 8);
      SetRgb(cr, kPlum);
      cairo_fill(cr);
      RoundedRect(cr, 4, 6, 252, 12, 6);
      VerticalGradient(cr, 6, 18, 0x1A0F2C, over ? 0x6A4A9A : 0x4A3470);
      cairo_fill(cr);
      for (int i = 1; i < 10; ++i) {
        cairo_arc(cr, 4 + i * 25.2, 12, 1.5, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 1, 1, 1, over ? 0.45 : 0.3);
        cairo_fill(cr);
      }
    }
    Save(t, std::string("Graphics/menu_slider_track") + (over ? "_over.png" : ".png"));
    Surface k = NewSurface(32, 40);
    {
      Context c = NewContext(k);
      cairo_t* cr = c.get();
      RoundedRect(cr, 4, 5, 25, 33, 10);
      cairo_set_source_rgba(cr, 0.1, 0.04, 0.18, 0.45);
      cairo_fill(cr);
      GlossyPill(cr, 3, 2, 26, 36, 11, over ? 0xFFF0A0 : 0xFFE27A, over ? 0xFFB030 : kGoldDark, false);
    }
    Save(k, std::string("Graphics/menu_slider_thumb") + (over ? "_over.png" : ".png"));
  }
}

void Panels() {
  struct Kind { const char* name; int w, h; };
  for (Kind k : {Kind{"menu_panel_full", 760, 560}, Kind{"menu_panel_large", 600, 440}, Kind{"menu_panel_medium", 480, 300},
                 Kind{"menu_panel_small", 400, 200}}) {
    Surface s = NewSurface(k.w, k.h);
    Context c = NewContext(s);
    Panel(c.get(), 4, 2, k.w - 10, k.h - 6, 26);
    Save(s, std::string("Graphics/") + k.name + ".png");
  }
}

// Stage places on the level map, in map pixels (the map fills the 800 x 600 screen).
const double kStages[8][2] = {{118, 478}, {262, 430}, {404, 470}, {556, 420},
                              {676, 318}, {540, 236}, {380, 262}, {222, 196}};

void StageButtons() {
  for (int over = 0; over < 2; ++over) {
    Surface s = NewSurface(64, 64);
    Context c = NewContext(s);
    cairo_t* cr = c.get();
    if (over) {
      cairo_pattern_t* g = cairo_pattern_create_radial(32, 32, 20, 32, 32, 32);
      cairo_pattern_add_color_stop_rgba(g, 0, 1, 0.95, 0.6, 0.8);
      cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.95, 0.6, 0);
      cairo_set_source(cr, g);
      cairo_paint(cr);
      cairo_pattern_destroy(g);
    }
    Gem(cr, 32, 31, 26, over ? 0xFFF4B0 : 0xFFE27A, over ? 0xFFA020 : kGoldDark);
    cairo_arc(cr, 32, 31, 17, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0.23, 0.14, 0.35, 0.25);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    Save(s, std::string("Graphics/menu_stage") + (over ? "_over.png" : ".png"));
  }
}

// The goal at the end of the map's path: a golden cup on a plum gem, 64 x 64.
void Goal() {
  Surface s = NewSurface(64, 64);
  Context c = NewContext(s);
  cairo_t* cr = c.get();
  Gem(cr, 32, 31, 26, kPlumLight, kPlum);
  // Cup, handles and foot.
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_move_to(cr, 21, 17);
  cairo_line_to(cr, 43, 17);
  cairo_curve_to(cr, 43, 31, 38, 36, 32, 36);
  cairo_curve_to(cr, 26, 36, 21, 31, 21, 17);
  cairo_close_path(cr);
  cairo_rectangle(cr, 29.5, 35, 5, 6);
  RoundedRect(cr, 24, 41, 16, 5, 2);
  VerticalGradient(cr, 17, 46, 0xFFF0A0, kGoldDark);
  cairo_fill_preserve(cr);
  SetRgb(cr, 0x22112F);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  for (int side = -1; side <= 1; side += 2) {
    cairo_new_path(cr);
    cairo_arc(cr, 32 + side * 12, 23, 5, side < 0 ? M_PI * 0.5 : -M_PI * 0.5, side < 0 ? M_PI * 1.5 : M_PI * 0.5);
    SetRgb(cr, kGold);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
  }
  Save(s, "Graphics/menu_goal.png");
}

void Tree(cairo_t* cr, double x, double y, double r, uint32_t leaf) {
  cairo_rectangle(cr, x - r * 0.15, y, r * 0.3, r * 0.9);
  SetRgb(cr, 0x7A4E2A);
  cairo_fill(cr);
  cairo_arc(cr, x + 3, y + 3, r, 0, 2 * M_PI);
  cairo_set_source_rgba(cr, 0, 0.1, 0, 0.2);
  cairo_fill(cr);
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  cairo_pattern_t* g = cairo_pattern_create_radial(x - r * 0.4, y - r * 0.4, r * 0.1, x, y, r);
  cairo_pattern_add_color_stop_rgb(g, 0, ((leaf >> 16) & 255) / 255.0 + 0.2, ((leaf >> 8) & 255) / 255.0 + 0.15,
                                   (leaf & 255) / 255.0);
  cairo_pattern_add_color_stop_rgb(g, 1, ((leaf >> 16) & 255) / 400.0, ((leaf >> 8) & 255) / 330.0,
                                   (leaf & 255) / 400.0);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

void Map() {
  const int w = 800, h = 600;
  Surface s = NewSurface(w, h);
  Context c = NewContext(s);
  cairo_t* cr = c.get();
  VerticalGradient(cr, 0, 160, 0x8FD3F5, 0xD6F0FF);
  cairo_paint(cr);
  // Rolling hills from far to near.
  const uint32_t hills[4] = {0x9ED47A, 0x86C764, 0x6DB553, 0x5AA346};
  for (int k = 0; k < 4; ++k) {
    const double base = 110 + k * 60;
    cairo_move_to(cr, 0, h);
    cairo_line_to(cr, 0, base);
    for (int x = 0; x <= w; x += 10)
      cairo_line_to(cr, x, base - 28 * std::sin(x * 0.008 + k * 1.7) - 14 * std::sin(x * 0.021 + k));
    cairo_line_to(cr, w, h);
    cairo_close_path(cr);
    SetRgb(cr, hills[k]);
    cairo_fill(cr);
  }
  // Sun and clouds.
  cairo_arc(cr, 690, 60, 34, 0, 2 * M_PI);
  SetRgb(cr, 0xFFE680);
  cairo_fill(cr);
  Rng rng(2024);
  for (int k = 0; k < 4; ++k) {
    const double cx = 80 + k * 170 + rng.Uniform(-20, 20), cy = 40 + rng.Uniform(-10, 20);
    for (int i = 0; i < 4; ++i) {
      cairo_arc(cr, cx + i * 18 - 27, cy + (i % 2) * -8, 16 + (i % 2) * 6, 0, 2 * M_PI);
      cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
      cairo_fill(cr);
    }
  }
  // Pond.
  cairo_save(cr);
  cairo_translate(cr, 660, 500);
  cairo_scale(cr, 90, 36);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  VerticalGradient(cr, 464, 536, 0x7FD3FF, 0x2A90D8);
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.6);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  // Trees and flowers, kept clear of the path.
  const double trees[][3] = {{40, 300, 26}, {80, 360, 20}, {330, 160, 22}, {470, 150, 18}, {620, 180, 24},
                             {760, 230, 22}, {760, 400, 26}, {300, 340, 20}, {460, 340, 18}, {40, 560, 22},
                             {330, 560, 20}, {150, 250, 18}};
  for (auto& t : trees) Tree(cr, t[0], t[1], t[2], (static_cast<int>(t[0]) % 3) ? 0x3E9A3A : 0x2F8A4A);
  for (int i = 0; i < 60; ++i) {
    const double x = rng.Uniform(10, w - 10), y = rng.Uniform(180, h - 10);
    bool nearPath = false;
    for (auto& st : kStages) nearPath |= std::hypot(x - st[0], y - st[1]) < 50;
    if (nearPath) continue;
    const uint32_t colours[4] = {0xFFFFFF, 0xFFE066, 0xFF8AC8, 0xC89BFF};
    cairo_arc(cr, x, y, 3, 0, 2 * M_PI);
    SetRgb(cr, colours[i % 4]);
    cairo_fill(cr);
  }
  // The path: a sandy ribbon through the stages, with stepping dots.
  auto path = [&]() {
    cairo_new_path(cr);
    cairo_move_to(cr, kStages[0][0] - 80, kStages[0][1] + 40);
    for (int i = 0; i < 8; ++i) {
      const double* p = kStages[i];
      const double* q = i ? kStages[i - 1] : kStages[0];
      cairo_curve_to(cr, q[0] + (p[0] - q[0]) * 0.5, q[1] - 30, p[0] - (p[0] - q[0]) * 0.3, p[1] + 30, p[0], p[1]);
    }
  };
  path();
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 30);
  cairo_set_source_rgba(cr, 0.45, 0.3, 0.15, 0.35);
  cairo_stroke(cr);
  path();
  cairo_set_line_width(cr, 24);
  SetRgb(cr, 0xF3D9A0);
  cairo_stroke(cr);
  path();
  const double dash[2] = {2, 14};
  cairo_set_dash(cr, dash, 2, 0);
  cairo_set_line_width(cr, 6);
  SetRgb(cr, 0xD9B070);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
  // Stage places: a flat stone under each stage button.
  for (auto& st : kStages) {
    cairo_save(cr);
    cairo_translate(cr, st[0], st[1] + 18);
    cairo_scale(cr, 40, 14);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 0.25, 0.18, 0.1, 0.35);
    cairo_fill(cr);
  }
  if (!SaveJpeg(s, Join(gGame, "Graphics/menu_map.jpg"), 90)) ++gFailures;
}

void Logo() {
  const int w = 600, h = 170;
  Surface s = NewSurface(w, h);
  Context c = NewContext(s);
  cairo_t* cr = c.get();
  Surface penguin = LoadPng(Join(gGame, "Graphics/Shapes/penguin_1.png"));
  Surface rabbit = LoadPng(Join(gGame, "Graphics/Shapes/rabbit_1.png"));
  if (penguin) PaintScaled(cr, penguin, 0, 34, 1.5);
  if (rabbit) PaintScaled(cr, rabbit, w - 107, 34, 1.5);
  TextStyle st;
  st.face = Face::Bold;
  st.size = 90;
  st.fill = 0xFFF3A0;
  st.gradient = true;
  st.fillBottom = 0xFF9A2A;
  st.outline = kPlum;
  st.outlineWidth = 7;
  st.shadowAlpha = 0.45;
  st.shadowOffset = 5;
  // A white halo first, so the title stands out on any picture.
  TextStyle halo = st;
  halo.fill = 0xFFFFFF;
  halo.gradient = false;
  halo.outline = 0xFFFFFF;
  halo.outlineWidth = 11;
  halo.shadowAlpha = 0.3;
  DrawLabel(cr, "Nookvale", w / 2.0, 118, halo);
  DrawLabel(cr, "Nookvale", w / 2.0, 118, st);
  TextStyle sub;
  sub.size = 20;
  sub.fill = 0xFFFFFF;
  sub.outline = kPlum;
  sub.outlineWidth = 3;
  DrawLabel(cr, "a puzzle of animal friends", w / 2.0, 155, sub);
  Save(s, gLang + "/logo.png");
}

// A speech bubble with up to three lines of text, its tail pointing down to what it explains.
Surface Bubble(int w, int h, const std::vector<std::string>& lines, double size) {
  Surface s = NewSurface(w, h);
  Context c = NewContext(s);
  cairo_t* cr = c.get();
  const double tail = h * 0.16;
  auto shape = [&](double dx, double dy) {
    cairo_new_path(cr);
    RoundedRect(cr, 4 + dx, 4 + dy, w - 8, h - 8 - tail, std::min(18.0, h * 0.2));
    cairo_move_to(cr, w / 2.0 - tail * 0.8 + dx, h - 6 - tail + dy);
    cairo_line_to(cr, w / 2.0 + dx, h - 3 + dy);
    cairo_line_to(cr, w / 2.0 + tail * 0.8 + dx, h - 6 - tail + dy);
    cairo_close_path(cr);
  };
  shape(1, 2);
  cairo_set_source_rgba(cr, 0.1, 0.04, 0.18, 0.35);
  cairo_fill(cr);
  shape(0, 0);
  SetRgb(cr, kPlum);
  cairo_set_line_width(cr, 3);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  VerticalGradient(cr, 0, h, 0xFFFFFF, kCream);
  cairo_fill(cr);
  TextStyle st;
  st.size = size;
  st.fill = kPlum;
  st.outlineWidth = 0;
  st.shadowAlpha = 0;
  const double body = h - 8 - tail;
  const double lineH = size * 1.12;
  const double top = 4 + (body - lineH * lines.size()) / 2 + size * 0.82;
  for (size_t i = 0; i < lines.size(); ++i) DrawLabel(cr, lines[i], w / 2.0, top + i * lineH, st);
  return s;
}

void Hints() {
  // hint1 and hint3 are drawn at 160 x 120 pixels, hint2 at 80 x 60.
  Save(Bubble(160, 120, {"Take this", "animal!"}, 24), gLang + "/hint1.png");
  Save(Bubble(80, 60, {"Put it", "here!"}, 15), gLang + "/hint2.png");
  Save(Bubble(160, 120, {"Right-click", "to change", "its pose"}, 20), gLang + "/hint3.png");
}

void InfoPanels() {
  struct Info { const char* file; const char* title; std::vector<std::string> lines; const char* animal; };
  const Info infos[3] = {
      {"info_classic.png", "Classic", {"Fill every cell before", "the clock runs out.", "Lines speed up as they go!"},
       "Graphics/Shapes/elephant_1.png"},
      {"info_relax.png", "Relax", {"No clock, no hurry:", "fill the lines", "at your own pace."},
       "Graphics/Shapes/seal_1.png"},
      {"info_transformer.png", "Transformer", {"Cells ask for a pose.", "Right-click the animal", "in your hand to turn it."},
       "Graphics/Shapes/frog_1.png"}};
  for (const Info& info : infos) {
    const int w = 360, h = 210;
    Surface s = NewSurface(w, h);
    Context c = NewContext(s);
    cairo_t* cr = c.get();
    Panel(cr, 4, 2, w - 10, h - 6, 22);
    TextStyle title;
    title.size = 30;
    title.fill = 0xFFF3A0;
    title.gradient = true;
    title.fillBottom = kOrange;
    title.outline = 0x22112F;
    title.outlineWidth = 3;
    DrawLabel(cr, info.title, w / 2.0 - 20, 54, title);
    TextStyle body;
    body.size = 19;
    body.face = Face::Bold;
    body.fill = 0xFFFFFF;
    body.outline = 0x22112F;
    body.outlineWidth = 2;
    body.shadowAlpha = 0.3;
    for (size_t i = 0; i < info.lines.size(); ++i) DrawLabel(cr, info.lines[i], w / 2.0, 100 + i * 30, body);
    Surface animal = LoadPng(Join(gGame, info.animal));
    if (animal) PaintScaled(cr, animal, w - 74, 12, 0.8);
    Save(s, gLang + "/" + info.file);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gen_menu_kit <game folder> <language folder name>\n");
    return 2;
  }
  gGame = argv[1];
  gLang = argv[2];
  Buttons();
  CheckBoxes();
  Slider();
  Panels();
  StageButtons();
  Goal();
  Map();
  Logo();
  Hints();
  InfoPanels();
  return gFailures == 0 ? 0 : 1;
}
