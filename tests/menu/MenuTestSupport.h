// A menu environment that records what a menu draws and plays, and a fixture that writes menu
// files into a fresh working folder.
#pragma once

#include "menu/CMenu.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

class FakeMenuEnvironment : public MenuEnvironment {
public:
    struct Drawn {
        bool isText = false;
        std::string name;          // picture name or text key
        float x = 0, y = 0, w = 0, h = 0;   // for texts: w unused, h the height
        uint32_t colour = 0;
        int flags = 0;
    };

    int ScreenWidth() override { return 800; }
    int ScreenHeight() override { return 600; }
    bool PictureSize(const std::string& name, int& width, int& height) override {
        auto it = pictures.find(name);
        if (it == pictures.end()) {
            width = height = 0;
            return false;
        }
        width = it->second.first;
        height = it->second.second;
        return true;
    }
    void DrawPicture(const std::string& name, float x, float y, float w, float h, uint32_t colour,
                     int flags) override {
        drawn.push_back({false, name, x, y, w, h, colour, flags});
    }
    void DrawText(float x, float y, float height, uint32_t colour, int flags,
                  const std::string& key) override {
        drawn.push_back({true, key, x, y, 0, height, colour, flags});
    }
    float FontCellHeight() override { return cellHeight; }
    bool FontHasGlyph(char c) override { return c != '\0' && glyphs.find(c) != std::string::npos; }
    void PlaySound(const std::string& fileName) override { sounds.push_back(fileName); }
    bool LeftButtonDown() override { return leftDown; }
    uint32_t NowMs() override { return nowMs; }

    std::map<std::string, std::pair<int, int>> pictures;
    std::string glyphs = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,!?-";
    float cellHeight = 30.0f;
    bool leftDown = false;
    uint32_t nowMs = 0;
    std::vector<Drawn> drawn;
    std::vector<std::string> sounds;
};

class MenuFixture {
public:
    MenuFixture() : cwd_(dir_.Path()) { std::filesystem::create_directories(dir_ / "Menu"); }

    // Writes Menu/<file> and returns the program's name for it ("Menu\<file>").
    std::string WriteMenu(const std::string& file, const std::string& xml) {
        TestSupport::WriteFile(dir_ / ("Menu/" + file), xml);
        return "Menu\\" + file;
    }
    std::string Log() const { return TestSupport::ReadFile(dir_ / "applog.htm"); }
    std::string Config() const { return TestSupport::ReadFile(dir_ / "config.ini"); }
    void WriteConfig(const std::string& text) { TestSupport::WriteFile(dir_ / "config.ini", text); }
    const TestSupport::ScopedTempDir& Dir() const { return dir_; }

private:
    TestSupport::ScopedTempDir dir_;
    TestSupport::ScopedCwd cwd_;
};

// Records of input, as the game screen widget builds them.
inline Orvane::WindowMessage MoveTo(int x, int y) { return {0, Orvane::WM_MOUSEMOVE, 0, 0, 0, x, y}; }
inline Orvane::WindowMessage ClickAt(int x, int y) { return {0, Orvane::WM_LBUTTONDOWN, 0, 0, 0, x, y}; }
inline Orvane::WindowMessage KeyDown(uint32_t key) { return {0, Orvane::WM_KEYDOWN, key, 0, 0, 0, 0}; }
inline Orvane::WindowMessage TypeChar(char c) {
    return {0, Orvane::WM_CHAR, static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c))),
            0, 0, 0, 0};
}
