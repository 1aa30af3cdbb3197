// The loading thread registers pictures while the main thread looks the same names up (and
// loads on a miss): no name is registered twice and no reader ever sees a half-stored entry.
#include "SpriteTestSupport.h"

#include <atomic>
#include <set>
#include <thread>

namespace {

using SpriteTest::SpriteFixture;

class SpriteConcurrencyTest : public SpriteFixture {};

TEST_F(SpriteConcurrencyTest, TwoThreadsRegisteringAndLookingUpTheSameNames) {
    constexpr int kNames = 120;
    constexpr int kRounds = 25;
    std::vector<std::string> names;
    for (int i = 0; i < kNames; ++i) {
        names.push_back("Graphics\\pic" + std::to_string(i) + ".png");
        // The width tells which name a picture was made for.
        shop_.Add(names.back(), i + 1, 1);
    }
    std::mutex shopMutex;   // the shop's load counter is not the registry's business
    const auto load = shop_.Loader();
    sprites_.SetImageLoader([&](const std::string& path) {
        std::lock_guard<std::mutex> lock(shopMutex);
        return load(path);
    });

    for (int round = 0; round < kRounds; ++round) {
        std::atomic<bool> go{false};
        std::atomic<int> torn{0};
        auto check = [&](int i, Orvane::Image* image) {
            if (image == nullptr || image->GetWidth() != i + 1) ++torn;
        };
        // The loading thread registers front to back...
        std::thread loader([&] {
            while (!go) {}
            for (int i = 0; i < kNames; ++i) sprites_.LoadImage("Graphics\\", names[static_cast<size_t>(i)].substr(9));
        });
        // ...while the main thread looks up back to front, loading on a miss, and reads every
        // published entry.
        std::thread drawer([&] {
            while (!go) {}
            for (int i = kNames - 1; i >= 0; --i) {
                check(i, sprites_.GetTexture(names[static_cast<size_t>(i)]));
                const int n = sprites_.TextureCount();
                for (int k = 0; k < n; ++k) {
                    if (sprites_.TextureName(k).empty()) ++torn;
                }
            }
        });
        go = true;
        loader.join();
        drawer.join();

        EXPECT_EQ(torn.load(), 0) << "round " << round;
        ASSERT_EQ(sprites_.TextureCount(), kNames) << "round " << round;
        std::set<std::string> seen;
        for (int k = 0; k < kNames; ++k) seen.insert(sprites_.TextureName(k));
        EXPECT_EQ(seen.size(), static_cast<size_t>(kNames)) << "a name was registered twice";
        for (int i = 0; i < kNames; ++i) {
            check(i, sprites_.GetTexture(names[static_cast<size_t>(i)]));
        }
        EXPECT_EQ(torn.load(), 0);
        sprites_.DeleteAllTextures();
    }
    // Every name was decoded exactly once per round.
    for (const std::string& name : names) EXPECT_EQ(shop_.loads[name], kRounds) << name;
}

// The loading thread sets the font up while the main thread already draws texts (the loading
// screen's menu): a text is drawn with the old font or the new one, never with a mix.
TEST_F(SpriteConcurrencyTest, FontSetUpWhileTextsAreDrawn) {
    shop_.Add("English\\font01.png", 320, 240);
    texts_.texts = {{"SymbolList", "AB"}, {"Line01_Width", "16,8"}};
    std::atomic<bool> go{false};
    std::atomic<bool> done{false};
    std::thread loading([&] {
        while (!go) {}
        for (int i = 0; i < 200; ++i) sprites_.InitSymbolFont("English\\font01.png");
        done = true;
    });
    int texts = 0;
    int mixed = 0;
    go = true;
    while (!done || texts < 50) {
        screen_.calls.clear();
        sprites_.DrawText(0.5f, 0.5f, 0.1f, kNoTint, TEXT_CENTRE, "AB");
        // Nothing before the font is there, both glyphs once it is.
        if (!screen_.calls.empty() && screen_.calls.size() != 2u) ++mixed;
        ++texts;
    }
    loading.join();
    EXPECT_EQ(mixed, 0);
    EXPECT_EQ(sprites_.TextureCount(), 1);
}

}  // namespace
