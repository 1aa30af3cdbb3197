// The game's data as built into the game folder: the eighteen menu screens load without a
// failure or warning, carry exactly the commands of the application's table for their states
// and the items the game addresses by name; every picture, sound and text key that the data
// names exists and loads; classes.xml holds enough classes of enough poses; the level files run from 1 without a gap, each with every setting written out, and
// the game's own readers take classes and levels as they are written.
#include "menu/MenuTestSupport.h"
#include "support/TestSupport.h"

#include "app/AppCommands.h"
#include "engine/config/Config.h"
#include "game/AppStates.h"
#include "game/GameMenus.h"
#include "game/LevelFile.h"
#include "game/ShapeClasses.h"
#include "framework/graphics/ImageLoader.h"
#include "framework/ini/IniFile.h"
#include "framework/pak/PakInterface.h"
#include "framework/sound/OggDecoder.h"
#include "framework/sound/WaveFile.h"
#include "framework/xml/XmlReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace TestSupport;

constexpr int kStages = 7;
constexpr int kLevels = kStages * 6;

// The built game folder seen through links from a fresh working folder, so the log and
// config.ini of the run stay out of the build.
class GameData : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(GameDir().empty()) << "NOOKVALE_GAME_DIR is not set";
        ASSERT_TRUE(LinkGameFolder(GameDir(), dir_.Path()));
        cwd_ = std::make_unique<ScopedCwd>(dir_.Path());
        SetLanguageName("ENGLISH");
        Orvane::LoadIniFile("language.ini", language_);
        Orvane::LoadIniFile("sound.ini", sounds_);
    }

    // Loads one screen of Menu\ into menu; false when it does not load.
    bool Load(CMenu& menu, const std::string& file) { return menu.LoadMenu("Menu\\" + file); }

    std::string Text(const std::string& key) const { return language_.GetString("ENGLISH", key); }

    FakeMenuEnvironment environment_;
    Orvane::IniDocument language_;
    Orvane::IniDocument sounds_;

private:
    ScopedTempDir dir_;
    std::unique_ptr<ScopedCwd> cwd_;
};

bool PictureLoads(const std::string& name) {
    Orvane::DecodedImage image;
    return Orvane::DecodeImageFile(name, image) && image.width > 0 && image.height > 0;
}

// Decodes an Ogg Vorbis or wave file named as the game names it; false when it yields nothing.
bool SoundLoads(const std::string& name) {
    std::vector<uint8_t> bytes;
    if (!Orvane::ReadWholeFile(name, bytes)) return false;
    Orvane::PcmSound sound;
    const std::string extension = name.size() > 4 ? name.substr(name.size() - 4) : "";
    if (extension == ".ogg") return Orvane::DecodeOggVorbis(bytes, &sound) && sound.FrameCount() > 0;
    if (extension == ".wav") return Orvane::ReadWave(bytes, &sound) == Orvane::WaveReadResult::Ok;
    return false;
}

// Every picture a screen names, and every text key it draws.
void NamedByMenu(const CMenu& menu, std::set<std::string>& pictures, std::set<std::string>& keys) {
    pictures.insert(menu.Screen().bgImage);
    for (int i = 0; i < menu.ButtonCount(); ++i) {
        const MenuButton& b = menu.Button(i);
        pictures.insert({b.outImg, b.overImg, b.outImgChecked, b.overImgChecked});
        keys.insert(b.text);
    }
    for (int i = 0; i < menu.SliderCount(); ++i) {
        const MenuSlider& s = menu.Slider(i);
        pictures.insert({s.outSliderImg, s.overSliderImg, s.outThumbImg, s.overThumbImg});
    }
    for (int i = 0; i < menu.ImageCount(); ++i) pictures.insert(menu.Image(i).img);
    for (int i = 0; i < menu.TextCount(); ++i) keys.insert(menu.Text(i).text);
    pictures.erase("");
    keys.erase("");
}

