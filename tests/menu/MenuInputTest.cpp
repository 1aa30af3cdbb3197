// The menu's answer to input: hit tests, hover and click sounds, check boxes, radio groups,
// sliders and edit boxes.
#include "MenuTestSupport.h"

#include "engine/config/Config.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// One button whose pixel rectangle is (300, 262)..(500, 337): x from 0.375 to 0.625 of 800,
// y from 0.4375 to 0.5625 of 600.
const char* kButtonScreen =
    "<Screen clickSound='click.ogg' overSound='over.ogg'>"
    "<Button name='btnPlay' xc='0.5' yc='0.5' width='0.25' height='0.125' action='procPlay'/>"
    "<Button name='btnBehind' xc='0.5' yc='0.5' width='0.5' height='0.5' action='procBehind'/>"
    "</Screen>";

class MenuInputTest : public ::testing::Test, public MenuFixture {
protected:
    void Load(const std::string& xml) { ASSERT_TRUE(menu_.LoadMenu(WriteMenu("m.xml", xml))); }
    std::string Option(const std::string& key) {
        std::string value;
        ConfigGetString("OPTIONS", key, value);
        return value;
    }

    FakeMenuEnvironment env_;
    CMenu menu_{&env_};
};

TEST_F(MenuInputTest, HitTestIsStrictOnAllFourBorders) {
    Load(kButtonScreen);
    struct Case { int x, y; bool hit; };
    const Case cases[] = {
        {300, 300, false}, {301, 300, true},    // left border pixel misses
        {500, 300, false}, {499, 300, true},    // right
        {400, 262, false}, {400, 263, true},    // top
        {400, 337, false}, {400, 336, true},    // bottom
        {301, 263, true}, {499, 336, true}, {300, 262, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        // The first button in order that the click hits answers.
        EXPECT_EQ(menu_.ProcessInput(ClickAt(c.x, c.y)), c.hit ? "procPlay" : "procBehind");
        menu_.ProcessInput(MoveTo(c.x, c.y));
        EXPECT_EQ(menu_.IsHovered("btnPlay"), c.hit);
    }
    EXPECT_EQ(menu_.ProcessInput(ClickAt(10, 10)), "");
}

TEST_F(MenuInputTest, HoverSoundPlaysOncePerEntry) {
    Load(kButtonScreen);
    menu_.ProcessInput(MoveTo(10, 10));
    EXPECT_TRUE(env_.sounds.empty());
    menu_.ProcessInput(MoveTo(250, 200));   // enters only the large button
    EXPECT_EQ(env_.sounds, std::vector<std::string>{"over.ogg"});
    menu_.ProcessInput(MoveTo(400, 300));   // enters the small one; still inside the large
    menu_.ProcessInput(MoveTo(410, 310));
    EXPECT_EQ(env_.sounds.size(), 2u);
    EXPECT_TRUE(menu_.IsHovered("btnPlay"));
    EXPECT_TRUE(menu_.IsHovered("btnBehind"));
    menu_.ProcessInput(MoveTo(250, 200));   // leaves the small one
    EXPECT_FALSE(menu_.IsHovered("btnPlay"));
    EXPECT_EQ(env_.sounds.size(), 2u);
    menu_.ProcessInput(MoveTo(400, 300));   // and re-enters it
    EXPECT_EQ(env_.sounds.size(), 3u);
    // Keys and characters leave hover states alone.
    menu_.ProcessInput(KeyDown(13));
    menu_.ProcessInput(TypeChar('a'));
    EXPECT_TRUE(menu_.IsHovered("btnPlay"));

    EXPECT_EQ(menu_.ProcessInput(ClickAt(400, 300)), "procPlay");
    EXPECT_EQ(env_.sounds.back(), "click.ogg");
    EXPECT_EQ(env_.sounds.size(), 4u);

    // Without sounds on the screen nothing is played.
    CMenu silent(&env_);
    ASSERT_TRUE(silent.LoadMenu(WriteMenu("s.xml",
        "<Screen><Button xc='0.5' yc='0.5' width='0.25' height='0.125' action='a'/></Screen>")));
    env_.sounds.clear();
    silent.ProcessInput(MoveTo(400, 300));
    EXPECT_EQ(silent.ProcessInput(ClickAt(400, 300)), "a");
    EXPECT_TRUE(env_.sounds.empty());
}

TEST_F(MenuInputTest, CheckBoxClickTogglesAndWritesOptionsAtOnce) {
    WriteConfig("[OPTIONS]\nbtn3DHardware=1\n");
    Load("<Screen><Button name='btn3DHardware' outImgChecked='on.png' xc='0.5' yc='0.5' "
         "width='0.25' height='0.125' action='proc3DHardware'/></Screen>");
    ASSERT_TRUE(menu_.IsChecked("btn3DHardware"));
    EXPECT_EQ(menu_.ProcessInput(ClickAt(400, 300)), "proc3DHardware");
    EXPECT_FALSE(menu_.IsChecked("btn3DHardware"));
    EXPECT_EQ(Option("btn3DHardware"), "0");
    EXPECT_EQ(menu_.ProcessInput(ClickAt(400, 300)), "proc3DHardware");
    EXPECT_TRUE(menu_.IsChecked("btn3DHardware"));
    EXPECT_EQ(Option("btn3DHardware"), "1");
    // A miss writes nothing.
    menu_.ProcessInput(ClickAt(10, 10));
    EXPECT_EQ(Option("btn3DHardware"), "1");
}

TEST_F(MenuInputTest, RadioGroupsAreExclusive) {
    Load("<Screen>"
         "<Button name='r1' radioGroup='g' xc='0.1' yc='0.5' width='0.1' height='0.1' action='a1'/>"
         "<Button name='r2' radioGroup='g' xc='0.3' yc='0.5' width='0.1' height='0.1' action='a2'/>"
         "<Button name='r3' radioGroup='g' xc='0.5' yc='0.5' width='0.1' height='0.1' action='a3'/>"
         "<Button name='other' radioGroup='h' xc='0.7' yc='0.5' width='0.1' height='0.1'/>"
         "<Button name='box' radioGroup='g' outImgChecked='c.png' xc='0.9' yc='0.5' "
         "width='0.1' height='0.1'/>"
         "</Screen>");
    menu_.SelectRadio(3);
    EXPECT_EQ(menu_.ProcessInput(ClickAt(80, 300)), "a1");
    EXPECT_TRUE(menu_.IsChecked("r1"));
    EXPECT_EQ(menu_.ProcessInput(ClickAt(240, 300)), "a2");
    EXPECT_FALSE(menu_.IsChecked("r1"));
    EXPECT_TRUE(menu_.IsChecked("r2"));
    EXPECT_TRUE(menu_.IsChecked("other"));   // another group is not touched
    EXPECT_EQ(menu_.ProcessInput(ClickAt(240, 300)), "a2");   // clicking again keeps it
    EXPECT_TRUE(menu_.IsChecked("r2"));

    // A check box in a group is toggled and saved, then checked by its group.
    menu_.ProcessInput(ClickAt(720, 300));
    EXPECT_TRUE(menu_.IsChecked("box"));
    EXPECT_FALSE(menu_.IsChecked("r2"));
    EXPECT_EQ(Option("box"), "1");
    menu_.ProcessInput(ClickAt(720, 300));
    EXPECT_TRUE(menu_.IsChecked("box"));
    EXPECT_EQ(Option("box"), "0");

    for (int index : {-1, 5, 29, 30, 1000}) menu_.SelectRadio(index);
    EXPECT_TRUE(menu_.IsChecked("box"));
}

// A slider whose track picture is 200 x 75 pixels, centred at (400, 300): the track covers
// (300, 262)..(500, 337).
const char* kSliderScreen =
    "<Screen overSound='over.ogg' clickSound='click.ogg'>"
    "<Slider name='SfxVolume' xc='0.5' yc='0.5' outSliderImg='track.png' "
    "overSliderImg='track.png' outThumbImg='thumb.png' overThumbImg='thumb.png' "
    "action='procSoundMode'/></Screen>";

TEST_F(MenuInputTest, SliderHasNoAreaUntilDrawnThenTakesClicks) {
    env_.pictures = {{"track.png", {200, 75}}, {"thumb.png", {16, 24}}};
    Load(kSliderScreen);
    EXPECT_EQ(menu_.ProcessInput(ClickAt(400, 300)), "");
    EXPECT_FLOAT_EQ(menu_.GetSliderValue("SfxVolume"), 0.75f);

    menu_.DrawMenu();
    EXPECT_EQ(menu_.ProcessInput(ClickAt(400, 300)), "procSoundMode");
    EXPECT_FLOAT_EQ(menu_.GetSliderValue("SfxVolume"), 0.5f);
    EXPECT_EQ(Option("SfxVolume"), "0.500000");
    EXPECT_EQ(env_.sounds, std::vector<std::string>{"click.ogg"});
    EXPECT_EQ(menu_.ProcessInput(ClickAt(300, 300)), "");   // the track's left border
    EXPECT_EQ(menu_.ProcessInput(ClickAt(350, 262)), "");   // its top border
    EXPECT_EQ(menu_.ProcessInput(ClickAt(350, 263)), "procSoundMode");
    EXPECT_FLOAT_EQ(menu_.GetSliderValue("SfxVolume"), 0.25f);
}

TEST_F(MenuInputTest, SliderDragReportsEveryMoveOnlyWhileTheButtonIsDown) {
    env_.pictures = {{"track.png", {200, 75}}, {"thumb.png", {16, 24}}};
    Load(kSliderScreen);
    menu_.DrawMenu();

    // Moving without the button: hover (and its sound once), no value change.
    EXPECT_EQ(menu_.ProcessInput(MoveTo(320, 300)), "");
    EXPECT_EQ(menu_.ProcessInput(MoveTo(340, 300)), "");
    EXPECT_FLOAT_EQ(menu_.GetSliderValue("SfxVolume"), 0.75f);
    EXPECT_EQ(env_.sounds, std::vector<std::string>{"over.ogg"});
    EXPECT_TRUE(menu_.Slider(0).hover);

    env_.leftDown = true;
    for (int x : {350, 360, 420, 480}) {
        EXPECT_EQ(menu_.ProcessInput(MoveTo(x, 300)), "procSoundMode");
        EXPECT_FLOAT_EQ(menu_.GetSliderValue("SfxVolume"), (x - 300) / 200.0f);
        float saved = -1;
        ASSERT_TRUE(ConfigGetFloat("OPTIONS", "SfxVolume", &saved));
        EXPECT_NEAR(saved, (x - 300) / 200.0f, 1e-6);
    }
    // Off the track, even with the button held: nothing, and the hover ends.
    EXPECT_EQ(menu_.ProcessInput(MoveTo(600, 300)), "");
    EXPECT_FALSE(menu_.Slider(0).hover);
    EXPECT_FLOAT_EQ(menu_.GetSliderValue("SfxVolume"), 0.9f);

    env_.leftDown = false;
    EXPECT_EQ(menu_.ProcessInput(MoveTo(310, 300)), "");
    EXPECT_FLOAT_EQ(menu_.GetSliderValue("SfxVolume"), 0.9f);
    EXPECT_EQ(env_.sounds.size(), 2u);   // re-entered once
}

TEST_F(MenuInputTest, BackspaceTakesFromTheFirstBoxThatHasText) {
    Load("<Screen><Edit name='a' maxlen='20'/><Edit name='b' text='xyz' maxlen='20'/></Screen>");
    EXPECT_EQ(menu_.ProcessInput(KeyDown(8)), "");
    EXPECT_EQ(menu_.Edit(0).text, "");
    EXPECT_EQ(menu_.Edit(1).text, "xy");
    menu_.ProcessInput(TypeChar('q'));
    EXPECT_EQ(menu_.Edit(0).text, "q");
    EXPECT_EQ(menu_.Edit(1).text, "xyq");
    menu_.ProcessInput(KeyDown(8));
    EXPECT_EQ(menu_.Edit(0).text, "");
    EXPECT_EQ(menu_.Edit(1).text, "xyq");
    menu_.ProcessInput(KeyDown(0x108));   // only the low byte counts
    EXPECT_EQ(menu_.Edit(1).text, "xy");
    for (int i = 0; i < 5; ++i) menu_.ProcessInput(KeyDown(8));
    EXPECT_EQ(menu_.Edit(1).text, "");
    menu_.ProcessInput(KeyDown(37));   // other keys do nothing
}

TEST_F(MenuInputTest, TypedCharactersReachEveryBoxWithRoomAndNoBoxPastTwenty) {
    Load("<Screen>"
         "<Edit name='long' maxlen='100'/>"
         "<Edit name='short' maxlen='3.9'/>"
         "<Edit name='none'/>"
         "</Screen>");
    for (int i = 0; i < 30; ++i) menu_.ProcessInput(TypeChar(static_cast<char>('a' + i % 26)));
    EXPECT_EQ(menu_.Edit(0).text, "abcdefghijklmnopqrst");   // 20, whatever maxlen says
    EXPECT_EQ(menu_.Edit(1).text, "abc");
    EXPECT_EQ(menu_.Edit(2).text, "");                       // maxlen 0
}

TEST_F(MenuInputTest, BlockedAndUnknownCharactersEndTheMessage) {
    Load("<Screen>"
         "<Edit name='a' blockedchars='/x' maxlen='20'/>"
         "<Edit name='b' maxlen='20'/>"
         "</Screen>");
    const char refused[] = {'/', 'x', '#', '\t', '\0', '\xe9'};
    for (char c : refused) menu_.ProcessInput(TypeChar(c));
    EXPECT_EQ(menu_.Edit(0).text, "");
    EXPECT_EQ(menu_.Edit(1).text, "");
    menu_.ProcessInput(TypeChar(' '));   // a blank needs no glyph
    menu_.ProcessInput(TypeChar('y'));
    EXPECT_EQ(menu_.Edit(0).text, " y");
    EXPECT_EQ(menu_.Edit(1).text, " y");
    env_.glyphs += "#\xe9";
    menu_.ProcessInput(TypeChar('#'));
    menu_.ProcessInput(TypeChar('\xe9'));
    EXPECT_EQ(menu_.Edit(1).text, " y#\xe9");
}

TEST_F(MenuInputTest, QueriesAnswerByName) {
    Load("<Screen>"
         "<Button name='dup' outImgChecked='c.png'/><Button name='dup' outImgChecked='c.png'/>"
         "<Text name='t' xc='0.1' yc='0.2' text='first'/><Text name='t' xc='0.3' yc='0.4'/>"
         "</Screen>");
    EXPECT_FALSE(menu_.IsChecked("dup"));
    EXPECT_FALSE(menu_.IsChecked("missing"));
    EXPECT_FALSE(menu_.IsHovered("missing"));
    EXPECT_FLOAT_EQ(menu_.GetTextX("t"), 0.1f);
    EXPECT_FLOAT_EQ(menu_.GetTextY("t"), 0.2f);
    menu_.SetText("t", std::string(150, 'z'));
    EXPECT_EQ(menu_.Text(0).text, std::string(99, 'z'));
    EXPECT_EQ(menu_.Text(1).text, std::string(99, 'z'));
    menu_.SetText("nobody", "x");
}

}  // namespace
