#include "menu/MenuEnvironment.h"

#include "engine/audio/SoundEvents.h"
#include "engine/sprites/SpriteManager.h"
#include "framework/platform/Platform.h"
#include "framework/platform/WindowMessage.h"

EngineMenuEnvironment::EngineMenuEnvironment(CSpriteManager* sprites) : sprites_(sprites) {}

CSpriteManager& EngineMenuEnvironment::Sprites() const {
    return sprites_ ? *sprites_ : SpriteManager();
}

int EngineMenuEnvironment::ScreenWidth() { return Sprites().GetScreenRect().width; }

int EngineMenuEnvironment::ScreenHeight() { return Sprites().GetScreenRect().height; }

bool EngineMenuEnvironment::PictureSize(const std::string& name, int& width, int& height) {
    const Orvane::Image* image = name.empty() ? nullptr : Sprites().GetTexture(name);
    const CSpriteManager::ImageSize size = CSpriteManager::GetImageSize(image);
    width = size.width;
    height = size.height;
    return image != nullptr;
}

void EngineMenuEnvironment::DrawPicture(const std::string& name, float x, float y, float w,
                                        float h, uint32_t colour, int flags) {
    if (name.empty()) return;
    Orvane::Image* image = Sprites().GetTexture(name);
    if (!image) return;
    Sprites().DrawSprite(image, x, y, w, h, 0.0f, 0.0f, 1.0f, 1.0f, colour, flags, 0.0f);
}

void EngineMenuEnvironment::DrawText(float x, float y, float height, uint32_t colour, int flags,
                                     const std::string& key) {
    Sprites().DrawText(x, y, height, colour, flags, key);
}

float EngineMenuEnvironment::FontCellHeight() {
    const Orvane::Image* texture = Sprites().GetSymbolTexture();
    const int rows = Sprites().GetSymbolFont().Rows();
    if (!texture || rows <= 0) return 0.0f;
    return static_cast<float>(CSpriteManager::GetImageSize(texture).height) /
           static_cast<float>(rows);
}

bool EngineMenuEnvironment::FontHasGlyph(char c) {
    if (c == '\0') return false;
    const SymbolFont font = Sprites().GetSymbolFont();
    return font.InGrid(font.IndexOf(static_cast<unsigned char>(c)));
}

void EngineMenuEnvironment::PlaySound(const std::string& fileName) { PlaySoundFileOnce(fileName); }

bool EngineMenuEnvironment::LeftButtonDown() {
    return (Orvane::GetPlatform().AsyncButtonState() & Orvane::MK_LBUTTON) != 0;
}

uint32_t EngineMenuEnvironment::NowMs() { return Orvane::GetPlatform().TimeMs(); }

MenuEnvironment& DefaultMenuEnvironment() {
    static EngineMenuEnvironment environment;
    return environment;
}