TEST_F(GameData, EveryScreenLoadsCleanlyWithItsPicturesSoundsAndTexts) {
    std::set<std::string> pictures, keys, sounds;
    for (const char* file : kMenuFiles) {
        CMenu menu(&environment_);
        ASSERT_TRUE(Load(menu, file)) << file;
        EXPECT_GT(menu.ButtonCount() + menu.TextCount() + menu.ImageCount() + menu.SliderCount() +
                      (menu.Screen().bgImage.empty() ? 0 : 1),
                  0)
            << file << " is empty";
        NamedByMenu(menu, pictures, keys);
        sounds.insert({menu.Screen().clickSound, menu.Screen().overSound});
    }
    const std::string log = ReadFile("applog.htm");
    EXPECT_EQ(log.find("FAIL"), std::string::npos) << log;
    EXPECT_EQ(log.find("WARNING"), std::string::npos) << log;

    for (const std::string& name : pictures) EXPECT_TRUE(PictureLoads(name)) << "picture " << name;
    sounds.erase("");
    EXPECT_FALSE(sounds.empty());
    for (const std::string& name : sounds) EXPECT_TRUE(SoundLoads(name)) << "sound " << name;
    // Texts are keys: each has its own English text, drawn only with the symbol font's glyphs.
    const std::string glyphs = Text("SymbolList") + " ";
    ASSERT_GT(glyphs.size(), 90u);
    for (const std::string& key : keys) {
        const std::string text = Text(key);
        EXPECT_FALSE(text.empty()) << "no English text for the key '" << key << "'";
        EXPECT_EQ(text.find_first_not_of(glyphs), std::string::npos) << key << " = " << text;
        if (text.find(".png") != std::string::npos) {
            EXPECT_TRUE(PictureLoads(text)) << text;
        }
    }
}

// The actions a screen's buttons and sliders report, each as often as it occurs.
std::multiset<std::string> ActionsOf(const CMenu& menu) {
    std::multiset<std::string> actions;
    for (int i = 0; i < menu.ButtonCount(); ++i) actions.insert(menu.Button(i).action);
    for (int i = 0; i < menu.SliderCount(); ++i) actions.insert(menu.Slider(i).action);
    actions.erase("");
    return actions;
}

bool CommandMatches(const AppCommand& command, const std::string& action) {
    return command.prefix ? action.rfind(command.action, 0) == 0 : action == command.action;
}

TEST_F(GameData, ScreensCarryExactlyTheCommandsOfTheirStates) {
    // Commands left out of the screens on purpose: raising the start level has no button, and
    // the web links open ".url" files the game does not ship.
    const std::set<std::string> leftOut = {"procLevelSimple", "procLevelAdvanced", "procLogo",
                                           "procMoreGames",   "procTellAFriend",   "procSubscribe"};
    std::set<MenuId> shownInAState;
    for (const StateMenu& entry : StateMenuTable()) {
        const std::string file = kMenuFiles[static_cast<size_t>(entry.menu)];
        SCOPED_TRACE(file + " (state " + std::to_string(entry.state) + ")");
        shownInAState.insert(entry.menu);
        CMenu menu(&environment_);
        ASSERT_TRUE(Load(menu, file));
        const std::multiset<std::string> actions = ActionsOf(menu);
        for (const std::string& action : std::set<std::string>(actions.begin(), actions.end())) {
            EXPECT_TRUE(IsCommandOf(entry.state, action)) << action << " is no command of its state";
            EXPECT_EQ(actions.count(action), 1u) << action << " is carried twice";
        }
        for (const AppCommand& command : AppCommandTable()) {
            if (command.state != entry.state || leftOut.count(command.action)) continue;
            const bool carried = std::any_of(actions.begin(), actions.end(),
                                             [&](const std::string& a) { return CommandMatches(command, a); });
            EXPECT_TRUE(carried) << "no item for " << command.action;
        }
    }
    // The left-out commands are still commands (the list above does not go stale).
    for (const std::string& action : leftOut) EXPECT_TRUE(IsCommandOf(APPSTATE_MAIN_MENU, action)) << action;
    // The screens no state takes input from - the intro and the information panels - carry no
    // actions.
    for (int id = 0; id < kMenuCount; ++id) {
        if (shownInAState.count(static_cast<MenuId>(id))) continue;
        CMenu menu(&environment_);
        ASSERT_TRUE(Load(menu, kMenuFiles[static_cast<size_t>(id)]));
        EXPECT_TRUE(ActionsOf(menu).empty()) << kMenuFiles[static_cast<size_t>(id)];
    }
}

