// Builds the animal pictures of Graphics/Shapes/: for every class and pose a main picture
// (the animal as a sticker: white rim and soft shadow) and a mask picture (the dark, soft,
// slightly transparent silhouette that an empty cell shows). Both are 71 x 71, the size at
// which the game draws cells, panel shapes and the held shape. Also writes the game's
// classes.xml: every class with its poses and its sound event, in the table's order.
//   gen_shapes <animals.txt> <game folder> <classes.xml>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "AnimalTable.h"
#include "Canvas.h"

using namespace content;

namespace {

constexpr int kSize = 71;      // on-screen size of a cell picture
constexpr int kWork = 2;       // drawing happens at twice the size, then is reduced
constexpr int kRim = 2;        // white rim of the sticker, final pixels
constexpr int kShadow = 2;     // shadow drop, final pixels

// The stamp, flipped and turned as the pose asks, cropped to its visible pixels.
Surface Pose(const AnimalPose& pose) {
  Surface src = LoadPng(kStampDir + pose.stamp + ".png");
  if (!src) return nullptr;
  Surface cropped = Crop(src, AlphaBounds(src, 24));
  const double w = Width(cropped), h = Height(cropped);
  const int side = static_cast<int>(std::ceil(std::hypot(w, h))) + 4;
  Surface canvas = NewSurface(side, side);
  Context cr = NewContext(canvas);
  cairo_translate(cr.get(), side / 2.0, side / 2.0);
  cairo_rotate(cr.get(), pose.angle * M_PI / 180.0);
  if (pose.mirror) cairo_scale(cr.get(), -1, 1);
  cairo_set_source_surface(cr.get(), cropped.get(), -w / 2, -h / 2);
  cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_BEST);
  cairo_paint(cr.get());
  return Crop(canvas, AlphaBounds(canvas, 24));
}

// The pose fitted into the work square, centred, leaving room for rim and shadow.
Surface Fitted(const Surface& pose) {
  const int work = kSize * kWork;
  const double room = work - 2.0 * (kRim + 1) * kWork - kShadow * kWork;
  const double scale = std::min(room / Width(pose), room / Height(pose));
  Surface out = NewSurface(work, work);
  Context cr = NewContext(out);
  const double x = (work - Width(pose) * scale) / 2;
  const double y = (work - kShadow * kWork - Height(pose) * scale) / 2;
  cairo_translate(cr.get(), x, y);
  cairo_scale(cr.get(), scale, scale);
  cairo_set_source_surface(cr.get(), pose.get(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_BEST);
  cairo_paint(cr.get());
  return out;
}

Surface MainPicture(const Surface& animal, const Surface& silhouette) {
  const int work = kSize * kWork;
  Surface rim = Dilate(silhouette, kRim * kWork);
  Surface shadow = Tinted(rim, 0.08, 0.04, 0.15, 0.45);
  BlurSurface(shadow, 2.0 * kWork);
  Surface out = NewSurface(work, work);
  Context cr = NewContext(out);
  cairo_set_source_surface(cr.get(), shadow.get(), 0, kShadow * kWork);
  cairo_paint(cr.get());
  Surface white = Tinted(rim, 1, 1, 1, 1);
  BlurSurface(white, 0.6);
  cairo_set_source_surface(cr.get(), white.get(), 0, 0);
  cairo_paint(cr.get());
  cairo_set_source_surface(cr.get(), animal.get(), 0, 0);
  cairo_paint(cr.get());
  return Scaled(out, kSize, kSize);
}

// The silhouette as the empty cell shows it: a deep violet shape, soft at the edge and a
// little lighter inside, so it reads on light and dark line colours alike.
Surface MaskPicture(const Surface& silhouette) {
  const int work = kSize * kWork;
  Surface grown = Dilate(silhouette, kWork);
  Surface out = NewSurface(work, work);
  Context cr = NewContext(out);
  Surface body = Tinted(grown, 0.10, 0.06, 0.20, 0.70);
  BlurSurface(body, 1.0 * kWork);
  cairo_set_source_surface(cr.get(), body.get(), 0, 0);
  cairo_paint(cr.get());
  // A faint inner glow keeps large shapes from looking like holes.
  Surface inner = Tinted(silhouette, 0.35, 0.28, 0.55, 0.22);
  BlurSurface(inner, 3.0 * kWork);
  cairo_set_operator(cr.get(), CAIRO_OPERATOR_ATOP);
  cairo_set_source_surface(cr.get(), inner.get(), 0, 0);
  cairo_paint(cr.get());
  return Scaled(out, kSize, kSize);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<AnimalClass> classes;
  if (argc != 4 || !ReadAnimalTable(argv[1], classes)) {
    std::fprintf(stderr, "usage: gen_shapes <animals.txt> <game folder> <classes.xml>\n");
    return 2;
  }
  const std::string game = argv[2];
  int failures = 0;
  // The folder holds exactly the poses of the table: pictures of poses dropped from it go.
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(Join(game, "Graphics/Shapes"), ec))
    if (entry.path().extension() == ".png") std::filesystem::remove(entry.path(), ec);
  std::string xml =
      "<?xml version=\"1.0\" ?>\n"
      "<!-- The animal classes of the game, written by the content pipeline from\n"
      "     tools/content/animals.txt (edit that table, not this file). -->\n<Level>\n";
  for (const AnimalClass& c : classes) {
    xml += "  <ShapeClass name=\"" + c.name + "\" soundEvent=\"animal_" + c.name + "\">\n";
    int n = 0;
    for (const AnimalPose& p : c.poses) {
      ++n;
      Surface pose = Pose(p);
      if (!pose) { ++failures; continue; }
      Surface animal = Fitted(pose);
      Surface silhouette = AlphaMask(animal, 0.4);
      const std::string base = c.name + "_" + std::to_string(n);
      if (!SavePng(MainPicture(animal, silhouette), Join(game, "Graphics/Shapes/" + base + ".png"))) ++failures;
      if (!SavePng(MaskPicture(silhouette), Join(game, "Graphics/Shapes/" + base + "_mask.png"))) ++failures;
      xml += "    <Shape mainImage=\"Graphics\\Shapes\\" + base + ".png\" maskImage=\"Graphics\\Shapes\\" + base +
             "_mask.png\"/>\n";
    }
    xml += "  </ShapeClass>\n";
  }
  xml += "</Level>\n";
  MakeParentDirs(argv[3]);
  std::ofstream(argv[3], std::ios::binary) << xml;
  return failures == 0 ? 0 : 1;
}
