// The symbol-font table: the input is "language.ini". Its first section gives the character
// list, the grid and the widths of the font; the sprite registry reads them as the game does
// at start-up and draws lines of text with them - the list itself, the input's bytes, and
// texts at every alignment and at the font's own size - onto a screen in memory.
#include "FuzzSupport.h"

#include "engine/sprites/SpriteManager.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/ini/IniDocument.h"

#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Orvane::MemoryImage screen(800, 600);
    static Orvane::Graphics graphics(&screen);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Orvane::IniDocument doc = Orvane::IniDocument::Parse(text);
    const std::vector<std::string> sections = doc.SectionNames();
    const std::string language = sections.empty() ? "ENGLISH" : sections.front();
    const uint8_t choices = Fuzz::Choices(data, size);

    CSpriteManager sprites;
    sprites.SetTextLookup([&](const std::string& key) { return doc.GetString(language, key); });
    sprites.SetImageLoader([choices](const std::string&) -> std::unique_ptr<Orvane::Image> {
        const int side = 16 + (choices % 16) * 16;
        return std::make_unique<Orvane::MemoryImage>(side, side);
    });
    sprites.SetAccelerationQuery([choices] { return (choices & 1) != 0; });
    sprites.SetDrawContext(1, &graphics);
    sprites.InitSymbolFont("English\\font01.png");
    sprites.InitSymbolFont("English\\font01.png");   // a second reading keeps the first widths

    const SymbolFont font = sprites.GetSymbolFont();
    sprites.DrawText(0.5f, 0.5f, 0.05f, 0xFFFFFFFF, 1, font.SymbolList());
    sprites.DrawText(0.1f, 0.2f, 0.1f, 0xFFFFFFFF, 0, std::string(text.substr(0, 300)));
    for (const int flags : {0, 1, 2, 3, 0x10, 0x11}) {
        sprites.DrawText(0.9f, 0.8f, 0.04f, 0x80FF00FF, flags, "Score: 12345 - Level 7");
    }
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    Fuzz::Initialize(argc, argv);
    return 0;
}