TEST_F(GameData, ScreensCarryTheItemsTheGameAddressesByName) {
    // Items whose positions, texts, states or values the game reads by name.
    const std::map<std::string, std::vector<std::string>> texts = {
        {"menu-ingame.xml", {"txtLevelNum", "txtScoreNum", "txtTimeNum", "txtMeterBar"}},
        {"menu-highscores.xml", {"txtGameType"}},
        {"menu-continue-confirmation.xml", {"txtLevelNum", "txtScoreNum"}}};
    for (const auto& [file, names] : texts) {
        CMenu menu(&environment_);
        ASSERT_TRUE(Load(menu, file));
        for (const std::string& name : names) {
            bool present = false;
            for (int i = 0; i < menu.TextCount(); ++i) present |= menu.Text(i).name == name;
            EXPECT_TRUE(present) << file << " has no text " << name;
        }
    }
    CMenu main(&environment_), options(&environment_);
    ASSERT_TRUE(Load(main, "menu-main.xml"));
    ASSERT_TRUE(Load(options, "menu-options.xml"));
    std::map<std::string, const MenuButton*> buttons;
    for (int i = 0; i < main.ButtonCount(); ++i) buttons[main.Button(i).name] = &main.Button(i);
    for (int i = 0; i < options.ButtonCount(); ++i) buttons[options.Button(i).name] = &options.Button(i);
    EXPECT_EQ(buttons.count("btnClassicGame"), 1u);
    EXPECT_EQ(buttons.count("btnTransformerGame"), 1u);
    for (const char* box : {"btnFullScreen", "btn3DHardware"}) {
        ASSERT_EQ(buttons.count(box), 1u) << box;
        EXPECT_FALSE(buttons[box]->outImgChecked.empty()) << box << " is not a check box";
    }
    std::set<std::string> sliders;
    for (int i = 0; i < options.SliderCount(); ++i) sliders.insert(options.Slider(i).name);
    EXPECT_EQ(sliders, (std::set<std::string>{"MusicVolume", "SfxVolume"}));
}

TEST_F(GameData, MapButtonKIsStageK) {
    CMenu map(&environment_);
    ASSERT_TRUE(Load(map, "menu-map.xml"));
    ASSERT_EQ(map.ButtonCount(), kStages + 1);
    EXPECT_EQ(map.Button(0).name, "btnStart");
    EXPECT_EQ(map.Button(0).action, "procStart");
    for (int k = 1; k <= kStages; ++k) {
        EXPECT_EQ(map.Button(k).name, "btnStage" + std::to_string(k));
        EXPECT_EQ(map.Button(k).action, "procStage" + std::to_string(k));
    }
}

struct ShapeClass {
    std::string name, soundEvent;
    std::vector<std::pair<std::string, std::string>> shapes;  // main and mask picture
};

std::vector<ShapeClass> ReadClasses() {
    std::vector<ShapeClass> classes;
    Orvane::XmlDocument doc;
    std::string reason;
    if (!doc.LoadFile("classes.xml", reason)) return classes;
    Orvane::XmlElement root = doc.FirstChild("Level");
    for (auto c = root.FirstChild("ShapeClass"); c; c = c.NextSibling("ShapeClass")) {
        ShapeClass sc;
        c.ReadText("name", 254, sc.name);
        c.ReadText("soundEvent", 254, sc.soundEvent);
        for (auto s = c.FirstChild("Shape"); s; s = s.NextSibling("Shape")) {
            std::string main, mask;
            s.ReadText("mainImage", 254, main);
            s.ReadText("maskImage", 254, mask);
            sc.shapes.emplace_back(main, mask);
        }
        classes.push_back(sc);
    }
    return classes;
}

