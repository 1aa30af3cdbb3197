// Contact sheets of the generated content, for people to look at:
//   contact_sheet pictures <game folder> <out.png>   every picture with its name
//   contact_sheet animals <game folder> <animals.txt> <out.png>
//                                                   every class: variants and masks side by side
//   contact_sheet screen <game folder> <language folder> <out.png>
//                                                   a game screen put together as the game draws it
//   contact_sheet text <game folder> <language folder> <out.png>
//                                                   texts in the symbol font, logo, buttons
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "AnimalTable.h"
#include "Canvas.h"
#include "Style.h"

using namespace content;
namespace fs = std::filesystem;

namespace {

void Checker(cairo_t* cr, double x, double y, double w, double h) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  for (int yy = 0; yy * 8 < h; ++yy)
    for (int xx = 0; xx * 8 < w; ++xx) {
      cairo_rectangle(cr, x + xx * 8, y + yy * 8, 8, 8);
      cairo_set_source_rgb(cr, (xx + yy) % 2 ? 0.62 : 0.72, (xx + yy) % 2 ? 0.62 : 0.72, (xx + yy) % 2 ? 0.66 : 0.76);
      cairo_fill(cr);
    }
  cairo_restore(cr);
}

void Caption(cairo_t* cr, const std::string& text, double cx, double y, double size = 12) {
  cairo_save(cr);
  SelectFace(cr, Face::Bold, size);
  cairo_set_source_rgb(cr, 0.12, 0.08, 0.18);
  cairo_move_to(cr, cx - TextWidth(cr, text) / 2, y);
  cairo_show_text(cr, text.c_str());
  cairo_restore(cr);
}

Surface LoadAny(const std::string& path) {
  return path.size() > 4 && path.substr(path.size() - 4) == ".jpg" ? LoadJpeg(path) : LoadPng(path);
}

int Pictures(const std::string& game, const std::string& out) {
  std::vector<std::string> files;
  for (auto& e : fs::recursive_directory_iterator(game)) {
    const std::string p = e.path().string();
    if (!e.is_regular_file()) continue;
    if (p.find("/Shapes/") != std::string::npos) continue;  // the animal sheet shows those
    if (e.path().extension() == ".png" || e.path().extension() == ".jpg") files.push_back(p);
  }
  std::sort(files.begin(), files.end());
  // Each picture in a tile of at most 240 x 180 (large ones reduced, the factor in the caption).
  const int tw = 250, th = 200, cols = 6;
  const int rows = (static_cast<int>(files.size()) + cols - 1) / cols;
  Surface sheet = NewSurface(cols * tw, rows * th + 40);
  Context c = NewContext(sheet);
  cairo_t* cr = c.get();
  cairo_set_source_rgb(cr, 0.93, 0.91, 0.88);
  cairo_paint(cr);
  Caption(cr, "Nookvale: generated pictures (reduced ones show their scale)", cols * tw / 2.0, 26, 18);
  for (size_t i = 0; i < files.size(); ++i) {
    Surface s = LoadAny(files[i]);
    if (!s) continue;
    const double x = (i % cols) * tw, y = 40 + (i / cols) * th;
    const double scale = std::min({1.0, 236.0 / Width(s), 168.0 / Height(s)});
    const double w = Width(s) * scale, h = Height(s) * scale;
    Checker(cr, x + (tw - w) / 2, y + (172 - h) / 2, w, h);
    PaintScaled(cr, s, x + (tw - w) / 2, y + (172 - h) / 2, scale);
    std::string name = fs::relative(files[i], game).string();
    char dims[64];
    std::snprintf(dims, sizeof dims, "  %dx%d%s", Width(s), Height(s), scale < 1 ? " (reduced)" : "");
    Caption(cr, name, x + tw / 2.0, y + 186, 11);
    Caption(cr, dims, x + tw / 2.0, y + 198, 9);
  }
  return SavePng(sheet, out) ? 0 : 1;
}

