// Helpers of the sprite, font and effect tests: a destination that records what the drawing
// context asks of it, solid pictures, a registry fed from memory instead of files, and a
// fixture with a manual clock, a temporary working folder (for applog.htm) and a frame.
#pragma once

#include "engine/sprites/SpriteManager.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/HeadlessPlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace SpriteTest {

// One primitive call reaching the destination.
struct DrawCall {
    enum Kind { Blit, Stretch, Rotated, Matrix, Mirror } kind = Blit;
    const Orvane::Image* source = nullptr;
    Orvane::Rect dest;      // Blit: (x, y, src size); Stretch: destination; Rotated/Matrix: (x, y)
    Orvane::Rect src;
    Orvane::Color color;
    int drawMode = 0;
    double angle = 0.0;
    Orvane::Matrix3 matrix;
};

// A screen-sized destination that draws nothing and remembers every call.
class RecordingImage : public Orvane::Image {
public:
    RecordingImage(int w = 800, int h = 600) { width_ = w; height_ = h; }

    std::vector<DrawCall> calls;

    void Blit(Orvane::Image* src, int x, int y, const Orvane::Rect& srcRect,
              const Orvane::Color& color, int drawMode) override {
        calls.push_back({DrawCall::Blit, src, {x, y, srcRect.width, srcRect.height}, srcRect,
                         color, drawMode, 0.0, {}});
    }
    void StretchBlit(Orvane::Image* src, const Orvane::Rect& destRect, const Orvane::Rect& srcRect,
                     const Orvane::Rect&, const Orvane::Color& color, int drawMode,
                     bool) override {
        calls.push_back({DrawCall::Stretch, src, destRect, srcRect, color, drawMode, 0.0, {}});
    }
    void BlitRotated(Orvane::Image* src, float x, float y, const Orvane::Rect&,
                     const Orvane::Color& color, int drawMode, double angle, float, float,
                     const Orvane::Rect& srcRect, bool) override {
        calls.push_back({DrawCall::Rotated, src,
                         {static_cast<int>(x), static_cast<int>(y), 0, 0}, srcRect, color,
                         drawMode, angle, {}});
    }
    void BlitMatrix(Orvane::Image* src, float x, float y, const Orvane::Matrix3& m,
                    const Orvane::Rect&, const Orvane::Color& color, int drawMode,
                    const Orvane::Rect& srcRect, bool) override {
        calls.push_back({DrawCall::Matrix, src,
                         {static_cast<int>(x), static_cast<int>(y), 0, 0}, srcRect, color,
                         drawMode, 0.0, m});
    }
    void BlitMirror(Orvane::Image* src, int x, int y, const Orvane::Rect& srcRect,
                    const Orvane::Rect&, const Orvane::Color& color, int drawMode) override {
        calls.push_back({DrawCall::Mirror, src, {x, y, srcRect.width, srcRect.height}, srcRect,
                         color, drawMode, 0.0, {}});
    }
};

// Rectangles computed through single-precision fractions may be a pixel off when truncated.
inline ::testing::AssertionResult RectNear(const Orvane::Rect& actual, const Orvane::Rect& expected,
                                           int tolerance = 1) {
    auto near = [tolerance](int a, int b) { return a - b <= tolerance && b - a <= tolerance; };
    if (near(actual.x, expected.x) && near(actual.y, expected.y) &&
        near(actual.width, expected.width) && near(actual.height, expected.height)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << actual.x << ", " << actual.y << ", " << actual.width << ", " << actual.height
           << ") is not near (" << expected.x << ", " << expected.y << ", " << expected.width
           << ", " << expected.height << ")";
}

inline std::unique_ptr<Orvane::MemoryImage> SolidImage(int w, int h, uint32_t argb) {
    auto image = std::make_unique<Orvane::MemoryImage>(w, h);
    image->Clear(argb);
    return image;
}

// Pictures served from memory by name; a name without a maker fails to load.
class PictureShop {
public:
    void Add(const std::string& name, int w, int h, uint32_t argb = 0xFFFFFFFF) {
        makers_[name] = [=] { return SolidImage(w, h, argb); };
    }
    void Add(const std::string& name, std::function<std::unique_ptr<Orvane::MemoryImage>()> make) {
        makers_[name] = std::move(make);
    }
    CSpriteManager::ImageLoader Loader() {
        return [this](const std::string& path) -> std::unique_ptr<Orvane::Image> {
            ++loads[path];
            auto it = makers_.find(path);
            if (it == makers_.end()) return nullptr;
            return it->second();
        };
    }
    std::map<std::string, int> loads;   // load attempts per name

private:
    std::map<std::string, std::function<std::unique_ptr<Orvane::MemoryImage>()>> makers_;
};

// Language texts served from memory.
class TextTable {
public:
    std::map<std::string, std::string> texts;
    CSpriteManager::TextLookup Lookup() {
        return [this](const std::string& key) {
            auto it = texts.find(key);
            return it == texts.end() ? std::string() : it->second;
        };
    }
};

// A fresh registry drawing into a recording screen, with a manual clock and its own folder.
class SpriteFixture : public ::testing::Test {
protected:
    SpriteFixture() : cwd_(dir_.Path()), graphics_(&screen_) {
        Orvane::SetPlatform(&platform_);
        sprites_.SetImageLoader(shop_.Loader());
        sprites_.SetTextLookup(texts_.Lookup());
        sprites_.SetAccelerationQuery([this] { return accelerated_; });
        sprites_.SetDrawContext(1, &graphics_);
    }
    ~SpriteFixture() override { Orvane::SetPlatform(nullptr); }

    std::string Log() const { return TestSupport::ReadFile(dir_ / "applog.htm"); }
    static int Count(const std::string& haystack, const std::string& needle) {
        int n = 0;
        for (size_t at = haystack.find(needle); at != std::string::npos;
             at = haystack.find(needle, at + 1)) {
            ++n;
        }
        return n;
    }

    TestSupport::ScopedTempDir dir_;
    TestSupport::ScopedCwd cwd_;
    Orvane::HeadlessPlatform platform_{Orvane::HeadlessPlatform::ClockMode::Manual};
    PictureShop shop_;
    TextTable texts_;
    bool accelerated_ = false;
    RecordingImage screen_;
    Orvane::Graphics graphics_;
    CSpriteManager sprites_;
};

}  // namespace SpriteTest
