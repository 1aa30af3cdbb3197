// The saved game in "saved.ini": written by the game and read back, made by hand from the
// format alone, refused when damaged, and continued to the end of its level.
#include "GameTestSupport.h"

#include "support/ScriptedPlayer.h"

#include <cmath>
#include <cstring>
#include <limits>

using namespace GameTest;

namespace {

// The file's encoding, written out independently of the game's code: two upper-case hex
// digits a byte, then the low byte of the sum of all bytes.
std::string HexWithChecksum(const std::vector<uint8_t>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    unsigned sum = 0;
    for (uint8_t b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
        sum += b;
    }
    text += digits[(sum >> 4) & 15];
    text += digits[sum & 15];
    return text;
}

void Put32(std::vector<uint8_t>& bytes, size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[offset + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}
void PutFloat(std::vector<uint8_t>& bytes, size_t offset, float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    Put32(bytes, offset, v);
}

class SavedGameTest : public GameFixture {
protected:
    SavedGameTest() { WriteLevel(2, kSmallLevel); }
    void WriteSaved(const std::string& section, const std::string& data, bool flag = true) {
        TestSupport::WriteFile(dir_ / "saved.ini", "[" + section + "]\nIsGameSaved=" +
                                                       std::string(flag ? "0100000001" : "0000000000") +
                                                       "\nData=" + data + "\n");
    }
};

}  // namespace

TEST_F(SavedGameTest, AGameSavedMidLevelContinuesWithTheSameFieldPanelAndTime) {
    MakeGame();
    StartAndPlay(2);
    ScriptedPlayer player(*game_, platform_);
    player_ = [&](double now) { player.Update(now); };
    while (player.Placements() < 3 && platform_.TimeMs() < 200000) Tick();
    player_ = nullptr;
    player.Reset();
    RunFor(0.5);
    game_->SetScore(4321);
    const float timeLeft = game_->TimeLeft();
    const PlayField field = game_->Field();
    const ShapePanel panel = game_->ShapePanelState();
    states_.Set(APPSTATE_PAUSED);
    game_->SaveGame();
    EXPECT_TRUE(game_->IsGameSaved());
    EXPECT_NE(TestSupport::ReadFile(dir_ / "saved.ini").find("[Classic]"), std::string::npos);

    // Later, in a new session: the mode is chosen again.
    platform_.AdvanceTime(3600000);
    MakeGame();
    states_.Set(APPSTATE_MAIN_MENU);
    ASSERT_TRUE(game_->IsGameSaved());
    ASSERT_TRUE(game_->LoadSavedGame(true));
    EXPECT_EQ(game_->Level(), 2);
    EXPECT_EQ(game_->Score(), 4321);
    states_.Set(APPSTATE_CONTINUE_CONFIRMATION);
    ASSERT_TRUE(game_->LoadSavedGame(false));
    EXPECT_NE(Log().find("Loading saved game..."), std::string::npos);
    EXPECT_EQ(states_.Current(), APPSTATE_PLAYING);
    EXPECT_EQ(game_->RoundState(), CBrindloGame::ROUND_PLAYING);
    ASSERT_EQ(game_->Field().cellCount, field.cellCount);
    for (int i = 0; i < field.cellCount; ++i) {
        EXPECT_EQ(game_->Field().cells[static_cast<size_t>(i)].placed, field.cells[static_cast<size_t>(i)].placed);
        EXPECT_EQ(game_->Field().cells[static_cast<size_t>(i)].shapeClass, field.cells[static_cast<size_t>(i)].shapeClass);
    }
    ASSERT_EQ(game_->ShapePanelState().count, panel.count);
    for (int i = 0; i < panel.count; ++i) {
        EXPECT_EQ(game_->ShapePanelState().slots[static_cast<size_t>(i)].shapeClass, panel.slots[static_cast<size_t>(i)].shapeClass);
    }
    EXPECT_FALSE(game_->Holding());
    Tick();
    EXPECT_NEAR(game_->TimeLeft(), timeLeft, 0.05f);

    // And it can be played to the end.
    ScriptedPlayer again(*game_, platform_);
    player_ = [&](double now) { again.Update(now); };
    ASSERT_TRUE(RunUntilNotPlaying(120.0));
    EXPECT_EQ(states_.Current(), APPSTATE_LEVEL_COMPLETE);
}

TEST_F(SavedGameTest, EachModeHasItsSectionAndTransformerAndRelaxAreCrossed) {
    struct Case {
        int mode;
        const char* section;
    };
    for (const Case c : {Case{MODE_CLASSIC, "Classic"}, Case{MODE_TRANSFORMER, "Relax"}, Case{MODE_RELAX, "Transformer"}}) {
        std::filesystem::remove(dir_ / "saved.ini");
        MakeGame(c.mode);
        StartAndPlay(2);
        game_->SaveGame();
        const std::string file = TestSupport::ReadFile(dir_ / "saved.ini");
        EXPECT_NE(file.find(std::string("[") + c.section + "]"), std::string::npos) << c.section;
        EXPECT_EQ(file.find("]", file.find("]") + 1), std::string::npos);   // one section only
        for (const Case other : {Case{MODE_CLASSIC, ""}, Case{MODE_TRANSFORMER, ""}, Case{MODE_RELAX, ""}}) {
            game_->SetMode(other.mode);
            EXPECT_EQ(game_->IsGameSaved(), other.mode == c.mode);
        }
    }
}

TEST_F(SavedGameTest, ARecordMadeFromTheFormatAloneIsRestored) {
    std::vector<uint8_t> bytes(10588, 0);
    // Panel: one shape of class 1 at the queue's head.
    Put32(bytes, 0, 1);
    PutFloat(bytes, 12, 0.3f);
    PutFloat(bytes, 16, 0.915f);
    PutFloat(bytes, 20, 0.0890625f);
    PutFloat(bytes, 24, 0.11875f);
    // Cells: 6 lines of 2, classes alternating, the first three placed.
    for (int i = 0; i < 12; ++i) {
        const size_t at = 1040 + static_cast<size_t>(i) * 52;
        Put32(bytes, at, static_cast<uint32_t>(i % 2));
        const int line = i / 2;
        const float y = static_cast<float>(i % 2) * 0.15833333f - 0.07916667f + (line % 2 == 0 ? 0.08f : 0.0f);
        PutFloat(bytes, at + 8, y);
        PutFloat(bytes, at + 12, 0.29f + 0.11875f * static_cast<float>(line));
        PutFloat(bytes, at + 16, y);
        PutFloat(bytes, at + 20, 0.0890625f);
        PutFloat(bytes, at + 24, 0.11875f);
        Put32(bytes, at + 32, 1);
        Put32(bytes, at + 36, i < 3 ? 1 : 0);
    }
    Put32(bytes, 10400, 1);
    Put32(bytes, 10404, 12);
    for (int line = 0; line < 6; ++line) {
        const size_t at = 10408 + static_cast<size_t>(line) * 24;
        PutFloat(bytes, at, 0.29f + 0.11875f * static_cast<float>(line));
        PutFloat(bytes, at + 4, 0.5f);
        PutFloat(bytes, at + 12, 1.0f);
    }
    Put32(bytes, 10556, 6);
    Put32(bytes, 10560, 2);
    Put32(bytes, 10564, 888);
    PutFloat(bytes, 10568, 30.0f);
    PutFloat(bytes, 10572, 20.0f);
    Put32(bytes, 10584, 9);
    WriteSaved("Classic", HexWithChecksum(bytes));

    MakeGame();
    ASSERT_TRUE(game_->IsGameSaved());
    states_.Set(APPSTATE_CONTINUE_CONFIRMATION);
    ASSERT_TRUE(game_->LoadSavedGame(false));
    EXPECT_EQ(game_->Level(), 2);
    EXPECT_EQ(game_->Score(), 888);
    EXPECT_EQ(game_->SpawnedCount(), 9);
    ASSERT_EQ(game_->ShapePanelState().count, 1);
    EXPECT_EQ(game_->ShapePanelState().slots[0].shapeClass, 1);
    ASSERT_EQ(game_->Field().cellCount, 12);
    EXPECT_EQ(Field::PlacedCount(game_->Field()), 3);
    EXPECT_EQ(game_->Field().cells[5].shapeClass, 1);
    Tick();
    EXPECT_NEAR(game_->TimeLeft(), 40.0f, 0.05f);
}

TEST_F(SavedGameTest, DamagedFilesAreCorruptedNeverACrash) {
    MakeGame();
    StartAndPlay(2);
    game_->SaveGame();
    const std::string good = TestSupport::ReadFile(dir_ / "saved.ini");
    const size_t at = good.find("Data=") + 5;
    const std::string data = good.substr(at, good.find('\n', at) - at);
    ASSERT_EQ(data.size(), 2u * 10588 + 2);
    std::vector<uint8_t> bytes(10588);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(std::stoi(data.substr(2 * i, 2), nullptr, 16));

    auto damaged = [&](auto change) {
        std::vector<uint8_t> copy = bytes;
        change(copy);
        return HexWithChecksum(copy);
    };
    std::string badChecksum = data;
    badChecksum[badChecksum.size() - 1] = badChecksum.back() == '0' ? '1' : '0';
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<const char*, std::string> cases[] = {
        {"too short", data.substr(0, data.size() - 4)},
        {"too long", data + "0000"},
        {"bad checksum", badChecksum},
        {"not hex", std::string(data.size(), 'G')},
        {"cell count", damaged([](std::vector<uint8_t>& b) { Put32(b, 10404, 5000); })},
        {"panel count", damaged([](std::vector<uint8_t>& b) { Put32(b, 10400, 0xFFFFFFFF); })},
        {"lines", damaged([](std::vector<uint8_t>& b) { Put32(b, 10556, 99); })},
        {"no such level", damaged([](std::vector<uint8_t>& b) { Put32(b, 10560, 77); })},
        {"class", damaged([](std::vector<uint8_t>& b) { Put32(b, 1040, 29); })},
        {"NaN time", damaged([nan](std::vector<uint8_t>& b) { PutFloat(b, 10572, nan); })},
        {"empty", ""},
    };
    for (const auto& [what, text] : cases) {
        WriteSaved("Classic", text);
        MakeGame();
        states_.Set(APPSTATE_MAIN_MENU);
        game_->SetLevel(5);
        EXPECT_FALSE(game_->LoadSavedGame(true)) << what;
        EXPECT_FALSE(game_->LoadSavedGame(false)) << what;
        EXPECT_EQ(states_.Current(), APPSTATE_MAIN_MENU) << what;
        EXPECT_EQ(game_->Level(), 5) << what;
    }
    EXPECT_NE(Log().find("File 'saved.ini' is corrupted!"), std::string::npos);
    std::filesystem::remove(dir_ / "saved.ini");
    MakeGame();
    EXPECT_FALSE(game_->IsGameSaved());
    EXPECT_FALSE(game_->LoadSavedGame(true));
}
