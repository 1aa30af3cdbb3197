// Drawing a menu screen: opacity, pictures by state, captions, natural sizes, sliders.
#include "MenuTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Drawn = FakeMenuEnvironment::Drawn;

class MenuDrawTest : public ::testing::Test, public MenuFixture {
protected:
    void Load(const std::string& xml) { ASSERT_TRUE(menu_.LoadMenu(WriteMenu("m.xml", xml))); }
    std::vector<Drawn> Draw() {
        env_.drawn.clear();
        menu_.DrawMenu();
        return env_.drawn;
    }

    FakeMenuEnvironment env_;
    CMenu menu_{&env_};
};

const char* kFullScreen =
    "<Screen bgImage='bg.jpg' xc='0.5' yc='0.5' width='1' height='1'>"
    "<Image img='pic.png' xc='0.2' yc='0.3' width='0.1' height='0.1'/>"
    "<Text name='t' text='Hello' xc='0.5' yc='0.1' size='0.05'/>"
    "<Edit name='e' text='Bob' xc='0.5' yc='0.2' size='0.04' maxlen='10'/>"
    "<Button name='b' text='Go' outImg='out.png' xc='0.5' yc='0.5' width='0.25' height='0.125'/>"
    "<Slider name='s' outSliderImg='track.png' outThumbImg='thumb.png' xc='0.5' yc='0.8'/>"
    "</Screen>";

TEST_F(MenuDrawTest, OpacityGivesTheAlphaByteOfEveryPictureAndText) {
    env_.pictures = {{"bg.jpg", {800, 600}}, {"pic.png", {10, 10}}, {"out.png", {200, 75}},
                     {"track.png", {200, 20}}, {"thumb.png", {10, 20}}};
    Load(kFullScreen);
    struct Case { float opacity; uint32_t colour; };
    const Case cases[] = {
        {0.5f, 0x80FFFFFFu}, {1.0f, 0x00FFFFFFu}, {0.0f, 0x01FFFFFFu}, {0.25f, 0x40FFFFFFu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.opacity);
        menu_.opacity = c.opacity;
        const auto drawn = Draw();
        ASSERT_EQ(drawn.size(), 8u);   // bg, image, text, edit, button, caption, track, thumb
        for (const Drawn& d : drawn) EXPECT_EQ(d.colour, c.colour) << d.name;
    }
    menu_.opacity = 0.5f;
    EXPECT_EQ(Draw()[0].colour >> 24, 128u);
}

TEST_F(MenuDrawTest, ItemsAreDrawnInLayersWithTheirPlacement) {
    env_.pictures = {{"bg.jpg", {800, 600}}, {"pic.png", {10, 10}}, {"out.png", {200, 75}},
                     {"track.png", {200, 20}}, {"thumb.png", {10, 20}}};
    Load(kFullScreen);
    env_.nowMs = 1000;   // two half-seconds: the cursor shows
    auto drawn = Draw();
    ASSERT_EQ(drawn.size(), 8u);
    EXPECT_EQ(drawn[0].name, "bg.jpg");
    EXPECT_EQ(drawn[0].flags, 1);
    EXPECT_FLOAT_EQ(drawn[0].w, 1.0f);
    EXPECT_EQ(drawn[1].name, "pic.png");
    EXPECT_EQ(drawn[1].flags, 1);
    EXPECT_EQ(drawn[2].name, "Hello");
    EXPECT_TRUE(drawn[2].isText);
    EXPECT_EQ(drawn[2].flags, 1);
    EXPECT_FLOAT_EQ(drawn[2].h, 0.05f);
    EXPECT_EQ(drawn[3].name, "Bob_");
    EXPECT_EQ(drawn[4].name, "out.png");
    EXPECT_FLOAT_EQ(drawn[4].w, 0.25f);
    EXPECT_EQ(drawn[5].name, "Go");
    EXPECT_FLOAT_EQ(drawn[5].x, 0.5f);
    EXPECT_FLOAT_EQ(drawn[5].h, 0.04f);
    EXPECT_EQ(drawn[5].flags, 1);
    // Track at its own size; thumb at the value's place along it (0.75 by default).
    EXPECT_EQ(drawn[6].name, "track.png");
    EXPECT_EQ(drawn[6].flags, 9);
    EXPECT_FLOAT_EQ(drawn[6].w, 0.25f);
    EXPECT_EQ(drawn[7].name, "thumb.png");
    EXPECT_EQ(drawn[7].flags, 9);
    EXPECT_FLOAT_EQ(drawn[7].x, 0.5f - 0.125f + 0.75f * 0.25f);
    EXPECT_FLOAT_EQ(drawn[7].y, 0.8f);

    env_.nowMs = 1500;   // an odd half-second: a blank instead
    EXPECT_EQ(Draw()[3].name, "Bob ");
}

