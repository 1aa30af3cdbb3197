#include "Scene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace RenderBench {

using namespace Orvane;

namespace {

uint32_t Argb(int a, int r, int g, int b) {
    auto c = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
    return (c(a) << 24) | (c(r) << 16) | (c(g) << 8) | c(b);
}

// Alpha of a disc of the given radius with a soft rim `soft` pixels wide.
int SoftDisc(double dx, double dy, double radius, double soft) {
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d <= radius - soft) return 255;
    if (d >= radius) return 0;
    return int(255.0 * (radius - d) / soft);
}

void MakeBackground(MemoryImage& image) {
    image.Create(1024, 768);
    uint32_t* p = image.GetBits();
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x)
            p[y * 1024 + x] = Argb(255, x / 4, y / 3, (x * y) % 255);
    image.BitsChanged();
}

void MakeLine(MemoryImage& image) {
    image.Create(95, 600);
    uint32_t* p = image.GetBits();
    for (int y = 0; y < 95; ++y)
        for (int x = 0; x < 95; ++x) {
            const int a = SoftDisc(x - 47.0, y - 47.0, 46.0, 14.0);
            p[(y + 252) * 95 + x] = Argb(std::min(a, 200), 90, 120, 200 - y);
        }
    image.BitsChanged();
}

void MakeShape(MemoryImage& image) {
    image.Create(71, 71);
    uint32_t* p = image.GetBits();
    for (int y = 0; y < 71; ++y)
        for (int x = 0; x < 71; ++x)
            p[y * 71 + x] = Argb(SoftDisc(x - 35.0, y - 35.0, 35.0, 4.0), 200, 3 * x, 3 * y);
    image.BitsChanged();
}

void MakeFrame(MemoryImage& image) {
    image.Create(800, 600);
    uint32_t* p = image.GetBits();
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            // Distance into the transparent middle (the border is 36 px wide at the sides,
            // 24 at the top), with an 8-pixel soft inner edge.
            const int inside = std::min({x - 36, 764 - x, y - 24, 576 - y});
            const int a = inside <= 0 ? 255 : (inside >= 8 ? 0 : 255 - inside * 32);
            p[y * 800 + x] = Argb(a, 120 + x % 50, 80, 40 + y % 60);
        }
    image.BitsChanged();
}

void MakeBar(MemoryImage& image) {
    image.Create(800, 78);
    uint32_t* p = image.GetBits();
    for (int y = 0; y < 78; ++y)
        for (int x = 0; x < 800; ++x) p[y * 800 + x] = Argb(255, 60 + y, 90, 130 + (x % 40));
    image.BitsChanged();
}

void MakeParticle(MemoryImage& image) {
    image.Create(32, 32);
    uint32_t* p = image.GetBits();
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            p[y * 32 + x] = Argb(SoftDisc(x - 15.5, y - 15.5, 16.0, 14.0), 255, 220, 120);
    image.BitsChanged();
}

void MakeFont(MemoryImage& image) {
    image.Create(256, 192);
    uint32_t* p = image.GetBits();
    for (int cell = 0; cell < 128; ++cell) {
        const int cx = (cell % 16) * 16, cy = (cell / 16) * 24;
        // Two soft strokes per glyph, placed by the cell number.
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 16; ++x) {
                const double v = std::fabs(x - 4.0 - (cell % 5)) ;
                const double h = std::fabs(y - 6.0 - (cell % 11));
                const int a = std::max(v < 2.0 && y > 3 && y < 21 ? int(255 * (2.0 - v) / 2.0) : 0,
                                       h < 1.5 && x > 2 && x < 14 ? int(255 * (1.5 - h) / 1.5) : 0);
                p[(cy + y) * 256 + cx + x] = Argb(a, 255, 255, 255);
            }
    }
    image.BitsChanged();
}

}  // namespace

Scene::Scene() {
    MakeBackground(background_);
    MakeLine(line_);
    MakeShape(shape_);
    MakeFrame(frame_);
    MakeBar(bar_);
    MakeParticle(particle_);
    MakeFont(font_);
    for (MemoryImage* image : {&background_, &line_, &shape_, &frame_, &bar_, &particle_, &font_})
        image->Prepare();

    parts_.push_back({"clear", [](Graphics& g) {
        g.SetColor(Color(0, 0, 0));
        g.FillRect(0, 0, 800, 600);
    }});
    parts_.push_back({"background 1024x768 -> 688x516 linear", [this](Graphics& g) {
        g.DrawImage(&background_, Rect(128, 6, 688, 516), background_.GetRect());
    }});
    parts_.push_back({"36 lines 95x600", [this](Graphics& g) {
        for (int line = 0; line < 6; ++line) {
            const float x = 0.22f + 0.1275f * line;
            for (int j = 0; j < 6; ++j) {
                const float cy = (j + 0.65f) * 0.15833333f * 600.0f;
                g.DrawImage(&line_, int(x * 800.0f - 47.5f), int(cy - 300.0f));
            }
        }
    }});
    parts_.push_back({"66 shapes 71x71", [this](Graphics& g) {
        for (int i = 0; i < 66; ++i) {
            const int col = i % 6, row = i / 6;
            const int x = int((0.22f + 0.1275f * col) * 800.0f) - 35 + (row % 2) * 20;
            g.DrawImage(&shape_, Rect(x, 10 + row * 46, 71, 71), shape_.GetRect());
        }
    }});
    parts_.push_back({"frame 800x600", [this](Graphics& g) { g.DrawImage(&frame_, 0, 0); }});
    parts_.push_back({"bar 800x78 + 10 shapes", [this](Graphics& g) {
        g.DrawImage(&bar_, 0, 522);
        for (int i = 0; i < 10; ++i)
            g.DrawImage(&shape_, Rect(40 + i * 75, 525, 71, 71), shape_.GetRect());
    }});
    parts_.push_back({"40 additive particles rotated", [this](Graphics& g) {
        g.SetDrawMode(Graphics::DRAWMODE_ADDITIVE);
        g.SetColor(Color(255, 255, 255, 128));
        g.SetColorizeImages(true);
        for (int i = 0; i < 40; ++i) {
            Transform2D t;
            t.RotateDegrees(float(i * 37 % 360));
            t.Scale(1.0f, 1.0f);
            g.DrawImageWithTransform(&particle_, t, 300.0f + (i % 10) * 30.5f,
                                     250.0f + (i / 10) * 25.25f);
        }
        g.SetColorizeImages(false);
        g.SetDrawMode(Graphics::DRAWMODE_NORMAL);
    }});
    parts_.push_back({"200 glyphs 16x24 tinted", [this](Graphics& g) {
        g.SetColor(Color(255, 230, 90));
        g.SetColorizeImages(true);
        for (int i = 0; i < 200; ++i) {
            const int cell = (i * 7) % 128;
            const Rect src((cell % 16) * 16, (cell / 16) * 24, 16, 24);
            g.DrawImage(&font_, Rect(60 + (i % 40) * 17, 100 + (i / 40) * 60, 16, 24), src);
        }
        g.SetColorizeImages(false);
    }});
}

void Scene::DrawFrame(Graphics& g) const {
    for (const Part& part : parts_) part.draw(g);
}

}  // namespace RenderBench
