// Shape classes and level files: what the files say, the defaults and conversions, the class
// table of a level, and what happens with files that ask for the impossible.
#include "game/LevelFile.h"

#include "GameTestSupport.h"

#include <cstring>
#include <set>

using namespace GameTest;

namespace {

class LevelFileTest : public GameFixture {
protected:
    int Warnings() const {
        const std::string log = Log();
        int n = 0;
        for (size_t at = log.find("WARNING"); at != std::string::npos; at = log.find("WARNING", at + 1)) ++n;
        return n;
    }
};

}  // namespace

TEST_F(LevelFileTest, ClassesAreReadInOrderWithinTheirLimits) {
    std::string xml = "<Level><ShapeClass name=\"cat\" soundEvent=\"meow\">"
                      "<Shape mainImage=\"c.png\" maskImage=\"cm.png\"/><Shape mainImage=\"c2.png\"/>"
                      "</ShapeClass><ShapeClass/>";
    for (int i = 0; i < 30; ++i) xml += "<ShapeClass name=\"x" + std::to_string(i) + "\"><Shape/></ShapeClass>";
    xml += "</Level>";
    TestSupport::WriteFile(dir_ / "many.xml", xml);
    ShapeClassTable table;
    ASSERT_TRUE(table.Load("many.xml"));
    EXPECT_EQ(table.Count(), 30);
    EXPECT_STREQ(table.Class(0).name, "cat");
    EXPECT_STREQ(table.Class(0).soundEvent, "meow");
    EXPECT_EQ(table.Class(0).shapeCount, 2);
    EXPECT_STREQ(table.Class(0).shapes[0].maskImage, "cm.png");
    EXPECT_STREQ(table.Class(0).shapes[1].maskImage, "");
    EXPECT_STREQ(table.Class(1).name, "");   // attributes absent: fields stay empty
    EXPECT_FALSE(table.Playable(1));         // no shape
    EXPECT_EQ(table.Find("cat"), 0);
    EXPECT_EQ(table.Find("Cat"), -1);
    EXPECT_EQ(table.Find("x27"), 29);
    EXPECT_EQ(table.Find("x28"), -1);        // the 31st class is ignored
    EXPECT_NE(Log().find("only the first 30 shape classes"), std::string::npos);

    std::string shapes = "<Level><ShapeClass name=\"many\">";
    for (int i = 0; i < 12; ++i) shapes += "<Shape mainImage=\"m" + std::to_string(i) + "\"/>";
    TestSupport::WriteFile(dir_ / "shapes.xml", shapes + "</ShapeClass></Level>");
    ASSERT_TRUE(table.Load("shapes.xml"));
    EXPECT_EQ(table.Class(0).shapeCount, 10);
    EXPECT_STREQ(table.Class(0).shapes[9].mainImage, "m9");

    for (const char* bad : {"missing.xml", "empty.xml", "not-xml.xml"}) {
        if (std::string(bad) == "empty.xml") TestSupport::WriteFile(dir_ / bad, "<Level></Level>");
        if (std::string(bad) == "not-xml.xml") TestSupport::WriteFile(dir_ / bad, "<Level><ShapeClass>");
        EXPECT_FALSE(table.Load(bad)) << bad;
        EXPECT_NE(Log().find(std::string("Fatal error, cannot load XML: ") + bad), std::string::npos);
    }
}

TEST_F(LevelFileTest, AttributesConvertByTheirLeadingNumberAndAbsentOnesReadAsZero) {
    TestSupport::WriteFile(dir_ / "l.xml",
                           LevelXml("levelTime=\"75.5s\" shapeClassCount=\"3.9\" lineShapeCount=\"-2.7\" "
                                    "bonusLevel=\"True\" fBonusAreaP=\"x\" lineSpeed=\"1e-2\""));
    LevelSettings base;
    std::strcpy(base.shapeClassList, "kept");
    LevelFileContents contents;
    std::string reason;
    ASSERT_TRUE(ReadLevelFile("l.xml", base, contents, reason)) << reason;
    const LevelSettings& s = contents.settings;
    EXPECT_EQ(s.levelTime, 75.5f);
    EXPECT_EQ(s.levelClassCount, 3);
    EXPECT_EQ(s.cellsPerLine, -2);
    EXPECT_EQ(s.bonusAreaP, 0.0f);
    EXPECT_EQ(s.bonusBandP, 0.0f);       // absent: 0, not its default
    EXPECT_EQ(s.bugInterval, 0.0f);
    EXPECT_FLOAT_EQ(s.lineSpeed, 0.01f);
    EXPECT_STREQ(s.shapeClassList, "kept");
    EXPECT_FALSE(s.IsBonusLevel());      // only exactly "true"
    EXPECT_EQ(contents.shapeCellCount, 2);

    TestSupport::WriteFile(dir_ / "nomap.xml", "<Level/>");
    EXPECT_FALSE(ReadLevelFile("nomap.xml", base, contents, reason));
    EXPECT_FALSE(LevelFileExists(7));
    WriteLevel(7, "bonusLevel=\"true\"");
    EXPECT_TRUE(LevelFileExists(7));
}