TEST_F(MenuDrawTest, TextsAlignAndEmptyTextsWaitForSetText) {
    Load("<Screen>"
         "<Text text='L' align='left' xc='0.1'/><Text text='R' align='right' xc='0.9'/>"
         "<Text text='C' align='middle'/><Text text='N' align='left' stretch='no'/>"
         "<Text name='later' xc='0.3'/>"
         "<Edit text='e' align='right' stretch='no'/>"
         "</Screen>");
    auto drawn = Draw();
    ASSERT_EQ(drawn.size(), 5u);
    EXPECT_EQ(drawn[0].flags, 0);
    EXPECT_EQ(drawn[1].flags, 2);
    EXPECT_EQ(drawn[2].flags, 1);
    EXPECT_EQ(drawn[3].flags, 0x10);
    EXPECT_EQ(drawn[4].flags, 0x12);   // the edit box
    menu_.SetText("later", "Now");
    drawn = Draw();
    ASSERT_EQ(drawn.size(), 6u);
    EXPECT_EQ(drawn[4].name, "Now");
    EXPECT_FLOAT_EQ(drawn[4].x, 0.3f);
}

TEST_F(MenuDrawTest, ButtonPictureFollowsHoverAndCheckState) {
    env_.pictures = {{"out.png", {10, 10}}, {"over.png", {10, 10}}, {"on.png", {10, 10}},
                     {"onOver.png", {10, 10}}};
    Load("<Screen><Button name='b' outImg='out.png' overImg='over.png' outImgChecked='on.png' "
         "overImgChecked='onOver.png' xc='0.5' yc='0.5' width='0.25' height='0.125'/></Screen>");
    EXPECT_EQ(Draw()[0].name, "out.png");
    menu_.ProcessInput(MoveTo(400, 300));
    EXPECT_EQ(Draw()[0].name, "over.png");
    menu_.ProcessInput(ClickAt(400, 300));
    EXPECT_EQ(Draw()[0].name, "onOver.png");
    menu_.ProcessInput(MoveTo(10, 10));
    EXPECT_EQ(Draw()[0].name, "on.png");
    env_.pictures.erase("on.png");
    EXPECT_TRUE(Draw().empty());   // a missing picture is not drawn
}

TEST_F(MenuDrawTest, CaptionsArePlacedByAlign) {
    env_.pictures = {{"b.png", {100, 50}}};
    Load("<Screen>"
         "<Button text='A' align='left' outImg='b.png' xc='0.5' yc='0.2' width='0.2' height='0.1'/>"
         "<Button text='B' align='right' outImg='b.png' xc='0.5' yc='0.4' width='0.2' height='0.1'/>"
         "<Button text='C' outImg='b.png' xc='0.5' yc='0.6' width='0.2' height='0.1'/>"
         "<Button text='D' align='left' stretch='no' outImg='b.png' xc='0.5' yc='0.8'/>"
         "</Screen>");
    const auto drawn = Draw();
    ASSERT_EQ(drawn.size(), 8u);
    EXPECT_FLOAT_EQ(drawn[1].x, 0.7f);
    EXPECT_EQ(drawn[1].flags, 0);
    EXPECT_FLOAT_EQ(drawn[3].x, 0.3f);
    EXPECT_EQ(drawn[3].flags, 2);
    EXPECT_FLOAT_EQ(drawn[5].x, 0.5f);
    EXPECT_EQ(drawn[5].flags, 1);
    // Natural size: the picture's size, the font's cell height, natural text.
    EXPECT_EQ(drawn[6].flags, 9);
    EXPECT_FLOAT_EQ(drawn[6].w, 100.0f / 800.0f);
    EXPECT_FLOAT_EQ(drawn[7].x, 0.5f + 100.0f / 800.0f);
    EXPECT_FLOAT_EQ(drawn[7].h, 30.0f / 600.0f);
    EXPECT_EQ(drawn[7].flags, 0x10);
}

TEST_F(MenuDrawTest, NaturalSizeButtonIsHitWithItsPictureSizeOnceDrawn) {
    env_.pictures = {{"big.png", {200, 150}}};
    Load("<Screen><Button stretch='no' outImg='big.png' xc='0.5' yc='0.5' width='0.01' "
         "height='0.01' action='go'/></Screen>");
    EXPECT_EQ(menu_.ProcessInput(ClickAt(320, 300)), "");   // the file's tiny size
    Draw();
    // 200 x 150 pixels centred at (400, 300): (300, 225)..(500, 375).
    EXPECT_EQ(menu_.ProcessInput(ClickAt(320, 300)), "go");
    EXPECT_EQ(menu_.ProcessInput(ClickAt(300, 300)), "");
    EXPECT_EQ(menu_.ProcessInput(ClickAt(400, 374)), "go");
    EXPECT_EQ(menu_.ProcessInput(ClickAt(400, 375)), "");
    // A missing picture keeps the last size.
    env_.pictures.clear();
    Draw();
    EXPECT_EQ(menu_.ProcessInput(ClickAt(320, 300)), "go");
}

}  // namespace
