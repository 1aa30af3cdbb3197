// Drawing helpers shared by the content generators: cairo surfaces, PNG and JPEG files,
// blur and dilation of alpha, text through FreeType. Every helper is deterministic.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace content {

// Owning handles for cairo objects.
struct SurfaceDeleter { void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); } };
struct ContextDeleter { void operator()(cairo_t* c) const { cairo_destroy(c); } };
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

Surface NewSurface(int width, int height);  // ARGB32, fully transparent
Context NewContext(const Surface& s);
int Width(const Surface& s);
int Height(const Surface& s);

// Files. Loading failures print a message and return an empty handle.
Surface LoadPng(const std::string& path);
Surface LoadJpeg(const std::string& path);
bool SavePng(const Surface& s, const std::string& path);
bool SaveJpeg(const Surface& s, const std::string& path, int quality);
bool MakeParentDirs(const std::string& path);

// Pixel operations on ARGB32 (premultiplied) surfaces.
void BlurSurface(const Surface& s, double radius);              // three box passes ~ gaussian
Surface AlphaMask(const Surface& s, double threshold);          // hard silhouette as A8-like ARGB white
Surface Dilate(const Surface& s, int radius);                   // grows the alpha channel (disc)
Surface Tinted(const Surface& s, double r, double g, double b, double a);  // colour * alpha
struct Box { int x0 = 0, y0 = 0, x1 = 0, y1 = 0; bool Empty() const { return x1 <= x0 || y1 <= y0; } };
Box AlphaBounds(const Surface& s, int threshold = 8);
Surface Crop(const Surface& s, const Box& b);
// Scales src into a new width x height surface (filter GOOD), whole image.
Surface Scaled(const Surface& src, int width, int height);

// Paints src so that its rectangle (0,0,w,h) maps onto (x, y, w*scale, h*scale).
void PaintScaled(cairo_t* cr, const Surface& src, double x, double y, double scale, double alpha = 1.0);
// Covers the target rectangle with src keeping src's aspect (cropping the overflow).
void PaintCover(cairo_t* cr, const Surface& src, double x, double y, double w, double h);

// Shapes.
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void StarPath(cairo_t* cr, double cx, double cy, double rOuter, double rInner, int points, double rotation);
void SetRgb(cairo_t* cr, uint32_t rgb, double alpha = 1.0);

// Text through cairo's FreeType back-end. The faces stay loaded for the run.
enum class Face { Bold, Medium, Regular };
void SelectFace(cairo_t* cr, Face face, double size);
double TextWidth(cairo_t* cr, const std::string& text);
// Draws text centred at (cx, baseline y) with a dark outline and a soft shadow.
struct TextStyle {
  Face face = Face::Bold;
  double size = 24;
  uint32_t fill = 0xFFFFFF;
  uint32_t outline = 0x3A2458;
  double outlineWidth = 3;
  double shadowAlpha = 0.35;
  double shadowOffset = 2;
  bool gradient = false;          // vertical gradient from fill to fillBottom
  uint32_t fillBottom = 0xFFFFFF;
};
void DrawLabel(cairo_t* cr, const std::string& text, double cx, double baseline, const TextStyle& style);

// Fixed-seed random numbers for reproducible decorations.
class Rng {
 public:
  explicit Rng(uint32_t seed) : state_(seed ? seed : 1) {}
  uint32_t Next();
  double Uniform(double lo, double hi);  // [lo, hi)
 private:
  uint32_t state_;
};

// Path helpers: the pipeline writes game paths with '/' below the output root.
std::string Join(const std::string& a, const std::string& b);

}  // namespace content
