#include "Canvas.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>

namespace content {

Surface NewSurface(int width, int height) {
  return Surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
}

Context NewContext(const Surface& s) { return Context(cairo_create(s.get())); }
int Width(const Surface& s) { return cairo_image_surface_get_width(s.get()); }
int Height(const Surface& s) { return cairo_image_surface_get_height(s.get()); }

std::string Join(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  return a.back() == '/' ? a + b : a + "/" + b;
}

bool MakeParentDirs(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p(path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
  return !ec;
}

Surface LoadPng(const std::string& path) {
  Surface s(cairo_image_surface_create_from_png(path.c_str()));
  if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "content: cannot read %s\n", path.c_str());
    return nullptr;
  }
  // Always work on ARGB32 so pixel loops can rely on the layout.
  if (cairo_image_surface_get_format(s.get()) != CAIRO_FORMAT_ARGB32) {
    Surface c = NewSurface(Width(s), Height(s));
    Context cr = NewContext(c);
    cairo_set_source_surface(cr.get(), s.get(), 0, 0);
    cairo_paint(cr.get());
    return c;
  }
  return s;
}

Surface LoadJpeg(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    std::fprintf(stderr, "content: cannot read %s\n", path.c_str());
    return nullptr;
  }
  jpeg_decompress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, f);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  const int w = info.output_width, h = info.output_height;
  Surface s = NewSurface(w, h);
  cairo_surface_flush(s.get());
  unsigned char* data = cairo_image_surface_get_data(s.get());
  const int stride = cairo_image_surface_get_stride(s.get());
  std::vector<unsigned char> row(static_cast<size_t>(w) * 3);
  while (info.output_scanline < info.output_height) {
    const int y = info.output_scanline;
    JSAMPROW rp = row.data();
    jpeg_read_scanlines(&info, &rp, 1);
    auto* out = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < w; ++x)
      out[x] = 0xFF000000u | (row[x * 3] << 16) | (row[x * 3 + 1] << 8) | row[x * 3 + 2];
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  std::fclose(f);
  cairo_surface_mark_dirty(s.get());
  return s;
}

bool SavePng(const Surface& s, const std::string& path) {
  MakeParentDirs(path);
  cairo_surface_flush(s.get());
  if (cairo_surface_write_to_png(s.get(), path.c_str()) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "content: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

bool SaveJpeg(const Surface& s, const std::string& path, int quality) {
  MakeParentDirs(path);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "content: cannot write %s\n", path.c_str());
    return false;
  }
  cairo_surface_flush(s.get());
  const int w = Width(s), h = Height(s);
  const unsigned char* data = cairo_image_surface_get_data(s.get());
  const int stride = cairo_image_surface_get_stride(s.get());
  jpeg_compress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, f);
  info.image_width = w;
  info.image_height = h;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.optimize_coding = TRUE;
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(w) * 3);
  for (int y = 0; y < h; ++y) {
    const auto* in = reinterpret_cast<const uint32_t*>(data + y * stride);
    for (int x = 0; x < w; ++x) {
      row[x * 3] = (in[x] >> 16) & 0xFF;
      row[x * 3 + 1] = (in[x] >> 8) & 0xFF;
      row[x * 3 + 2] = in[x] & 0xFF;
    }
    JSAMPROW rp = row.data();
    jpeg_write_scanlines(&info, &rp, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(f);
  return true;
}

namespace {

// One horizontal or vertical box pass over all four premultiplied channels.
void BoxPass(std::vector<float>& buf, int w, int h, int r, bool horizontal) {
  std::vector<float> line, out;
  const int n = horizontal ? w : h;
  const int count = horizontal ? h : w;
  line.resize(static_cast<size_t>(n) * 4);
  out.resize(line.size());
  for (int k = 0; k < count; ++k) {
    for (int i = 0; i < n; ++i) {
      const size_t idx = horizontal ? (static_cast<size_t>(k) * w + i) : (static_cast<size_t>(i) * w + k);
      for (int c = 0; c < 4; ++c) line[i * 4 + c] = buf[idx * 4 + c];
    }
    for (int c = 0; c < 4; ++c) {
      float sum = 0;
      for (int i = -r; i <= r; ++i) sum += line[std::clamp(i, 0, n - 1) * 4 + c] * (i >= 0 && i < n ? 1.f : 0.f);
      for (int i = 0; i < n; ++i) {
        out[i * 4 + c] = sum / (2 * r + 1);
        const int add = i + r + 1, sub = i - r;
        if (add < n) sum += line[add * 4 + c];
        if (sub >= 0) sum -= line[sub * 4 + c];
      }
    }
    for (int i = 0; i < n; ++i) {
      const size_t idx = horizontal ? (static_cast<size_t>(k) * w + i) : (static_cast<size_t>(i) * w + k);
      for (int c = 0; c < 4; ++c) buf[idx * 4 + c] = out[i * 4 + c];
    }
  }
}

}  // namespace

void BlurSurface(const Surface& s, double radius) {
  if (radius <= 0.0) return;
  cairo_surface_flush(s.get());
  const int w = Width(s), h = Height(s);
  unsigned char* data = cairo_image_surface_get_data(s.get());
  const int stride = cairo_image_surface_get_stride(s.get());
  std::vector<float> buf(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    const auto* p = reinterpret_cast<const uint32_t*>(data + y * stride);
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 4; ++c) buf[(static_cast<size_t>(y) * w + x) * 4 + c] = (p[x] >> (c * 8)) & 0xFF;
  }
  // Three box passes of radius r approximate a gaussian of sigma ~ r.
  const int r = std::max(1, static_cast<int>(std::lround(radius * 0.8)));
  for (int pass = 0; pass < 3; ++pass) {
    BoxPass(buf, w, h, r, true);
    BoxPass(buf, w, h, r, false);
  }
  for (int y = 0; y < h; ++y) {
    auto* p = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < w; ++x) {
      uint32_t v = 0;
      const float a = std::clamp(buf[(static_cast<size_t>(y) * w + x) * 4 + 3], 0.f, 255.f);
      for (int c = 0; c < 4; ++c) {
        float f = std::clamp(buf[(static_cast<size_t>(y) * w + x) * 4 + c], 0.f, 255.f);
        if (c < 3) f = std::min(f, a);
        v |= static_cast<uint32_t>(std::lround(f)) << (c * 8);
      }
      p[x] = v;
    }
  }
  cairo_surface_mark_dirty(s.get());
}

