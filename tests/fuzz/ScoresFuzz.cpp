// The score block: the input is "scores.ini". A table that loads is used - a new score, a name
// typed for it, the tables drawn - and saved; what is saved loads back the same.
#include "FuzzSupport.h"

#include "engine/scores/CScores.h"
#include "framework/platform/VirtualKeys.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::PutFile(CScores::kFileName, data, size);
    CScores scores;
    if (!scores.Load()) return 0;

    const uint8_t choices = Fuzz::Choices(data, size);
    scores.SelectTable(choices % CScores::kTables);
    const auto draw = [](float, float, float, uint32_t, int, const std::string& text) {
        FUZZ_CHECK(text.size() <= 64);
    };
    scores.DrawTable(0.2f, 0.05f, 0.1f, 0.2f, 0.8f, draw);
    if (scores.AddScore(scores.Entry(scores.CurrentTable(), 0).score + choices)) {
        for (const uint32_t c : {uint32_t('R'), uint32_t(0xE9), uint32_t(Orvane::VK_BACK), uint32_t('o')}) {
            scores.HandleNameKey({0, c == Orvane::VK_BACK ? Orvane::WM_KEYDOWN : Orvane::WM_CHAR, c, 0, 0, 0, 0});
        }
        scores.DrawTable(0.2f, 0.05f, 0.1f, 0.2f, 0.8f, draw);
        scores.HandleNameKey({0, Orvane::WM_KEYDOWN, Orvane::VK_RETURN, 0, 0, 0, 0});
    }
    FUZZ_CHECK(scores.Save());
    CScores again;
    FUZZ_CHECK(again.Load());
    for (int t = 0; t < CScores::kTables; ++t) {
        for (int r = 0; r < CScores::kRows; ++r) {
            const ScoreEntry& a = scores.Entry(t, r);
            const ScoreEntry& b = again.Entry(t, r);
            FUZZ_CHECK(a.score == b.score && a.name == b.name);
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    Fuzz::Initialize(argc, argv);
    return 0;
}
