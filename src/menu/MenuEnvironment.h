// What a menu screen needs from the engine around it: the logical screen size, pictures and
// texts drawn through the sprite registry and the symbol font, the font's glyph set (edit
// boxes refuse characters the font cannot show), the sound files of hover and click, the
// state of the left mouse button and the clock. The default environment is the engine's
// process-wide one; tests and tools give a menu their own.
#pragma once

#include <cstdint>
#include <string>

class MenuEnvironment {
public:
    virtual ~MenuEnvironment() = default;

    // The logical screen in pixels (the application's 800 x 600).
    virtual int ScreenWidth() = 0;
    virtual int ScreenHeight() = 0;

    // Pixel size of a picture; false (and 0 x 0) when it cannot be had.
    virtual bool PictureSize(const std::string& name, int& width, int& height) = 0;
    // A whole picture centred at (x, y), size w x h, in screen fractions (sprite draw flags).
    virtual void DrawPicture(const std::string& name, float x, float y, float w, float h,
                             uint32_t colour, int flags) = 0;
    // One line of text with the symbol font (text flags: 1 centre, 2 right, 0x10 natural).
    virtual void DrawText(float x, float y, float height, uint32_t colour, int flags,
                          const std::string& key) = 0;
    // Height of one cell of the symbol font image, in pixels (0 before the font exists).
    virtual float FontCellHeight() = 0;
    // Whether the symbol font has a glyph for c.
    virtual bool FontHasGlyph(char c) = 0;

    // Plays a sound file once, by its registered name.
    virtual void PlaySound(const std::string& fileName) = 0;
    // Whether the left mouse button is held now.
    virtual bool LeftButtonDown() = 0;
    // The millisecond clock.
    virtual uint32_t NowMs() = 0;
};

class CSpriteManager;

// The engine's environment: pictures and texts through a sprite registry (by default the
// process-wide one), sounds through the audio manager, the clock and the mouse buttons from
// the platform.
class EngineMenuEnvironment : public MenuEnvironment {
public:
    explicit EngineMenuEnvironment(CSpriteManager* sprites = nullptr);

    int ScreenWidth() override;
    int ScreenHeight() override;
    bool PictureSize(const std::string& name, int& width, int& height) override;
    void DrawPicture(const std::string& name, float x, float y, float w, float h, uint32_t colour,
                     int flags) override;
    void DrawText(float x, float y, float height, uint32_t colour, int flags,
                  const std::string& key) override;
    float FontCellHeight() override;
    bool FontHasGlyph(char c) override;
    void PlaySound(const std::string& fileName) override;
    bool LeftButtonDown() override;
    uint32_t NowMs() override;

private:
    CSpriteManager& Sprites() const;

    CSpriteManager* sprites_;
};

// The environment of menus built without one.
MenuEnvironment& DefaultMenuEnvironment();
