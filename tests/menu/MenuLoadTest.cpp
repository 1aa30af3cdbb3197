// Loading menu screen files: fields, limits, defaults, bad files and saved states.
#include "MenuTestSupport.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <chrono>
#include <string>

namespace {

class MenuLoadTest : public ::testing::Test, public MenuFixture {
protected:
    FakeMenuEnvironment env_;
};

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST_F(MenuLoadTest, ReadsEveryItemKindWithItsFields) {
    const std::string path = WriteMenu("m.xml", R"(<?xml version="1.0"?>
<!-- a screen -->
<Screen xc="0.5" yc="0.4" width="1" height="0.8" bgImage="Graphics\back.jpg"
        clickSound="Sound\click.ogg" overSound="Sound\over.ogg" buttonFont="Arial">
  <Button name="btnPlay" radioGroup="g" text="PlayText" align="left" stretch="no" xc="0.25"
          yc="0.5" width="0.2" height="0.1" outImg="a.png" overImg="b.png" outImgChecked="c.png"
          overImgChecked="d.png" action="procPlay" Width="0.9" unknown="x"/>
  <Unknown name="ignored"/>
  <Slider name="MusicVolume" xc="0.6" yc="0.7" outSliderImg="t.png" overSliderImg="t2.png"
          outThumbImg="h.png" overThumbImg="h2.png" action="procMusicMode"/>
  <Edit name="ed" text="Bob" align="right" stretch="no" blockedchars="/\" xc="0.1" yc="0.2"
        size="0.05" maxlen="12.9"/>
  <Image stretch="no" xc="0.3" yc="0.3" width="0.1" height="0.2" img="pic.png"/>
  <Text stretch="no" name="txtScore" text="ScoreText" align="right" xc="0.9" yc="0.05"
        size="0.03" font="Big"/>
</Screen>)");
    CMenu menu(&env_);
    menu.opacity = 0.2f;
    ASSERT_TRUE(menu.LoadMenu(path));
    EXPECT_FLOAT_EQ(menu.opacity, 1.0f);
    EXPECT_NE(Log().find("Loading XML menu:  'Menu\\m.xml' ... OK"), std::string::npos);

    const MenuScreen& s = menu.Screen();
    EXPECT_FLOAT_EQ(s.yc, 0.4f);
    EXPECT_FLOAT_EQ(s.height, 0.8f);
    EXPECT_EQ(s.bgImage, "Graphics\\back.jpg");
    EXPECT_EQ(s.clickSound, "Sound\\click.ogg");
    EXPECT_EQ(s.overSound, "Sound\\over.ogg");
    EXPECT_EQ(s.buttonFont, "Arial");

    ASSERT_EQ(menu.ButtonCount(), 1);
    const MenuButton& b = menu.Button(0);
    EXPECT_EQ(b.name, "btnPlay");
    EXPECT_EQ(b.radioGroup, "g");
    EXPECT_EQ(b.text, "PlayText");
    EXPECT_EQ(b.align, "left");
    EXPECT_EQ(b.stretch, "no");
    EXPECT_FLOAT_EQ(b.xc, 0.25f);
    EXPECT_FLOAT_EQ(b.width, 0.2f);   // "Width" is another attribute
    EXPECT_EQ(b.outImg, "a.png");
    EXPECT_EQ(b.overImg, "b.png");
    EXPECT_EQ(b.outImgChecked, "c.png");
    EXPECT_EQ(b.overImgChecked, "d.png");
    EXPECT_EQ(b.action, "procPlay");
    EXPECT_FALSE(b.hover);
    EXPECT_FALSE(b.checked);

    ASSERT_EQ(menu.SliderCount(), 1);
    EXPECT_EQ(menu.Slider(0).overThumbImg, "h2.png");
    EXPECT_FLOAT_EQ(menu.Slider(0).value, 0.75f);   // no saved value
    EXPECT_FLOAT_EQ(menu.Slider(0).trackWidth, 0.0f);   // no area until drawn

    ASSERT_EQ(menu.EditCount(), 1);
    EXPECT_EQ(menu.Edit(0).text, "Bob");
    EXPECT_EQ(menu.Edit(0).blockedChars, "/\\");
    EXPECT_FLOAT_EQ(menu.Edit(0).maxLen, 12.9f);

    ASSERT_EQ(menu.ImageCount(), 1);
    EXPECT_EQ(menu.Image(0).img, "pic.png");
    EXPECT_FLOAT_EQ(menu.Image(0).height, 0.2f);

    ASSERT_EQ(menu.TextCount(), 1);
    EXPECT_EQ(menu.Text(0).text, "ScoreText");
    EXPECT_EQ(menu.Text(0).font, "Big");
    EXPECT_FLOAT_EQ(menu.GetTextX("txtScore"), 0.9f);
    EXPECT_FLOAT_EQ(menu.GetTextY("txtScore"), 0.05f);
    EXPECT_FLOAT_EQ(menu.GetTextX("nothing"), 0.0f);
}

TEST_F(MenuLoadTest, LongValuesAreCutAndBadNumbersReadAsTheirDecimalPrefix) {
    const std::string longText(500, 'x');
    const std::string path = WriteMenu("m.xml",
        "<Screen bgImage='" + longText + "' buttonFont='" + longText + "'>"
        "<Button name='" + longText + "' outImg='" + longText + "' xc='12.5px' yc='abc'"
        " width='0x10' height='1e999'/>"
        "<Edit text='" + longText + "' blockedchars='" + longText + "' maxlen='-1e999' size='nan'/>"
        "<Text text='" + longText + "' font='" + longText + "' xc=' -.5e1' yc='+3.' size='inf'/>"
        "</Screen>");
    CMenu menu(&env_);
    ASSERT_TRUE(menu.LoadMenu(path));
    EXPECT_EQ(menu.Screen().bgImage.size(), 79u);
    EXPECT_EQ(menu.Screen().buttonFont.size(), 71u);
    EXPECT_EQ(menu.Button(0).name.size(), 39u);
    EXPECT_EQ(menu.Button(0).outImg.size(), 79u);
    EXPECT_EQ(menu.Edit(0).text.size(), 99u);
    EXPECT_EQ(menu.Edit(0).blockedChars.size(), 79u);
    EXPECT_EQ(menu.Text(0).text.size(), 99u);
    EXPECT_EQ(menu.Text(0).font.size(), 71u);

    EXPECT_FLOAT_EQ(menu.Button(0).xc, 12.5f);
    EXPECT_FLOAT_EQ(menu.Button(0).yc, 0.0f);
    EXPECT_FLOAT_EQ(menu.Button(0).width, 0.0f);
    EXPECT_FLOAT_EQ(menu.Button(0).height, FLT_MAX);
    EXPECT_FLOAT_EQ(menu.Edit(0).maxLen, -FLT_MAX);
    EXPECT_FLOAT_EQ(menu.Edit(0).size, 0.0f);
    EXPECT_FLOAT_EQ(menu.Text(0).xc, -5.0f);
    EXPECT_FLOAT_EQ(menu.Text(0).yc, 3.0f);
    EXPECT_FLOAT_EQ(menu.Text(0).size, 0.0f);

    // Absurd geometry is harmless at run time.
    EXPECT_EQ(menu.ProcessInput(MoveTo(400, 300)), "");
    EXPECT_EQ(menu.ProcessInput(ClickAt(400, 300)), "");
    menu.DrawMenu();
    menu.ProcessInput(TypeChar('a'));
    EXPECT_EQ(menu.Edit(0).text.size(), 99u);   // no room: the 16-bit limit of -FLT_MAX is 0
}

TEST_F(MenuLoadTest, EachKindStopsAtItsLimitWithItsWarning) {
    struct Kind { const char* element; int limit; const char* warning; };
    const Kind kinds[] = {
        {"Button", 30, "WARNING: Too many buttons in menu - 30"},
        {"Slider", 5, "WARNING: Too many sliders in menu - 5"},
        {"Edit", 3, "WARNING: Too many edit boxes in menu - 3"},
        {"Image", 20, "WARNING: Too many images in menu - 20"},
        {"Text", 45, "WARNING: Too many text strings in menu - 45"},
    };
    for (const Kind& k : kinds) {
        for (int n : {k.limit - 1, k.limit, k.limit + 1, 1000}) {
            SCOPED_TRACE(std::string(k.element) + " x " + std::to_string(n));
            std::string xml = "<Screen>";
            for (int i = 0; i < n; ++i) {
                xml += "<" + std::string(k.element) + " name='n" + std::to_string(i) +
                       "' img='i" + std::to_string(i) + "'/>";
            }
            xml += "</Screen>";
            TestSupport::WriteFile(Dir() / "applog.htm", "");
            CMenu menu(&env_);
            ASSERT_TRUE(menu.LoadMenu(WriteMenu("many.xml", xml)));
            const int expected = std::min(n, k.limit);
            const int counts[] = {menu.ButtonCount(), menu.SliderCount(), menu.EditCount(),
                                  menu.ImageCount(), menu.TextCount()};
            int total = 0;
            for (int c : counts) total += c;
            EXPECT_EQ(total, expected);
            EXPECT_EQ(Count(Log(), k.warning), n >= k.limit ? 1u : 0u);
            if (std::string(k.element) == "Button") {
                EXPECT_EQ(menu.Button(expected - 1).name, "n" + std::to_string(expected - 1));
            }
        }
    }
}

TEST_F(MenuLoadTest, BadFilesFailWithTheFailedLineAndChangeNothing) {
    CMenu menu(&env_);
    ASSERT_TRUE(menu.LoadMenu(WriteMenu("good.xml",
        "<Screen bgImage='bg.png'><Button name='b'/><Text name='t' text='x'/></Screen>")));

    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    std::string deepUnquoted;
    for (int i = 0; i < 100000; ++i) deepUnquoted += "<a b=c>";
    std::string manyAttributes = "<Screen><Button";
    for (int i = 0; i < 200000; ++i) manyAttributes += " a" + std::to_string(i) + "=''";
    manyAttributes += "/></Screen>";
    const std::pair<const char*, std::string> cases[] = {
        {"not xml", "this is not a menu"},
        {"empty", ""},
        {"binary", std::string("\0\x01\xff<Screen", 10)},
        {"unclosed", "<Screen><Button name='x'>"},
        {"no screen", "<Menu><Button name='x'/></Menu>"},
        {"screen not at top", "<Root><Screen><Button/></Screen></Root>"},
        {"deep", "<Screen>" + deep},
        {"deep unquoted", "<Screen>" + deepUnquoted},
        {"many attributes", manyAttributes},
        {"too large", "<Screen>" + std::string(5 << 20, ' ') + "</Screen>"},
    };
    for (const auto& [what, text] : cases) {
        SCOPED_TRACE(what);
        TestSupport::WriteFile(Dir() / "applog.htm", "");
        menu.opacity = 0.5f;
        EXPECT_FALSE(menu.LoadMenu(WriteMenu("bad.xml", text)));
        EXPECT_NE(Log().find("Loading XML menu:  'Menu\\bad.xml' ... FAILED"), std::string::npos);
        EXPECT_FLOAT_EQ(menu.opacity, 1.0f);
        EXPECT_EQ(menu.ButtonCount(), 1);
        EXPECT_EQ(menu.TextCount(), 1);
        EXPECT_EQ(menu.Screen().bgImage, "bg.png");
    }
    EXPECT_FALSE(menu.LoadMenu("Menu\\missing.xml"));
    EXPECT_NE(Log().find("'Menu\\missing.xml' ... FAILED"), std::string::npos);

    CMenu fresh(&env_);
    EXPECT_FALSE(fresh.LoadMenu("Menu\\missing.xml"));
    EXPECT_EQ(fresh.ButtonCount() + fresh.TextCount() + fresh.SliderCount(), 0);
    fresh.DrawMenu();
    EXPECT_TRUE(env_.drawn.empty());
    EXPECT_EQ(fresh.ProcessInput(ClickAt(1, 1)), "");
}

TEST_F(MenuLoadTest, ReloadingKeepsFieldsOfAbsentAttributes) {
    CMenu menu(&env_);
    ASSERT_TRUE(menu.LoadMenu(WriteMenu("a.xml",
        "<Screen overSound='o.ogg'><Button name='b' action='procA' xc='0.3'/>"
        "<Button name='c'/></Screen>")));
    ASSERT_TRUE(menu.LoadMenu(WriteMenu("b.xml", "<Screen><Button xc='0.6'/></Screen>")));
    EXPECT_EQ(menu.ButtonCount(), 1);
    EXPECT_EQ(menu.Button(0).name, "b");
    EXPECT_EQ(menu.Button(0).action, "procA");
    EXPECT_FLOAT_EQ(menu.Button(0).xc, 0.6f);
    EXPECT_EQ(menu.Screen().overSound, "o.ogg");
}

TEST_F(MenuLoadTest, CheckStatesAndSliderValuesComeFromOptions) {
    const std::string xml =
        "<Screen>"
        "<Button name='btnFullScreen' outImgChecked='on.png'/>"
        "<Button name='btn3DHardware' outImgChecked='on.png'/>"
        "<Button name='btnPlain' outImg='x.png'/>"
        "<Button name='btnAbsent' outImgChecked='on.png'/>"
        "<Slider name='MusicVolume'/><Slider name='SfxVolume'/><Slider name='Odd'/>"
        "</Screen>";
    WriteConfig("[options]\nbtnfullscreen=1\nbtn3DHardware=0\nbtnPlain=1\nSfxVolume=0.3\n"
                "Odd=1.5\n");
    CMenu menu(&env_);
    ASSERT_TRUE(menu.LoadMenu(WriteMenu("o.xml", xml)));
    EXPECT_TRUE(menu.IsChecked("btnFullScreen"));
    EXPECT_FALSE(menu.IsChecked("btn3DHardware"));
    EXPECT_FALSE(menu.IsChecked("btnPlain"));   // not a check box: nothing is read
    EXPECT_FALSE(menu.IsChecked("btnAbsent"));
    EXPECT_FLOAT_EQ(menu.GetSliderValue("MusicVolume"), 0.75f);
    EXPECT_FLOAT_EQ(menu.GetSliderValue("SfxVolume"), 0.3f);
    EXPECT_FLOAT_EQ(menu.GetSliderValue("Odd"), 1.5f);   // taken as it stands
    EXPECT_FLOAT_EQ(menu.GetSliderValue("none"), 0.0f);

    WriteConfig("[OPTIONS]\nbtnFullScreen=-3\n");
    ASSERT_TRUE(menu.LoadMenu(WriteMenu("o.xml", xml)));
    EXPECT_TRUE(menu.IsChecked("btnFullScreen"));   // any non-zero number
}

// Damaged menus found by fuzzing the loader: one made the old parser read past its buffer, one
// kept it busy for many seconds, and two nested 100 000 elements deep behind a malformed
// declaration or attribute that a separate depth count read differently from the parser,
// until the stack ran out. Each now loads or fails at once, and a failure changes nothing.
TEST_F(MenuLoadTest, HostileFilesFoundByFuzzingLoadOrFailAtOnce) {
    const std::string hostile = TestSupport::SourceDir() + "/tests/menu/hostile/";
    std::string deepDeclarations = "<?xml version=\"1.0\"?>\n<Screen>";
    std::string deepAttribute = "<?xml version=\"1.0\"?>\n<Screen b=\"\xf0\" c=\">";
    for (int i = 0; i < 100000; ++i) {
        deepDeclarations += "<a><?xml version=\">\"</a>";
        deepAttribute += "<a>";
    }
    for (int i = 0; i < 100000; ++i) {
        deepDeclarations += "</a>";
        deepAttribute += "</a>";
    }
    deepDeclarations += "</Screen>\n";
    deepAttribute += "</Screen>\n";
    const std::pair<const char*, std::string> cases[] = {
        {"menu-overread.xml", TestSupport::ReadFile(hostile + "menu-overread.xml")},
        {"menu-slow.xml", TestSupport::ReadFile(hostile + "menu-slow.xml")},
        {"menu-deep-crash-a.xml", deepDeclarations},
        {"menu-deep-crash-b.xml", deepAttribute},
    };
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(text.empty());
        CMenu menu(&env_);
        ASSERT_TRUE(menu.LoadMenu(WriteMenu("good.xml", "<Screen><Button name='b'/></Screen>")));
        const auto start = std::chrono::steady_clock::now();
        const bool loaded = menu.LoadMenu(WriteMenu(name, text));
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(seconds, 2.0);   // a loose bound: the old parser took 6 to 23 s or crashed
        if (!loaded) {
            EXPECT_NE(Log().find("'Menu\\" + std::string(name) + "' ... FAILED"),
                      std::string::npos);
            EXPECT_EQ(menu.ButtonCount(), 1);
        }
    }
}

}  // namespace
