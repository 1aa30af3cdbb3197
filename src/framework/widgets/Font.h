// Font: what the framework's widgets need of a text font: metrics and drawing a string
// through a Graphics. The game draws its texts with its own bitmap fonts; concrete framework
// fonts (image fonts, system fonts) plug in here.
#pragma once

#include <memory>
#include <string>

#include "framework/graphics/Color.h"

namespace Orvane {

class Graphics;

class Font {
public:
    virtual ~Font() = default;

    // Pixels above the baseline.
    virtual int GetAscent() const = 0;
    // Line height in pixels.
    virtual int GetHeight() const = 0;
    virtual int StringWidth(const std::string& text) const = 0;
    // Draws text with its baseline starting at (x, y) in g's space.
    virtual void DrawString(Graphics& g, int x, int y, const std::string& text,
                            const Color& color) const = 0;

    // A font of the platform's system fonts by family name and point size, or null when the
    // platform offers none (then labels without a font of their own are not drawn).
    static std::unique_ptr<Font> CreateSystemFont(const std::string& family, int pointSize);
};

}  // namespace Orvane