Surface AlphaMask(const Surface& s, double threshold) {
  cairo_surface_flush(s.get());
  const int w = Width(s), h = Height(s);
  Surface out = NewSurface(w, h);
  cairo_surface_flush(out.get());
  const unsigned char* in = cairo_image_surface_get_data(s.get());
  unsigned char* od = cairo_image_surface_get_data(out.get());
  const int is = cairo_image_surface_get_stride(s.get()), os = cairo_image_surface_get_stride(out.get());
  const int t = static_cast<int>(threshold * 255);
  for (int y = 0; y < h; ++y) {
    const auto* p = reinterpret_cast<const uint32_t*>(in + y * is);
    auto* q = reinterpret_cast<uint32_t*>(od + y * os);
    for (int x = 0; x < w; ++x) q[x] = static_cast<int>(p[x] >> 24) > t ? 0xFFFFFFFFu : 0u;
  }
  cairo_surface_mark_dirty(out.get());
  return out;
}

Surface Dilate(const Surface& s, int radius) {
  cairo_surface_flush(s.get());
  const int w = Width(s), h = Height(s);
  Surface out = NewSurface(w, h);
  cairo_surface_flush(out.get());
  const unsigned char* in = cairo_image_surface_get_data(s.get());
  unsigned char* od = cairo_image_surface_get_data(out.get());
  const int is = cairo_image_surface_get_stride(s.get()), os = cairo_image_surface_get_stride(out.get());
  std::vector<std::pair<int, int>> disc;
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx)
      if (dx * dx + dy * dy <= radius * radius + radius) disc.emplace_back(dx, dy);
  for (int y = 0; y < h; ++y) {
    auto* q = reinterpret_cast<uint32_t*>(od + y * os);
    for (int x = 0; x < w; ++x) {
      uint32_t best = 0;
      for (auto [dx, dy] : disc) {
        const int xx = x + dx, yy = y + dy;
        if (xx < 0 || yy < 0 || xx >= w || yy >= h) continue;
        const uint32_t a = reinterpret_cast<const uint32_t*>(in + yy * is)[xx] >> 24;
        best = std::max(best, a);
        if (best == 255) break;
      }
      q[x] = (best << 24) | (best << 16) | (best << 8) | best;
    }
  }
  cairo_surface_mark_dirty(out.get());
  return out;
}

Surface Tinted(const Surface& s, double r, double g, double b, double a) {
  Surface out = NewSurface(Width(s), Height(s));
  Context cr = NewContext(out);
  cairo_set_source_rgba(cr.get(), r, g, b, a);
  cairo_mask_surface(cr.get(), s.get(), 0, 0);
  return out;
}

Box AlphaBounds(const Surface& s, int threshold) {
  cairo_surface_flush(s.get());
  const int w = Width(s), h = Height(s);
  const unsigned char* in = cairo_image_surface_get_data(s.get());
  const int is = cairo_image_surface_get_stride(s.get());
  Box b{w, h, 0, 0};
  for (int y = 0; y < h; ++y) {
    const auto* p = reinterpret_cast<const uint32_t*>(in + y * is);
    for (int x = 0; x < w; ++x)
      if (static_cast<int>(p[x] >> 24) > threshold) {
        b.x0 = std::min(b.x0, x);
        b.y0 = std::min(b.y0, y);
        b.x1 = std::max(b.x1, x + 1);
        b.y1 = std::max(b.y1, y + 1);
      }
  }
  if (b.x1 <= b.x0) return Box{};
  return b;
}