int Animals(const std::string& game, const std::string& table, const std::string& out) {
  std::vector<AnimalClass> classes;
  if (!ReadAnimalTable(table, classes)) return 1;
  // Per class one row: name, then each variant's main picture and its mask over three line
  // colours, all at their real size.
  const uint32_t lines[3] = {0xFF7A6B, 0xFFE066, 0x6CCBF2};
  const int rowH = 84, nameW = 110, pairW = 4 * 75;
  const int w = nameW + 4 * pairW + 10;
  Surface sheet = NewSurface(w, 40 + rowH * static_cast<int>(classes.size()));
  Context c = NewContext(sheet);
  cairo_t* cr = c.get();
  cairo_set_source_rgb(cr, 0.93, 0.91, 0.88);
  cairo_paint(cr);
  Caption(cr, "Animals: each pose, then its mask on three line colours (real size)", w / 2.0, 26, 18);
  for (size_t k = 0; k < classes.size(); ++k) {
    const double y = 40 + k * rowH;
    if (k % 2) {
      cairo_rectangle(cr, 0, y, w, rowH);
      cairo_set_source_rgb(cr, 0.88, 0.86, 0.83);
      cairo_fill(cr);
    }
    Caption(cr, std::to_string(k) + " " + classes[k].name, nameW / 2.0, y + rowH / 2.0 + 5, 14);
    for (size_t v = 0; v < classes[k].poses.size(); ++v) {
      const std::string base = Join(game, "Graphics/Shapes/" + classes[k].name + "_" + std::to_string(v + 1));
      Surface main = LoadPng(base + ".png"), mask = LoadPng(base + "_mask.png");
      const double x = nameW + v * pairW;
      cairo_rectangle(cr, x, y + 6, 72, 72);
      cairo_set_source_rgb(cr, 0.35, 0.6, 0.45);
      cairo_fill(cr);
      if (main) PaintScaled(cr, main, x, y + 6, 1);
      for (int l = 0; l < 3; ++l) {
        cairo_rectangle(cr, x + 75 + l * 73, y + 6, 72, 72);
        style::VerticalGradient(cr, y, y + 80, lines[l], lines[l]);
        cairo_fill(cr);
        if (mask) PaintScaled(cr, mask, x + 75 + l * 73, y + 6, 1);
      }
    }
  }
  return SavePng(sheet, out) ? 0 : 1;
}