TEST_F(GameData, ClassesHaveTheirPosesAndSounds) {
    const std::vector<ShapeClass> classes = ReadClasses();
    ASSERT_GE(classes.size(), 24u);
    EXPECT_LE(classes.size(), 30u);
    std::set<std::string> names;
    for (const ShapeClass& c : classes) {
        EXPECT_TRUE(names.insert(c.name).second) << "two classes named " << c.name;
        EXPECT_GE(c.shapes.size(), 3u) << c.name;
        EXPECT_LE(c.shapes.size(), 10u) << c.name;
        for (const auto& [main, mask] : c.shapes) {
            EXPECT_TRUE(PictureLoads(main)) << main;
            EXPECT_TRUE(PictureLoads(mask)) << mask;
        }
        EXPECT_TRUE(sounds_.Find(c.soundEvent, "file0")) << c.name << " has no sound event " << c.soundEvent;
    }
}

TEST_F(GameData, SoundScriptHasEveryEventAndItsFilesLoad) {
    std::vector<std::string> events = {
        "take_shape", "transform_shape", "drop_shape", "delete_shape", "place_shape", "fill_area",
        "remove_line", "bug_alarm", "shape_clear", "no_bonus", "game_over", "level_complete",
        "emit_scores", "collect_scores", "shape_panel_in", "shape_panel_out", "level_start",
        "timeout", "bonus_level_complete", "game_complete", "shape_chomp"};
    for (int k = 1; k <= 7; ++k) events.push_back("place_shape_bonus_" + std::to_string(k));
    for (const std::string& e : events) EXPECT_TRUE(sounds_.Find(e, "file0")) << "no sound event " << e;

    const std::vector<std::string> sections = sounds_.SectionNames();
    EXPECT_LE(sections.size(), 100u) << "the game reads at most 100 events";
    for (const std::string& section : sections)
        for (const auto& [key, file] : sounds_.Entries(section))
            if (key.rfind("file", 0) == 0) {
                EXPECT_TRUE(SoundLoads(file)) << section << ": " << file;
            }
}

