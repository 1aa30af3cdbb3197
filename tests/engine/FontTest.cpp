// The symbol font: its table in language.ini (grid, width keys, bad widths), the pen rule and
// alignment of a line, and DrawText with glyphs, literal keys and picture texts.
#include "SpriteTestSupport.h"

#include "engine/text/SymbolFont.h"

namespace {

using SpriteTest::DrawCall;
using SpriteTest::RectNear;
using SpriteTest::SolidImage;
using SpriteTest::SpriteFixture;
using SpriteTest::TextTable;
using Orvane::Rect;

// A row of widths in sixteenths: n times value.
std::string Row(int n, int value) {
    std::string s;
    for (int i = 0; i < n; ++i) s += (i ? "," : "") + std::to_string(value);
    return s;
}

TEST(FontKeyTest, WidthKeysAreNumberedFromOneWithTwoDigits) {
    EXPECT_EQ(SymbolFont::WidthKey(1), "Line01_Width");
    EXPECT_EQ(SymbolFont::WidthKey(9), "Line09_Width");
    EXPECT_EQ(SymbolFont::WidthKey(10), "Line10_Width");
    EXPECT_EQ(SymbolFont::WidthKey(15), "Line15_Width");
}

class FontTableTest : public SpriteFixture {};

TEST_F(FontTableTest, ReadsListGridAndWidthsOnce) {
    texts_.texts = {{"SymbolList", "ABCDE"},
                    {"SYMBOLS_IN_ROW", "4"},
                    {"SYMBOLS_IN_COL", "2"},
                    {"Line01_Width", "16, 8,4"},      // fewer pieces than cells: the rest stay 0
                    {"Line02_Width", "12,32,2,4,5"}};   // extra pieces ignored
    SymbolFont font;
    font.Load(texts_.Lookup());
    EXPECT_EQ(font.Columns(), 4);
    EXPECT_EQ(font.Rows(), 2);
    EXPECT_EQ(font.IndexOf('C'), 2);
    EXPECT_EQ(font.IndexOf('z'), -1);
    const float expected[8] = {1.0f, 0.5f, 0.25f, 0.0f, 0.75f, 2.0f, 0.125f, 0.25f};
    for (int i = 0; i < 8; ++i) EXPECT_FLOAT_EQ(font.Width(i), expected[i]) << i;
    EXPECT_EQ(font.Width(8), 0.0f);   // beyond the grid
    EXPECT_TRUE(font.WidthsLoaded());
    EXPECT_EQ(Log().find("Can't load symbol width"), std::string::npos);

    // A second load re-reads list and grid, not the widths.
    texts_.texts["Line01_Width"] = Row(4, 2);
    texts_.texts["SymbolList"] = "AAB";
    texts_.texts["SYMBOLS_IN_ROW"] = "3";
    font.Load(texts_.Lookup());
    EXPECT_FLOAT_EQ(font.Width(0), 1.0f);
    EXPECT_EQ(font.Columns(), 3);
    EXPECT_EQ(font.IndexOf('A'), 0);   // the first position wins
    EXPECT_EQ(font.IndexOf('B'), 2);
}

TEST_F(FontTableTest, BadWidthLogsAndStopsItsRowOnly) {
    // A piece that is not a number, an empty one between two commas, and one after a final
    // comma each end their row with one log line.
    for (const char* row : {"16,x,16,16", "16,,16,16", "16,"}) {
        SCOPED_TRACE(row);
        const int logged = Count(Log(), "Can't load symbol width from 'language.ini'");
        texts_.texts = {{"SymbolList", "abcdefgh"},
                        {"SYMBOLS_IN_ROW", "4"},
                        {"SYMBOLS_IN_COL", "2"},
                        {"Line01_Width", row},
                        {"Line02_Width", "8,8,8,8"}};
        SymbolFont font;
        font.Load(texts_.Lookup());
        EXPECT_FLOAT_EQ(font.Width(0), 1.0f);
        EXPECT_EQ(font.Width(1), 0.0f);        // from the bad piece on the row stops
        EXPECT_EQ(font.Width(2), 0.0f);
        EXPECT_FLOAT_EQ(font.Width(4), 0.5f);  // later rows are still read
        EXPECT_EQ(Count(Log(), "Can't load symbol width from 'language.ini'"), logged + 1);
    }
}

TEST_F(FontTableTest, MalformedOrOversizedGridKeepsTheOldOne) {
    struct Case { const char* row; const char* col; int columns; int rows; };
    const Case cases[] = {
        {"", "8", 16, 8},        // missing
        {"abc", "4", 16, 8},     // not a number
        {"12", "x", 16, 8},      // one of two bad: both keep
        {"0", "4", 16, 8},       // empty grid
        {"32", "16", 16, 8},     // 512 cells do not fit the width table
        {"10 ", " 5", 10, 5},    // blanks as "%d" takes them
    };
    for (const Case& c : cases) {
        TextTable table;
        table.texts = {{"SYMBOLS_IN_ROW", c.row}, {"SYMBOLS_IN_COL", c.col}};
        SymbolFont font;
        font.Load(table.Lookup());
        EXPECT_EQ(font.Columns(), c.columns) << c.row << "/" << c.col;
        EXPECT_EQ(font.Rows(), c.rows) << c.row << "/" << c.col;
    }
}

TEST(FontLayoutTest, GlyphWindowOfAnIndex) {
    SymbolFont font;   // 16 x 8
    const UvWindow w = font.GlyphWindow(17);   // column 1 of row 1 (the second row)
    EXPECT_FLOAT_EQ(w.left, 1.0f / 16);
    EXPECT_FLOAT_EQ(w.top, 1.08f / 8);
    EXPECT_FLOAT_EQ(w.right, 1.94f / 16);
    EXPECT_FLOAT_EQ(w.bottom, 2.0f / 8);
    EXPECT_TRUE(font.InGrid(127));
    EXPECT_FALSE(font.InGrid(128));
}

TEST(FontLayoutTest, PenRuleAndAlignment) {
    TextTable table;
    table.texts = {{"SymbolList", "AB"}, {"Line01_Width", "16,8"}};
    SymbolFont font;
    font.Load(table.Lookup());
    TextLayout layout;

    // A (1 cell) then B (half a cell), cell box 0.1: centres at 0.05 and 0.1 + 0.025.
    LayoutText(font, "AB", 0.1f, layout);
    ASSERT_EQ(layout.count, 2);
    EXPECT_FLOAT_EQ(layout.total, 0.15f);
    EXPECT_FLOAT_EQ(layout.glyphs[0].centre, 0.05f);
    EXPECT_FLOAT_EQ(layout.glyphs[1].centre, 0.125f);
    EXPECT_FLOAT_EQ(layout.AlignOffset(TEXT_CENTRE), -0.075f);
    EXPECT_FLOAT_EQ(layout.AlignOffset(TEXT_RIGHT), -0.15f);
    EXPECT_FLOAT_EQ(layout.AlignOffset(TEXT_CENTRE | TEXT_RIGHT), -0.15f);
    EXPECT_FLOAT_EQ(layout.AlignOffset(0x40), 0.0f);

    // An absent character (the blank is not listed) advances by half a box, and the next
    // glyph adds half of that advance again plus half of its own.
    LayoutText(font, "A B", 0.1f, layout);
    ASSERT_EQ(layout.count, 3);
    EXPECT_EQ(layout.glyphs[1].index, -1);
    EXPECT_FLOAT_EQ(layout.total, 0.1f + 0.05f + 0.05f);
    EXPECT_FLOAT_EQ(layout.glyphs[0].centre, 0.05f);
    EXPECT_FLOAT_EQ(layout.glyphs[1].centre, 0.1f);
    EXPECT_FLOAT_EQ(layout.glyphs[2].centre, 0.1f + 0.025f + 0.025f);

    // A text that opens with an absent character.
    LayoutText(font, " A", 0.1f, layout);
    EXPECT_FLOAT_EQ(layout.glyphs[1].centre, 0.05f + 0.025f + 0.05f);

    // Long texts are cut to 255 characters.
    LayoutText(font, std::string(400, 'A'), 0.1f, layout);
    EXPECT_EQ(layout.count, 255);
}

class FontDrawTest : public SpriteFixture {
protected:
    // A 16 x 8 grid of 20 x 30 pixel cells; "AB" listed with widths 16 and 8.
    void SetUpFont() {
        shop_.Add("English\\font01.png", 320, 240);
        texts_.texts = {{"SymbolList", "AB"}, {"Line01_Width", "16,8"}};
        sprites_.InitSymbolFont("English\\font01.png");
        ASSERT_NE(sprites_.GetSymbolTexture(), nullptr);
    }
    const std::vector<DrawCall>& Calls() const { return screen_.calls; }
};

TEST_F(FontDrawTest, CentredTextPlacesEachGlyphOnItsAdvance) {
    SetUpFont();
    // Height 0.1 = 60 px: the 20 x 30 cell scaled to 40 x 60 px; A advances 40, B 20.
    sprites_.DrawText(0.5f, 0.5f, 0.1f, kNoTint, TEXT_CENTRE, "AB");
    ASSERT_EQ(Calls().size(), 2u);
    // total 60 px: A's box centred at 400 - 30 + 20 = 390, B's at 390 + 20 + 10 = 420.
    EXPECT_TRUE(RectNear(Calls()[0].dest, Rect(370, 270, 40, 60)));
    EXPECT_TRUE(RectNear(Calls()[1].dest, Rect(400, 270, 40, 60)));
    // Glyph windows: the cell with its inset (top 8 %, right 6 %).
    EXPECT_TRUE(RectNear(Calls()[0].src, Rect(0, 2, 18, 27)));
    EXPECT_TRUE(RectNear(Calls()[1].src, Rect(20, 2, 18, 27)));
    EXPECT_EQ(Calls()[0].color, Orvane::Color::White());

    // Right-aligned with a tint, and at natural size (height unused).
    screen_.calls.clear();
    sprites_.DrawText(0.5f, 0.5f, 0.1f, 0x80FF0000u, TEXT_RIGHT | TEXT_NATURAL_SIZE, "AB");
    ASSERT_EQ(Calls().size(), 2u);
    // gw = 20 px: advances 20 and 10; A centred at 400 - 30 + 10 = 380.
    EXPECT_EQ(Calls()[0].kind, DrawCall::Blit);
    EXPECT_TRUE(RectNear(Calls()[0].dest, Rect(370, 286, 18, 27)));
    EXPECT_EQ(Calls()[0].color, Orvane::Color(255, 0, 0, 128));
}

TEST_F(FontDrawTest, AbsentCharactersAdvanceButDrawNothing) {
    SetUpFont();
    sprites_.DrawText(0.0f, 0.5f, 0.1f, kNoTint, 0, "A?B");
    ASSERT_EQ(Calls().size(), 2u);
    // Left-aligned at x = 0: A centred at 20, '?' moves the pen by half a box (to 40), B adds
    // half of that advance and half of its own (to 60).
    EXPECT_TRUE(RectNear(Calls()[0].dest, Rect(0, 270, 40, 60)));
    EXPECT_TRUE(RectNear(Calls()[1].dest, Rect(40, 270, 40, 60)));
}

TEST_F(FontDrawTest, KeysAreTranslatedOrDrawnLiterally) {
    SetUpFont();
    texts_.texts["btnPlay"] = "BA";
    sprites_.DrawText(0.5f, 0.5f, 0.1f, kNoTint, 0, "btnPlay");
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_TRUE(RectNear(Calls()[0].src, Rect(20, 2, 18, 27)));   // B first

    // An absent key is drawn literally: "AAx" shows two glyphs.
    screen_.calls.clear();
    sprites_.DrawText(0.5f, 0.5f, 0.1f, kNoTint, 0, "AAx");
    EXPECT_EQ(Calls().size(), 2u);

    // An empty text draws nothing.
    screen_.calls.clear();
    sprites_.DrawText(0.5f, 0.5f, 0.1f, kNoTint, 0, "");
    EXPECT_TRUE(Calls().empty());
}

TEST_F(FontDrawTest, WithoutFontImageTextsDrawNothing) {
    texts_.texts = {{"SymbolList", "AB"}};
    sprites_.DrawText(0.5f, 0.5f, 0.1f, kNoTint, 0, "AB");   // before InitSymbolFont
    sprites_.InitSymbolFont("English\\nofont.png");
    sprites_.DrawText(0.5f, 0.5f, 0.1f, kNoTint, 0, "AB");
    EXPECT_TRUE(Calls().empty());
    // A missing list: every character is absent.
    shop_.Add("English\\font01.png", 320, 240);
    texts_.texts.clear();
    sprites_.InitSymbolFont("English\\font01.png");
    sprites_.DrawText(0.5f, 0.5f, 0.1f, kNoTint, 0, "AB");
    EXPECT_TRUE(Calls().empty());
}

TEST_F(FontDrawTest, PictureTextsDrawThePictureAtTheTextHeight) {
    shop_.Add("English\\caption.png", 200, 50);
    texts_.texts["title"] = "English\\caption.png";
    // Height 0.1 (60 px): the picture 240 px wide; left end at x without flags.
    sprites_.DrawText(0.25f, 0.5f, 0.1f, kNoTint, 0, "title");
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].kind, DrawCall::Stretch);
    EXPECT_TRUE(RectNear(Calls()[0].dest, Rect(200, 270, 240, 60)));
    // Centred with flag 1, its right end at x with flag 2 (also with 3).
    sprites_.DrawText(0.5f, 0.5f, 0.1f, kNoTint, TEXT_CENTRE, "title");
    sprites_.DrawText(0.5f, 0.5f, 0.1f, kNoTint, TEXT_CENTRE | TEXT_RIGHT, "title");
    ASSERT_EQ(Calls().size(), 3u);
    EXPECT_TRUE(RectNear(Calls()[1].dest, Rect(280, 270, 240, 60)));
    EXPECT_TRUE(RectNear(Calls()[2].dest, Rect(160, 270, 240, 60)));
    // Natural size: the picture's own pixels.
    sprites_.DrawText(0.5f, 0.5f, 0.1f, kNoTint, TEXT_CENTRE | TEXT_NATURAL_SIZE, "title");
    ASSERT_EQ(Calls().size(), 4u);
    EXPECT_TRUE(RectNear(Calls()[3].dest, Rect(300, 275, 200, 50)));
    // A key naming a ".tga" literally; a picture that does not load draws nothing.
    shop_.Add("logo.tga", 10, 10);
    sprites_.DrawText(0.5f, 0.5f, 0.1f, kNoTint, TEXT_CENTRE, "logo.tga");
    sprites_.DrawText(0.5f, 0.5f, 0.1f, kNoTint, TEXT_CENTRE, "gone.png");
    EXPECT_EQ(Calls().size(), 5u);
}

}  // namespace
