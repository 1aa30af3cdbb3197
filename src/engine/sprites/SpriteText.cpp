// The symbol font of the registry and the drawing of one line of text with it.
#include "engine/sprites/SpriteManager.h"

#include <algorithm>

namespace {

bool NamesPicture(const std::string& text) {
    return text.find(".png") != std::string::npos || text.find(".tga") != std::string::npos;
}

}  // namespace

void CSpriteManager::InitSymbolFont(const std::string& imageName) {
    // Read outside the lock: the texts come from language.ini and the picture may be decoded.
    SymbolFont font;
    {
        std::shared_lock<std::shared_mutex> lock(fontMutex_);
        font = font_;   // a second call keeps the widths read by the first
    }
    font.Load([this](const std::string& key) { return Translate(key); });
    Orvane::Image* texture = GetTexture(imageName);

    std::unique_lock<std::shared_mutex> lock(fontMutex_);
    font_ = font;
    symbolTexture_ = texture;
}

SymbolFont CSpriteManager::GetSymbolFont() const {
    std::shared_lock<std::shared_mutex> lock(fontMutex_);
    return font_;
}

Orvane::Image* CSpriteManager::GetSymbolTexture() const {
    std::shared_lock<std::shared_mutex> lock(fontMutex_);
    return symbolTexture_;
}

void CSpriteManager::DrawPictureText(float x, float y, float height, uint32_t colour, int flags,
                                     const std::string& text) {
    Orvane::Image* image = GetTexture(text);
    const ImageSize size = GetImageSize(image);
    if (size.width <= 0 || size.height <= 0) return;   // nothing to draw, nothing to measure
    const ScreenRect screen = GetScreenRect();
    const float W = static_cast<float>(screen.width);
    const float H = static_cast<float>(screen.height);
    const bool natural = (flags & TEXT_NATURAL_SIZE) != 0;
    // The picture keeps its aspect ratio at the text's height.
    float w = height * (static_cast<float>(size.width) / static_cast<float>(size.height)) * (H / W);
    float h = height;
    if (natural) {
        w = static_cast<float>(size.width) / W;
        h = static_cast<float>(size.height) / H;
    }
    float offset = w * 0.5f;
    if (flags & TEXT_CENTRE) offset = 0.0f;
    if (flags & TEXT_RIGHT) offset = -w * 0.5f;
    DrawSprite(image, x + offset, y, w, h, 0.0f, 0.0f, 1.0f, 1.0f, colour,
               natural ? SPRITE_NORMAL | SPRITE_NATURAL_SIZE : SPRITE_NORMAL, 0.0f);
}

void CSpriteManager::DrawText(float x, float y, float height, uint32_t colour, int flags,
                              const std::string& key) {
    if (key.empty()) return;
    std::string text = Translate(key);
    if (text.empty()) text = key;
    if (text.size() > SymbolFont::kMaxTextLength) text.resize(SymbolFont::kMaxTextLength);

    if (NamesPicture(text)) {
        DrawPictureText(x, y, height, colour, flags, text);
        return;
    }

    std::shared_lock<std::shared_mutex> lock(fontMutex_);
    Orvane::Image* texture = symbolTexture_;
    if (texture == nullptr || texture->GetWidth() <= 0 || texture->GetHeight() <= 0) return;

    const ScreenRect screen = GetScreenRect();
    const float cw = static_cast<float>(texture->GetWidth()) /
                     static_cast<float>(font_.Columns()) / static_cast<float>(screen.width);
    const float ch = static_cast<float>(texture->GetHeight()) /
                     static_cast<float>(font_.Rows()) / static_cast<float>(screen.height);
    const bool natural = (flags & TEXT_NATURAL_SIZE) != 0;
    const float gw = natural ? cw : cw * height / ch;

    // Laid out per call on the stack: DrawText keeps no state between texts.
    TextLayout layout;
    LayoutText(font_, text, gw, layout);
    const float origin = x + layout.AlignOffset(flags);
    const int drawFlags = natural ? SPRITE_NATURAL_SIZE : 0;
    for (int i = 0; i < layout.count; ++i) {
        const TextLayout::Glyph& glyph = layout.glyphs[static_cast<size_t>(i)];
        if (!font_.InGrid(glyph.index)) continue;   // absent, or listed beyond the picture
        const UvWindow window = font_.GlyphWindow(glyph.index);
        DrawSprite(texture, origin + glyph.centre, y, gw, height, window.left, window.top,
                   window.right, window.bottom, colour, drawFlags, 0.0f);
    }
}
