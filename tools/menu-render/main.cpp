// nookvale-menu-render: draws one menu screen file as the game draws it, over a game folder,
// into an 800 x 600 PNG. With --pointer the pointer is moved there first, so buttons and
// sliders under it show their hover pictures. Pictures that the screen names but that do not
// load are listed on standard error.
#include "RenderOptions.h"
#include "ScreenPng.h"

#include "engine/config/Config.h"
#include "engine/sprites/SpriteManager.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "menu/CMenu.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// The engine's environment without sound, with the button up and a fixed clock.
class RenderEnvironment : public EngineMenuEnvironment {
public:
    RenderEnvironment(CSpriteManager* sprites, uint32_t timeMs)
        : EngineMenuEnvironment(sprites), timeMs_(timeMs) {}
    void PlaySound(const std::string&) override {}
    bool LeftButtonDown() override { return false; }
    uint32_t NowMs() override { return timeMs_; }

private:
    uint32_t timeMs_;
};

// Every picture the screen names, for the report of missing ones.
std::set<std::string> NamedPictures(const CMenu& menu) {
    std::set<std::string> names{menu.Screen().bgImage};
    for (int i = 0; i < menu.ButtonCount(); ++i) {
        const MenuButton& b = menu.Button(i);
        names.insert({b.outImg, b.overImg, b.outImgChecked, b.overImgChecked});
    }
    for (int i = 0; i < menu.SliderCount(); ++i) {
        const MenuSlider& s = menu.Slider(i);
        names.insert({s.outSliderImg, s.overSliderImg, s.outThumbImg, s.overThumbImg});
    }
    for (int i = 0; i < menu.ImageCount(); ++i) names.insert(menu.Image(i).img);
    names.erase("");
    return names;
}

// A menu argument that names an existing file here is used by its full path; otherwise it is
// a program name looked up in the game folder.
std::string MenuPath(const std::string& argument) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(argument, ec)) {
        return std::filesystem::absolute(argument, ec).string();
    }
    return argument;
}

}  // namespace

int main(int argc, char** argv) {
    RenderOptions options;
    std::string message;
    if (!ParseRenderOptions(argc, argv, options, message)) {
        std::fputs(message.c_str(), stderr);
        return 2;
    }
    const std::string menuPath = MenuPath(options.menu);
    std::error_code ec;
    const std::string output = std::filesystem::absolute(options.output, ec).string();
    // The game reads everything relative to its folder.
    std::filesystem::current_path(options.gameDir, ec);
    if (ec) {
        std::fprintf(stderr, "cannot enter the game folder %s: %s\n", options.gameDir.c_str(),
                     ec.message().c_str());
        return 1;
    }

    std::string language = options.language;
    if (language.empty() && !ConfigGetString("LANGUAGE", "Name", language)) language = "ENGLISH";
    SetLanguageName(language);

    CSpriteManager sprites;
    sprites.InitSymbolFont(LangText("English\\") + "font01.png");
    if (!sprites.GetSymbolTexture()) {
        std::fprintf(stderr, "warning: no symbol font (language '%s'): texts will not show\n",
                     language.c_str());
    }

    RenderEnvironment environment(&sprites, options.timeMs);
    CMenu menu(&environment);
    if (!menu.LoadMenu(menuPath)) {
        std::fprintf(stderr, "cannot load the menu %s (details in applog.htm of the game folder)\n",
                     menuPath.c_str());
        return 1;
    }
    menu.opacity = options.opacity;
    for (const auto& [name, text] : options.texts) menu.SetText(name, text);
    // Screens drawn with it: they take no input, as in the game, where only one is current.
    auto loadScreens = [&](const std::vector<std::string>& names,
                           std::vector<std::unique_ptr<CMenu>>& screens) {
        for (const std::string& name : names) {
            screens.push_back(std::make_unique<CMenu>(&environment));
            if (!screens.back()->LoadMenu(MenuPath(name))) {
                std::fprintf(stderr, "cannot load the menu %s\n", name.c_str());
                return false;
            }
        }
        return true;
    };
    std::vector<std::unique_ptr<CMenu>> under, over;
    if (!loadScreens(options.under, under) || !loadScreens(options.over, over)) return 1;

    Orvane::MemoryImage screen(CSpriteManager::kLogicalWidth, CSpriteManager::kLogicalHeight);
    Orvane::Graphics g(&screen);
    sprites.SetDrawContext(0, &g);
    auto drawFrame = [&] {
        screen.Clear(0xFF000000u);
        if (!options.backdrop.empty()) {
            sprites.DrawSprite(sprites.GetTexture(options.backdrop), 0.5f, 0.5f, 1.0f, 1.0f, 0.0f,
                               0.0f, 1.0f, 1.0f, kNoTint, SPRITE_NATURAL_SIZE, 0.0f);
        }
        for (auto& screen : under) screen->DrawMenu();
        menu.DrawMenu();
        for (auto& screen : over) screen->DrawMenu();
    };
    // The first frame gives sliders and natural-size buttons their sizes, as in the game.
    drawFrame();
    if (options.pointer) {
        Orvane::WindowMessage move;
        move.message = Orvane::WM_MOUSEMOVE;
        move.x = options.pointerX;
        move.y = options.pointerY;
        menu.ProcessInput(move);
        drawFrame();
        if (options.drawPointer) DrawPointerMark(screen, options.pointerX, options.pointerY);
    }
    sprites.SetDrawContext(0, nullptr);

    int missing = 0;
    for (const std::string& name : NamedPictures(menu)) {
        int w = 0, h = 0;
        if (!environment.PictureSize(name, w, h)) {
            std::fprintf(stderr, "missing picture: %s\n", name.c_str());
            ++missing;
        }
    }
    if (!WriteScreenPng(screen, output, message)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return 1;
    }
    std::printf("%s: %d buttons, %d sliders, %d edit boxes, %d pictures, %d texts; "
                "%d missing pictures -> %s\n",
                options.menu.c_str(), menu.ButtonCount(), menu.SliderCount(), menu.EditCount(),
                menu.ImageCount(), menu.TextCount(), missing, output.c_str());
    return 0;
}
