// The playing screen as pixels of the headless screen: the round-time glow below ten seconds,
// a removed line glowing while it fades, and only the cells of lines on the field.
#include "GameTestSupport.h"

using namespace GameTest;

namespace {

class GameDrawTest : public GameFixture {
protected:
    GameDrawTest() {
        WriteMapMenu();
        WriteLevel(2, "levelTime=\"100\" shapeClassCount=\"1\" lineSpeed=\"0.0\" fBugAppearanceRange=\"999\" "
                      "lineShapeCount=\"3\" fBonusBandP=\"1\"");
        defaultPicture_ = 0x00000000u;   // everything invisible but what a test looks at
        pictures_["Graphics\\round_time.png"] = {40, 20, 0xFFFF0000u};
        // Line pictures are drawn six times down a line: only a band of a sixth is painted.
        pictures_["Graphics\\line_a.png"] = {95, 600, 0xFF00FF00u, 253, 348};
        for (int c = 0; c < 6; ++c) {
            pictures_["Graphics\\Shapes\\a" + std::to_string(c) + "_0_mask.png"] = {71, 71, 0xFF0000FFu};
        }
        MakeGame();
        game_->LoadMenus();
        StartAndPlay(2);
    }
    void Draw() {
        screen_.Clear(0xFF000000u);
        game_->DrawGameScreen();
    }
    uint32_t At(float x, float y) const {
        return screen_.GetPixel(static_cast<int>(x * 800.0f), static_cast<int>(y * 600.0f));
    }
    static int Red(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
    static int Green(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
};

}  // namespace

TEST_F(GameDrawTest, TheRoundTimeGlowsBelowTenSecondsAndPulses) {
    const float x = game_->Menu(MenuId::InGame).GetTextX("txtTimeNum");
    const float y = game_->Menu(MenuId::InGame).GetTextY("txtTimeNum");
    // Time runs down to just above 10 s: no glow.
    while (game_->TimeLeft() > 10.05f) Tick();
    Draw();
    EXPECT_EQ(Red(At(x, y)), 0);
    while (game_->TimeLeft() >= 9.9f) Tick();
    // The pulse: the glow's opacity follows the clock's seconds, up over one and down over the next.
    int reds[2] = {0, 0};
    for (int k = 0; k < 2; ++k) {
        while (platform_.TimeMs() % 2000 != static_cast<uint32_t>(k == 0 ? 900 : 1700)) platform_.AdvanceTime(1);
        Draw();
        reds[k] = Red(At(x, y));
    }
    EXPECT_NEAR(reds[0], 0.9 * 255, 4);
    EXPECT_NEAR(reds[1], 0.3 * 255, 4);
}

TEST_F(GameDrawTest, ARemovedLineGlowsWhileItFadesAndItsCellsAreGone) {
    const PlayField& field = game_->Field();
    const float lineX = field.lines[1].x;
    int cell = 3;
    while (field.cells[static_cast<size_t>(cell)].y < 0.1f || field.cells[static_cast<size_t>(cell)].y > 0.8f) ++cell;
    ASSERT_LT(cell, 6);
    const float cellY = field.cells[static_cast<size_t>(cell)].y;
    Draw();
    EXPECT_EQ(Green(At(lineX, 0.3f)), 0);
    EXPECT_EQ(At(lineX, cellY) & 0xFF, 0xFFu);   // the cell's silhouette

    // A band bonus on line 1 fills and removes it.
    const ShapeSlot shape = game_->ShapePanelState().slots[0];
    PointAt(shape.x, shape.y);
    Buttons(Orvane::MK_LBUTTON);
    Tick();
    Buttons(0);
    Tick();
    PointAt(lineX, cellY);
    Buttons(Orvane::MK_LBUTTON);
    Tick();
    Buttons(0);
    ASSERT_EQ(field.lines[1].removed, 1);
    Draw();
    EXPECT_GT(Green(At(lineX, 0.3f)), 200);        // glowing at first
    EXPECT_EQ(At(lineX, cellY) & 0xFF, 0u);        // its cells are no longer drawn
    RunFor(0.5);
    Draw();
    EXPECT_NEAR(Green(At(lineX, 0.3f)), 128, 20);  // half faded
    RunFor(0.6);
    Draw();
    EXPECT_EQ(Green(At(lineX, 0.3f)), 0);          // gone
}
