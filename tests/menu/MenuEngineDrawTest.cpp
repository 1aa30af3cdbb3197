// A menu drawn through the real sprite registry and symbol font into a screen image.
#include "MenuTestSupport.h"

#include "engine/sprites/SpriteManager.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class MenuEngineDrawTest : public ::testing::Test, public MenuFixture {
protected:
    MenuEngineDrawTest() {
        sprites_.SetImageLoader([](const std::string& path) -> std::unique_ptr<Orvane::Image> {
            int w = 0, h = 0;
            if (path == "white.png") w = 40, h = 30;
            if (path == "font.png") w = 160, h = 80;   // 16 x 8 cells of 10 x 10
            if (w == 0) return nullptr;
            auto image = std::make_unique<Orvane::MemoryImage>(w, h);
            image->Clear(0xFFFFFFFFu);
            return image;
        });
        sprites_.SetTextLookup([](const std::string& key) -> std::string {
            return key == "SymbolList" ? "abc" : "";
        });
        sprites_.InitSymbolFont("font.png");
        screen_.Clear(0xFF000000u);
        sprites_.SetDrawContext(0, &graphics_);
    }

    CSpriteManager sprites_;
    EngineMenuEnvironment env_{&sprites_};
    Orvane::MemoryImage screen_{800, 600};
    Orvane::Graphics graphics_{&screen_};
};

TEST_F(MenuEngineDrawTest, PicturesAndFontComeFromTheRegistry) {
    int w = 0, h = 0;
    EXPECT_TRUE(env_.PictureSize("white.png", w, h));
    EXPECT_EQ(w, 40);
    EXPECT_EQ(h, 30);
    EXPECT_FALSE(env_.PictureSize("none.png", w, h));
    EXPECT_EQ(w, 0);
    EXPECT_EQ(env_.ScreenWidth(), 800);
    EXPECT_EQ(env_.ScreenHeight(), 600);
    EXPECT_FLOAT_EQ(env_.FontCellHeight(), 10.0f);
    EXPECT_TRUE(env_.FontHasGlyph('b'));
    EXPECT_FALSE(env_.FontHasGlyph('z'));
    EXPECT_FALSE(env_.FontHasGlyph('\0'));
}

TEST_F(MenuEngineDrawTest, HalfOpacityBlendsThePictureHalfway) {
    CMenu menu(&env_);
    ASSERT_TRUE(menu.LoadMenu(WriteMenu("m.xml",
        "<Screen><Image img='white.png' stretch='no' xc='0.5' yc='0.5'/>"
        "<Image img='none.png' xc='0.5' yc='0.5' width='1' height='1'/></Screen>")));
    menu.opacity = 0.5f;
    menu.DrawMenu();
    // 40 x 30 pixels centred on the screen: (380, 285)..(419, 314). White at alpha 128 over
    // black: 255 x 255 / 256 x 128 / 256 = 127 by the normal blit.
    const uint32_t inside = screen_.GetPixel(400, 300);
    EXPECT_NEAR(static_cast<int>((inside >> 16) & 0xFF), 127, 2);
    EXPECT_NEAR(static_cast<int>(inside & 0xFF), 127, 2);
    EXPECT_EQ(screen_.GetPixel(370, 300) & 0xFFFFFFu, 0u);
    EXPECT_EQ(screen_.GetPixel(400, 280) & 0xFFFFFFu, 0u);

    menu.opacity = 1.0f;
    menu.DrawMenu();
    EXPECT_EQ(screen_.GetPixel(400, 300) & 0xFFFFFFu, 0xFFFFFFu);
}

TEST_F(MenuEngineDrawTest, EditBoxesTakeOnlyCharactersOfTheFont) {
    CMenu menu(&env_);
    ASSERT_TRUE(menu.LoadMenu(WriteMenu("m.xml", "<Screen><Edit maxlen='10'/></Screen>")));
    for (char c : std::string("abzc d")) menu.ProcessInput(TypeChar(c));
    // 'z' and 'd' have no glyph and are refused; a blank needs none.
    EXPECT_EQ(menu.Edit(0).text, "abc ");
}

}  // namespace
