// The benchmark scene: pictures shaped like the game's (background, field lines, shapes,
// frame, bottom bar, particles, glyphs), generated in memory, and the draws of one frame.
#pragma once

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

#include <functional>
#include <string>
#include <vector>

namespace RenderBench {

class Scene {
public:
    Scene();

    // One part of the frame: a name and its draws.
    struct Part {
        std::string name;
        std::function<void(Orvane::Graphics&)> draw;
    };
    const std::vector<Part>& Parts() const { return parts_; }
    void DrawFrame(Orvane::Graphics& g) const;

private:
    Orvane::MemoryImage background_;   // 1024 x 768, opaque
    Orvane::MemoryImage line_;         // 95 x 600, a 95 x 95 band in the middle
    Orvane::MemoryImage shape_;        // 71 x 71, opaque body with soft edges
    Orvane::MemoryImage frame_;        // 800 x 600, transparent middle
    Orvane::MemoryImage bar_;          // 800 x 78, opaque
    Orvane::MemoryImage particle_;     // 32 x 32 soft blob
    Orvane::MemoryImage font_;         // 16 x 8 cells of 16 x 24
    std::vector<Part> parts_;
};

}  // namespace RenderBench