TEST_F(GameData, LevelsRunFromOneWithEverySettingWrittenOut) {
    std::set<std::string> classNames;
    for (const ShapeClass& c : ReadClasses()) classNames.insert(c.name);
    ASSERT_FALSE(classNames.empty());
    const std::vector<std::string> numbers = {"newShapeTime", "levelTime", "shapeClassCount", "lineSpeed",
                                              "fBugAppearanceRange", "lineShapeCount", "fBonusAnyShapeP",
                                              "fBonusBandP", "fBonusAreaP"};
    std::vector<int> bonusLevelsPerStage(kStages + 1, 0);
    for (int level = 1; level <= kLevels; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        Orvane::XmlDocument doc;
        std::string reason;
        ASSERT_TRUE(doc.LoadFile("Levels\\level_" + std::to_string(level) + ".xml", reason)) << reason;
        Orvane::XmlElement map = doc.FirstChild("LevelMap");
        ASSERT_TRUE(map);
        std::map<std::string, double> v;
        for (const std::string& name : numbers) {
            const char* text = map.Attribute(name.c_str());
            ASSERT_TRUE(text) << name << " is missing (it would read as 0)";
            char* end = nullptr;
            v[name] = std::strtod(text, &end);
            EXPECT_TRUE(end != text && *end == '\0') << name << " = '" << text << "' is not a number";
        }
        const char* bonus = map.Attribute("bonusLevel");
        const char* list = map.Attribute("shapeClassList");
        ASSERT_TRUE(bonus && list);
        EXPECT_TRUE(std::string(bonus) == "true" || std::string(bonus) == "false") << bonus;
        if (std::string(bonus) == "true") ++bonusLevelsPerStage[(level - 1) / 6 + 1];

        EXPECT_GT(v["levelTime"], 0);
        EXPECT_GT(v["lineSpeed"], 0);
        EXPECT_GT(v["fBugAppearanceRange"], 0);
        for (const char* p : {"fBonusAnyShapeP", "fBonusBandP", "fBonusAreaP"}) {
            EXPECT_GE(v[p], 0);
            EXPECT_LE(v[p], 1);
        }
        const int cells = static_cast<int>(v["lineShapeCount"]);
        EXPECT_GE(cells, level == 1 ? 5 : 1) << "the tutorial of level 1 points at cell 4 of line 1";
        EXPECT_LE(cells * 6, 180) << "the field holds 180 cells";
        const int count = static_cast<int>(v["shapeClassCount"]);
        EXPECT_GE(count, 1);
        EXPECT_LE(count, static_cast<int>(classNames.size()));
        // Named classes exist and differ (a repeated name could never be drawn apart).
        std::set<std::string> named;
        std::string rest = list;
        for (size_t at; !rest.empty(); rest = at == std::string::npos ? "" : rest.substr(at + 1)) {
            at = rest.find(',');
            const std::string name = rest.substr(0, at);
            if (name.empty()) continue;
            EXPECT_TRUE(classNames.count(name)) << "no class named " << name;
            EXPECT_TRUE(named.insert(name).second) << name << " is named twice";
        }
        EXPECT_LE(static_cast<int>(named.size()), count);
    }
    // A bonus level rewards each stage from the second on.
    EXPECT_EQ(bonusLevelsPerStage[1], 0);
    for (int stage = 2; stage <= kStages; ++stage) EXPECT_EQ(bonusLevelsPerStage[stage], 1) << "stage " << stage;
    // The game ends after the last level: the next file must not exist.
    EXPECT_FALSE(Orvane::FileExists("Levels\\level_" + std::to_string(kLevels + 1) + ".xml"));
}

// The game's own readers take the files as they are meant: every level loads with its
// counts inside the tables (nothing clamped), and the master table holds every class.
TEST_F(GameData, TheGameReadsClassesAndLevelsAsWritten) {
    ShapeClassTable classes;
    ASSERT_TRUE(classes.Load("classes.xml"));
    EXPECT_GE(classes.Count(), 24);
    for (int level = 1; level <= kLevels; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        EXPECT_TRUE(LevelFileExists(level));
        LevelFileContents contents;
        std::string reason;
        ASSERT_TRUE(ReadLevelFile(LevelFileName(level), LevelSettings{}, contents, reason)) << reason;
        LevelSettings clamped = contents.settings;
        ClampLevelCounts(clamped, classes.DistinctPlayableCount(), LevelFileName(level), false);
        EXPECT_EQ(clamped.levelClassCount, contents.settings.levelClassCount);
        EXPECT_EQ(clamped.cellsPerLine, contents.settings.cellsPerLine);
        for (const std::string& name : SplitClassList(contents.settings.shapeClassList)) {
            if (!name.empty()) {
                EXPECT_GE(classes.Find(name), 0) << name;
            }
        }
    }
    EXPECT_FALSE(LevelFileExists(kLevels + 1));
}

TEST_F(GameData, LanguageHasTheTextsTheGameDraws) {
    const std::string glyphs = Text("SymbolList") + " ";
    for (const char* key : {"Nookvale", "English\\", "LevelText", "ScoreText", "FPS", "Level N", "Level Complete",
                            "Bonus Level", "No Bonus", "Bonus!", "BonusScore", "50", "1000", "1500", "750",
                            "Classic", "Transformer"}) {
        const std::string text = Text(key);
        EXPECT_FALSE(text.empty()) << key;
        EXPECT_EQ(text.find_first_not_of(glyphs), std::string::npos) << key << " = " << text;
    }
    // The language's picture folder holds the font and the frame.
    EXPECT_TRUE(PictureLoads(Text("English\\") + "font01.png"));
    EXPECT_TRUE(PictureLoads(Text("English\\") + "status-border.png"));
}

}  // namespace
