// Builds the desktop icons of the installed game in the design of its window icon (the
// sky-blue tile with the penguin sticker): PNG pictures at 48, 64, 128 and 256 pixels laid out
// as the hicolor theme wants them, and an SVG document of the same picture (the tile as
// vectors, the sticker as an embedded picture).
//   gen_icons <penguin stamp picture> <output folder> <icon name>
// writes <output folder>/hicolor/<n>x<n>/apps/<icon name>.png and
//        <output folder>/hicolor/scalable/apps/<icon name>.svg
#include <cairo-svg.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "Canvas.h"
#include "Style.h"

using namespace content;
using namespace content::style;

namespace {

// The animal as a sticker filling a square of the given side: fitted, a white rim, a soft
// shadow below.
Surface Sticker(const Surface& stamp, int side) {
  Surface animal = Crop(stamp, AlphaBounds(stamp, 24));
  const double room = side * 0.84;
  const double scale = std::min(room / Width(animal), room / Height(animal));
  Surface placed = NewSurface(side, side);
  {
    Context c = NewContext(placed);
    cairo_translate(c.get(), (side - Width(animal) * scale) / 2, (side - Height(animal) * scale) / 2 - side / 64.0);
    cairo_scale(c.get(), scale, scale);
    cairo_set_source_surface(c.get(), animal.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(c.get()), CAIRO_FILTER_BEST);
    cairo_paint(c.get());
  }
  const int rimWidth = std::max(1, static_cast<int>(std::lround(side / 32.0)));
  Surface rim = Dilate(AlphaMask(placed, 0.3), rimWidth);
  Surface shadow = Tinted(rim, 0.08, 0.04, 0.15, 0.45);
  BlurSurface(shadow, side / 36.0);
  Surface out = NewSurface(side, side);
  Context c = NewContext(out);
  cairo_set_source_surface(c.get(), shadow.get(), 0, side / 36.0);
  cairo_paint(c.get());
  Surface white = Tinted(rim, 1, 1, 1, 1);
  cairo_set_source_surface(c.get(), white.get(), 0, 0);
  cairo_paint(c.get());
  cairo_set_source_surface(c.get(), placed.get(), 0, 0);
  cairo_paint(c.get());
  return out;
}

void DrawIcon(cairo_t* cr, const Surface& sticker, int side) {
  IconTile(cr, side);
  cairo_set_source_surface(cr, sticker.get(), 0, 0);
  cairo_paint(cr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: gen_icons <penguin stamp picture> <output folder> <icon name>\n");
    return 2;
  }
  const Surface stamp = LoadPng(argv[1]);
  if (!stamp) return 1;
  const std::string out = std::string(argv[2]) + "/hicolor/";
  const std::string name = argv[3];
  int failures = 0;
  for (int side : {48, 64, 128, 256}) {
    const Surface sticker = Sticker(stamp, side);
    Surface s = NewSurface(side, side);
    Context c = NewContext(s);
    DrawIcon(c.get(), sticker, side);
    const std::string dir = std::to_string(side) + "x" + std::to_string(side);
    if (!SavePng(s, out + dir + "/apps/" + name + ".png")) ++failures;
  }

  // The scalable picture: 256 units wide, the sticker at that size.
  const std::string svg = out + "scalable/apps/" + name + ".svg";
  if (!MakeParentDirs(svg)) return 1;
  const Surface sticker = Sticker(stamp, 256);
  cairo_surface_t* surface = cairo_svg_surface_create(svg.c_str(), 256, 256);
  cairo_svg_surface_restrict_to_version(surface, CAIRO_SVG_VERSION_1_1);
  cairo_t* cr = cairo_create(surface);
  DrawIcon(cr, sticker, 256);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "gen_icons: cannot write %s\n", svg.c_str());
    ++failures;
  }
  cairo_surface_destroy(surface);
  return failures == 0 ? 0 : 1;
}