// The game screen as the game composes it (positions from the drawing rules), with a few
// cells filled, the panel, the bug and the frame.
int Screen(const std::string& game, const std::string& lang, const std::string& table, const std::string& out) {
  std::vector<AnimalClass> classes;
  if (!ReadAnimalTable(table, classes)) return 1;
  Surface sheet = NewSurface(800, 600);
  Context c = NewContext(sheet);
  cairo_t* cr = c.get();
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  Surface bg = LoadJpeg(Join(game, "Graphics/back_game01.jpg"));
  if (bg) PaintScaled(cr, bg, 128, 6, 1);
  for (int line = 0; line < 6; ++line) {
    Surface tile = LoadPng(Join(game, "Graphics/line" + std::to_string(line + 1) + ".png"));
    const double x = (0.29 + line * 0.11875) * 800;
    for (int j = 0; j < 6; ++j) {
      const double y = (j + 0.65) * 0.15833333 * 600;
      if (tile) PaintScaled(cr, tile, std::trunc(x - 47.5), std::trunc(y - 300), 1);
    }
    if (line == 4) {
      Surface a = LoadPng(Join(game, "Graphics/line_a.png"));
      cairo_save(cr);
      cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
      for (int j = 0; j < 6; ++j)
        if (a) PaintScaled(cr, a, std::trunc(x - 47.5), std::trunc((j + 0.65) * 0.15833333 * 600 - 300), 1, 0.5);
      cairo_restore(cr);
    }
    for (int r = 0; r < 5; ++r) {
      const double cy = (r * 0.15833333 + 0.07916667 + (line % 2 == 0 ? 0.08 : 0)) * 600;
      const AnimalClass& k = classes[(line * 5 + r * 3) % 15];
      const std::string base = Join(game, "Graphics/Shapes/" + k.name + "_1");
      Surface s = LoadPng(base + ((r + line) % 3 == 0 ? ".png" : "_mask.png"));
      if (s && cy < 560) PaintScaled(cr, s, std::trunc(x - 35.5), std::trunc(cy - 35.5), 1);
    }
  }
  Surface bug = LoadPng(Join(game, "Graphics/bug_right.png"));
  if (bug) {
    cairo_save(cr);
    cairo_rectangle(cr, 500, 150, 57, 57);
    cairo_clip(cr);
    PaintScaled(cr, bug, 500 - 57 * 3, 150, 1);
    cairo_restore(cr);
  }
  Surface bar = LoadJpeg(Join(game, "Graphics/am_bottom_bar.jpg"));
  if (bar) PaintScaled(cr, bar, 72, 510, 1);
  for (int i = 0; i < 6; ++i) {
    std::string name = i == 2 ? Join(game, "Graphics/am_bonus03.png")
                              : Join(game, "Graphics/Shapes/" + classes[i * 2].name + "_1.png");
    Surface s = LoadPng(name);
    if (s) PaintScaled(cr, s, std::trunc(240 + i * 95 - 35.5), std::trunc(549 - 35.5), 1);
  }
  Surface frame = LoadPng(Join(game, lang + "/status-border.png"));
  if (frame) PaintScaled(cr, frame, 0, 0, 1);
  Surface empty = LoadPng(Join(game, "Graphics/progress-empty.png")),
          full = LoadPng(Join(game, "Graphics/progress-full.png"));
  if (empty && full) {
    const double x = 90 - Width(empty) / 2.0, y = 414 - Height(empty) / 2.0;
    PaintScaled(cr, empty, x, y, 1);
    cairo_save(cr);
    cairo_rectangle(cr, x, y, Width(full) * 0.6, Height(full));
    cairo_clip(cr);
    PaintScaled(cr, full, x, y, 1);
    cairo_restore(cr);
  }
  Surface glow = LoadPng(Join(game, "Graphics/round_time.png"));
  if (glow) PaintScaled(cr, glow, 90 - Width(glow) / 2.0, 330 - Height(glow) / 2.0, 1, 0.7);
  Surface font = LoadPng(Join(game, lang + "/font01.png"));
  Surface digits = LoadPng(Join(game, "Graphics/digits.png"));
  if (digits) {
    // "1500" flying to the score, at 0.75 of the strip size.
    const char* text = "1500";
    for (int i = 0; i < 4; ++i) {
      const int d = text[i] - '0';
      cairo_save(cr);
      cairo_translate(cr, 420 + i * 25.5, 250);
      cairo_scale(cr, 0.75, 0.75);
      cairo_rectangle(cr, 0, 0, 34, 48);
      cairo_clip(cr);
      cairo_set_source_surface(cr, digits.get(), -34 * d, 0);
      cairo_paint(cr);
      cairo_restore(cr);
    }
  }
  (void)font;
  return SavePng(sheet, out) ? 0 : 1;
}


// The symbol font as the game draws it: the table from language.ini, glyph windows cut as
// the text drawing does (8 % off the top, 6 % off the right), each centred in its advance.
struct FontTable {
  std::string symbols;
  int cols = 16, rows = 8;
  std::vector<double> widths;
};

bool ReadFontTable(const std::string& ini, FontTable& t) {
  FILE* f = std::fopen(ini.c_str(), "rb");
  if (!f) return false;
  char line[1024];
  t.widths.assign(255, 0.0);
  while (std::fgets(line, sizeof line, f)) {
    std::string l(line);
    while (!l.empty() && (l.back() == '\n' || l.back() == '\r')) l.pop_back();
    const size_t eq = l.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = l.substr(0, eq), value = l.substr(eq + 1);
    if (key == "SymbolList") t.symbols = value;
    else if (key == "SYMBOLS_IN_ROW") t.cols = std::stoi(value);
    else if (key == "SYMBOLS_IN_COL") t.rows = std::stoi(value);
    else if (key.rfind("Line", 0) == 0 && key.find("_Width") != std::string::npos) {
      const int row = std::stoi(key.substr(4)) - 1;
      size_t at = 0;
      for (int c = 0; c < t.cols && at <= value.size(); ++c) {
        const size_t comma = value.find(',', at);
        const std::string piece = value.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        if (piece.empty()) break;
        t.widths[row * t.cols + c] = std::stod(piece) * 0.0625;
        if (comma == std::string::npos) break;
        at = comma + 1;
      }
    }
  }
  std::fclose(f);
  return !t.symbols.empty();
}