Surface Crop(const Surface& s, const Box& b) {
  Surface out = NewSurface(b.x1 - b.x0, b.y1 - b.y0);
  Context cr = NewContext(out);
  cairo_set_source_surface(cr.get(), s.get(), -b.x0, -b.y0);
  cairo_paint(cr.get());
  return out;
}

Surface Scaled(const Surface& src, int width, int height) {
  Surface out = NewSurface(width, height);
  Context cr = NewContext(out);
  cairo_scale(cr.get(), static_cast<double>(width) / Width(src), static_cast<double>(height) / Height(src));
  cairo_set_source_surface(cr.get(), src.get(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_GOOD);
  cairo_pattern_set_extend(cairo_get_source(cr.get()), CAIRO_EXTEND_PAD);
  cairo_paint(cr.get());
  return out;
}

void PaintScaled(cairo_t* cr, const Surface& src, double x, double y, double scale, double alpha) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, src.get(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint_with_alpha(cr, alpha);
  cairo_restore(cr);
}

void PaintCover(cairo_t* cr, const Surface& src, double x, double y, double w, double h) {
  const double sw = Width(src), sh = Height(src);
  const double scale = std::max(w / sw, h / sh);
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_translate(cr, x + (w - sw * scale) / 2, y + (h - sh * scale) / 2);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, src.get(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_paint(cr);
  cairo_restore(cr);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void StarPath(cairo_t* cr, double cx, double cy, double rOuter, double rInner, int points, double rotation) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < points * 2; ++i) {
    const double a = rotation - M_PI / 2 + i * M_PI / points;
    const double r = (i % 2 == 0) ? rOuter : rInner;
    cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
  }
  cairo_close_path(cr);
}

void SetRgb(cairo_t* cr, uint32_t rgb, double alpha) {
  cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0,
                        alpha);
}

namespace {

struct FontFaces {
  FT_Library library = nullptr;
  std::map<Face, cairo_font_face_t*> faces;
  FontFaces() { FT_Init_FreeType(&library); }
  cairo_font_face_t* Get(Face face) {
    auto it = faces.find(face);
    if (it != faces.end()) return it->second;
    const char* path = "/usr/share/fonts/truetype/quicksand/Quicksand-Bold.ttf";
    if (face == Face::Medium) path = "/usr/share/fonts/truetype/quicksand/Quicksand-Medium.ttf";
    if (face == Face::Regular) path = "/usr/share/fonts/truetype/quicksand/Quicksand-Regular.ttf";
    FT_Face ft = nullptr;
    if (FT_New_Face(library, path, 0, &ft) != 0) {
      std::fprintf(stderr, "content: cannot open font %s\n", path);
      return nullptr;
    }
    cairo_font_face_t* cf = cairo_ft_font_face_create_for_ft_face(ft, 0);
    faces[face] = cf;
    return cf;
  }
};

FontFaces& Fonts() {
  static FontFaces fonts;
  return fonts;
}

}  // namespace

void SelectFace(cairo_t* cr, Face face, double size) {
  cairo_set_font_face(cr, Fonts().Get(face));
  cairo_set_font_size(cr, size);
  cairo_font_options_t* opt = cairo_font_options_create();
  cairo_font_options_set_hint_style(opt, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(opt, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(opt, CAIRO_ANTIALIAS_GRAY);
  cairo_set_font_options(cr, opt);
  cairo_font_options_destroy(opt);
}

double TextWidth(cairo_t* cr, const std::string& text) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  return e.x_advance;
}

void DrawLabel(cairo_t* cr, const std::string& text, double cx, double baseline, const TextStyle& st) {
  cairo_save(cr);
  SelectFace(cr, st.face, st.size);
  const double x = cx - TextWidth(cr, text) / 2;
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  if (st.shadowAlpha > 0) {
    cairo_new_path(cr);
    cairo_move_to(cr, x + st.shadowOffset * 0.5, baseline + st.shadowOffset);
    cairo_text_path(cr, text.c_str());
    cairo_set_source_rgba(cr, 0, 0, 0, st.shadowAlpha);
    cairo_set_line_width(cr, st.outlineWidth * 2);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
  }
  cairo_new_path(cr);
  cairo_move_to(cr, x, baseline);
  cairo_text_path(cr, text.c_str());
  if (st.outlineWidth > 0) {
    SetRgb(cr, st.outline);
    cairo_set_line_width(cr, st.outlineWidth * 2);
    cairo_stroke_preserve(cr);
  }
  if (st.gradient) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, baseline - st.size * 0.75, 0, baseline);
    cairo_pattern_add_color_stop_rgb(g, 0, ((st.fill >> 16) & 255) / 255.0, ((st.fill >> 8) & 255) / 255.0,
                                     (st.fill & 255) / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, ((st.fillBottom >> 16) & 255) / 255.0,
                                     ((st.fillBottom >> 8) & 255) / 255.0, (st.fillBottom & 255) / 255.0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
  } else {
    SetRgb(cr, st.fill);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

uint32_t Rng::Next() {
  // xorshift32: small, fast and the same everywhere.
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

double Rng::Uniform(double lo, double hi) { return lo + (hi - lo) * (Next() / 4294967296.0); }

}  // namespace content
