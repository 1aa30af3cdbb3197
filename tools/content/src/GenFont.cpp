// Builds the symbol font: font01.png in the language's picture folder (every printable ASCII
// character, white with a dark outline and a soft shadow so that text reads on photographs and
// takes any tint) and the matching font table for language.ini (SymbolList, SYMBOLS_IN_ROW,
// SYMBOLS_IN_COL, Line01_Width ...).
//   gen_font <game folder> <language folder name> <font table out>
//
// How the game draws a glyph: it cuts the cell from 8 % below its top to 6 % before its right
// edge and centres that box on the middle of the character's advance, the line's centre at
// the box's centre. So each glyph is drawn centred at 47 % of the cell's width with the middle
// of a capital at 54 % of its height, and its advance is given in sixteenths of a cell.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "Canvas.h"
#include "Style.h"

using namespace content;

namespace {

constexpr int kCols = 16;
constexpr int kCellW = 36, kCellH = 44;
constexpr double kSize = 28;       // em size in pixels
constexpr double kOutline = 2.4;

// Cell order: ASCII order, with the blank second so that the list neither starts nor ends
// with a blank or a quote (ini readers trim those).
std::string Symbols() {
  std::string s = "! ";
  for (int c = 0x22; c <= 0x7E; ++c) s += static_cast<char>(c);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: gen_font <game folder> <language folder name> <font table out>\n");
    return 2;
  }
  const std::string symbols = Symbols();
  const int rows = (static_cast<int>(symbols.size()) + kCols - 1) / kCols;
  Surface sheet = NewSurface(kCols * kCellW, rows * kCellH);
  Context c = NewContext(sheet);
  cairo_t* cr = c.get();
  SelectFace(cr, Face::Bold, kSize);
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  cairo_text_extents_t cap;
  cairo_text_extents(cr, "H", &cap);
  const double capHeight = -cap.y_bearing;
  std::vector<int> widths;
  for (size_t i = 0; i < symbols.size(); ++i) {
    const std::string ch(1, symbols[i]);
    const int col = static_cast<int>(i) % kCols, row = static_cast<int>(i) / kCols;
    cairo_text_extents_t e;
    cairo_text_extents(cr, ch.c_str(), &e);
    const double cx = col * kCellW + kCellW * 0.47;
    const double baseline = row * kCellH + kCellH * 0.54 + capHeight / 2;
    // Centre the ink of the glyph on the cell's drawing centre.
    const double x = cx - (e.x_bearing + e.width / 2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_new_path(cr);
    cairo_move_to(cr, x + 0.8, baseline + 1.6);
    cairo_text_path(cr, ch.c_str());
    cairo_set_source_rgba(cr, 0.05, 0.02, 0.1, 0.45);
    cairo_set_line_width(cr, kOutline * 2 + 1);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, x, baseline);
    cairo_text_path(cr, ch.c_str());
    SetRgb(cr, style::kPlum);
    cairo_set_line_width(cr, kOutline * 2);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    // The advance: the glyph's own advance plus room for the outline, in sixteenths.
    const double advance = (symbols[i] == ' ' ? e.x_advance * 1.1 : e.x_advance + kOutline);
    widths.push_back(std::max(1, static_cast<int>(std::lround(advance / kCellW * 16))));
  }
  const std::string game = argv[1], lang = argv[2];
  if (!SavePng(sheet, Join(game, lang + "/font01.png"))) return 1;

  std::string table;
  table += "SymbolList=" + symbols + "\n";
  table += "SYMBOLS_IN_ROW=" + std::to_string(kCols) + "\n";
  table += "SYMBOLS_IN_COL=" + std::to_string(rows) + "\n";
  for (int r = 0; r < rows; ++r) {
    char key[32];
    std::snprintf(key, sizeof key, r + 1 < 10 ? "Line0%d_Width=" : "Line%d_Width=", r + 1);
    table += key;
    for (int cidx = 0; cidx < kCols; ++cidx) {
      const size_t i = static_cast<size_t>(r) * kCols + cidx;
      if (cidx) table += ",";
      table += std::to_string(i < widths.size() ? widths[i] : 8);
    }
    table += "\n";
  }
  MakeParentDirs(argv[3]);
  std::ofstream(argv[3], std::ios::binary) << table;
  return 0;
}