// x, y, height in pixels; centred text.
void DrawGameText(cairo_t* cr, const Surface& font, const FontTable& t, const std::string& text, double x, double y,
                  double height) {
  const double cw = static_cast<double>(Width(font)) / t.cols, ch = static_cast<double>(Height(font)) / t.rows;
  const double gw = cw * height / ch, half = gw * 0.5;
  std::vector<double> adv;
  double total = 0;
  for (char c : text) {
    const size_t k = t.symbols.find(c);
    adv.push_back(k == std::string::npos ? half : t.widths[k] * gw);
    total += adv.back();
  }
  double pen = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const size_t k = t.symbols.find(text[i]);
    if (k == std::string::npos) { pen += half; continue; }
    pen += i == 0 ? adv[0] * 0.5 : adv[i - 1] * 0.5 + adv[i] * 0.5;
    const int col = static_cast<int>(k) % t.cols, row = static_cast<int>(k) / t.cols;
    const double cx = x - total * 0.5 + pen;
    const double sx = (col) * cw, sy = (row + 0.08) * ch, sw = cw * 0.94, sh = ch * 0.92;
    cairo_save(cr);
    cairo_rectangle(cr, cx - gw / 2, y - height / 2, gw, height);
    cairo_clip(cr);
    cairo_translate(cr, cx - gw / 2, y - height / 2);
    cairo_scale(cr, gw / sw, height / sh);
    cairo_set_source_surface(cr, font.get(), -sx, -sy);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
  }
}

int Text(const std::string& game, const std::string& lang, const std::string& out) {
  FontTable t;
  Surface font = LoadPng(Join(game, lang + "/font01.png"));
  if (!font || !ReadFontTable(Join(game, "language.ini"), t)) return 1;
  Surface sheet = NewSurface(800, 600);
  Context c = NewContext(sheet);
  cairo_t* cr = c.get();
  Surface bg = LoadJpeg(Join(game, "Graphics/back_menu.jpg"));
  if (bg) PaintScaled(cr, bg, 0, 0, 1);
  const char* lines[] = {"Level Complete", "Bonus Level!  Score: 12,450", "The quick brown fox jumps over the lazy dog.",
                         "PACK MY BOX WITH FIVE DOZEN LIQUOR JUGS?", "0123456789 (50) [1000] {x} @#$%^&*_+-=<>/\\|~`'\";:"};
  const double heights[] = {48, 36, 24, 24, 20};
  double y = 60;
  for (int i = 0; i < 5; ++i) {
    DrawGameText(cr, font, t, lines[i], 400, y, heights[i]);
    y += heights[i] * 1.6 + 10;
  }
  Surface logo = LoadPng(Join(game, lang + "/logo.png"));
  if (logo) PaintScaled(cr, logo, 400 - Width(logo) / 2.0, 330, 1);
  Surface button = LoadPng(Join(game, "Graphics/menu_button.png"));
  if (button) {
    PaintScaled(cr, button, 120 - Width(button) / 2.0, 530 - Height(button) / 2.0, 1);
    DrawGameText(cr, font, t, "Play", 120, 528, 44);
    Surface over = LoadPng(Join(game, "Graphics/menu_button_over.png"));
    PaintScaled(cr, over, 400 - Width(over) / 2.0, 530 - Height(over) / 2.0, 1);
    DrawGameText(cr, font, t, "Options", 400, 528, 44);
  }
  Surface check = LoadPng(Join(game, "Graphics/menu_check_on.png"));
  if (check) PaintScaled(cr, check, 560, 506, 1);
  DrawGameText(cr, font, t, "Full screen", 680, 530, 30);
  return SavePng(sheet, out) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "pictures" && argc == 4) return Pictures(argv[2], argv[3]);
  if (mode == "animals" && argc == 5) return Animals(argv[2], argv[3], argv[4]);
  if (mode == "screen" && argc == 6) return Screen(argv[2], argv[3], argv[4], argv[5]);
  if (mode == "text" && argc == 5) return Text(argv[2], argv[3], argv[4]);
  std::fprintf(stderr,
               "usage: contact_sheet pictures <game> <out.png>\n"
               "       contact_sheet animals <game> <animals.txt> <out.png>\n"
               "       contact_sheet screen <game> <language folder> <animals.txt> <out.png>\n"
               "       contact_sheet text <game> <language folder> <out.png>\n");
  return 2;
}