TEST(LevelFile, ClassListsSplitAtRunsOfCommas) {
    struct Case {
        const char* list;
        std::vector<std::string> tokens;
    };
    const Case cases[] = {
        {"", {}},
        {"lion", {"lion"}},
        {"lion,,tiger", {"lion", "tiger"}},
        {",lion, tiger ,", {"lion", " tiger "}},
        {"a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p,q", {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o"}},
    };
    for (const Case& c : cases) {
        const auto tokens = SplitClassList(c.list);
        for (size_t i = 0; i < tokens.size(); ++i) {
            EXPECT_EQ(tokens[i], i < c.tokens.size() ? c.tokens[i] : "") << c.list << " token " << i;
        }
    }
    EXPECT_EQ(SplitClassList(std::string(300, 'z'))[0].size(), 254u);
}

TEST_F(LevelFileTest, TheLevelTableHoldsDistinctClassesNamedOrDrawn) {
    WriteLevel(1, "levelTime=\"60\" shapeClassCount=\"4\" shapeClassList=\"animal5,,animal1\" lineShapeCount=\"5\" lineSpeed=\"0.03\"");
    CBrindloGame& game = MakeGame(MODE_CLASSIC);
    game.SetLevel(1);
    for (int run = 0; run < 20; ++run) {
        ASSERT_TRUE(game.LoadLevel());
        ASSERT_EQ(game.LevelClassCount(), 4);
        EXPECT_STREQ(game.LevelClass(0).name, "animal5");
        EXPECT_STREQ(game.LevelClass(1).name, "animal1");   // runs of commas are one separator
        std::set<std::string> names;
        for (int i = 0; i < 4; ++i) {
            names.insert(game.LevelClass(i).name);
            EXPECT_EQ(game.LevelClass(i).shapeCount, 1);   // one pose outside "Transformer"
        }
        EXPECT_EQ(names.size(), 4u);
        // The grid: 6 lines of 5, every class asked for at least once.
        ASSERT_EQ(game.Field().cellCount, 30);
        std::set<int> asked;
        for (int i = 0; i < 30; ++i) asked.insert(game.Field().cells[static_cast<size_t>(i)].shapeClass);
        EXPECT_EQ(asked, (std::set<int>{0, 1, 2, 3}));
    }
    EXPECT_EQ(Warnings(), 0);

    CBrindloGame& transformer = MakeGame(MODE_TRANSFORMER);
    transformer.SetLevel(1);
    ASSERT_TRUE(transformer.LoadLevel());
    EXPECT_EQ(transformer.LevelClass(0).shapeCount, 3);
}

TEST_F(LevelFileTest, ImpossibleRequestsAreClampedWithAWarningAndNeverLoop) {
    struct Case {
        const char* attributes;
        int classes;
        int perLine;
        const char* warning;
    };
    const Case cases[] = {
        {"shapeClassCount=\"9\" lineShapeCount=\"4\"", 6, 4, "above the 6 distinct classes"},
        {"shapeClassCount=\"0\" lineShapeCount=\"4\"", 1, 4, "below 1"},
        {"shapeClassCount=\"2\" lineShapeCount=\"0\"", 2, 1, "lineShapeCount 0"},
        {"shapeClassCount=\"2\" lineShapeCount=\"99\"", 2, 30, "lineShapeCount 99"},
        {"shapeClassCount=\"3\" lineShapeCount=\"4\" shapeClassList=\"animal2,animal2,animal2\"", 3, 4, "repeats 'animal2'"},
        {"shapeClassCount=\"2\" lineShapeCount=\"4\" shapeClassList=\"unicorn,animal3\"", 2, 4, "names no class 'unicorn'"},
    };
    int level = 1;
    for (const Case& c : cases) {
        WriteLevel(level, std::string("levelTime=\"60\" lineSpeed=\"0.03\" ") + c.attributes);
        CBrindloGame& game = MakeGame();
        game.SetLevel(level++);
        ASSERT_TRUE(game.LoadLevel()) << c.attributes;
        EXPECT_EQ(game.LevelClassCount(), c.classes) << c.attributes;
        EXPECT_EQ(game.Field().cellCount, 6 * c.perLine) << c.attributes;
        EXPECT_NE(Log().find(c.warning), std::string::npos) << c.warning;
        std::set<std::string> names;
        for (int i = 0; i < game.LevelClassCount(); ++i) names.insert(game.LevelClass(i).name);
        EXPECT_EQ(static_cast<int>(names.size()), c.classes) << c.attributes;
    }
    // A class list longer than the table, against a table of two identical classes: clamped.
    TestSupport::WriteFile(dir_ / "classes.xml",
                           "<Level><ShapeClass name=\"a\"><Shape/></ShapeClass>"
                           "<ShapeClass name=\"a\"><Shape/></ShapeClass></Level>");
    WriteLevel(level, "levelTime=\"60\" shapeClassCount=\"5\" lineShapeCount=\"3\"");
    CBrindloGame& game = MakeGame();
    game.SetLevel(level);
    ASSERT_TRUE(game.LoadLevel());
    EXPECT_EQ(game.LevelClassCount(), 1);
}

TEST_F(LevelFileTest, ALevelThatCannotBePlayedIsNotStarted) {
    WriteLevel(1, kSmallLevel);
    TestSupport::WriteFile(dir_ / "Levels/level_2.xml", "<Other/>");
    TestSupport::WriteFile(dir_ / "Levels/level_3.xml", "<LevelMap");
    CBrindloGame& game = MakeGame();
    states_.Set(APPSTATE_LEVEL_MAP);
    for (int level : {2, 3, 4}) {
        game.SetLevel(level);
        EXPECT_FALSE(game.StartLevel()) << level;
        EXPECT_EQ(states_.Current(), APPSTATE_LEVEL_MAP);
        EXPECT_NE(Log().find("Fatal error, cannot load XML: Levels\\level_" + std::to_string(level) + ".xml"),
                  std::string::npos);
    }
    // Without classes nothing is played either.
    TestSupport::WriteFile(dir_ / "classes.xml", "<Level/>");
    CBrindloGame& empty = MakeGame();
    empty.SetLevel(1);
    EXPECT_FALSE(empty.StartLevel());
    EXPECT_EQ(states_.Current(), APPSTATE_LEVEL_MAP);
    EXPECT_NE(Log().find("Fatal error, cannot load XML: classes.xml"), std::string::npos);
}
