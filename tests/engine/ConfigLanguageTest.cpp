// language.ini texts: the current language's section, from the folder or from the pack.
#include "engine/config/Config.h"
#include "engine/log/Log.h"
#include "framework/pak/PakInterface.h"
#include "framework/pak/PakWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class LanguageTest : public ::testing::Test {
protected:
    LanguageTest() : cwd_(dir_.Path()) {
        TestSupport::WriteFile(dir_ / "language.ini",
                               "[ENGLISH]\r\nNookvale=Nookvale\r\nEnglish\\=English\\\r\nFPS=FPS\r\nEmpty=\r\n"
                               "[FRENCH]\r\nFPS=IPS\r\nOnlyFrench=oui\r\n");
    }
    ~LanguageTest() override { SetLanguageName(""); }
    TestSupport::ScopedTempDir dir_;
    TestSupport::ScopedCwd cwd_;
};

TEST_F(LanguageTest, TextsComeFromTheCurrentLanguageOnly) {
    SetLanguageName("english");
    EXPECT_EQ(GetLanguageName(), "english");
    EXPECT_EQ(LangText("FPS"), "FPS");
    EXPECT_EQ(LangText("English\\"), "English\\");
    EXPECT_EQ(LangText("Absent"), "");       // never the key itself
    EXPECT_EQ(LangText("Empty"), "");
    EXPECT_EQ(LangText("OnlyFrench"), "");   // no fall-back to another language
    SetLanguageName("FRENCH");
    EXPECT_EQ(LangText("fps"), "IPS");
    SetLanguageName(std::string(300, 'X'));
    EXPECT_EQ(GetLanguageName().size(), 255u);

    TestSupport::ScopedTempDir elsewhere;
    TestSupport::ScopedCwd there(elsewhere.Path());
    EXPECT_EQ(LangText("fps"), "");   // no language.ini in this working folder
}

TEST_F(LanguageTest, AnEmptyLanguageLogsAWarningForEveryLookup) {
    SetLanguageName("");
    EXPECT_EQ(LangText("FPS"), "");
    EXPECT_EQ(LangText("Nookvale"), "");
    const std::string log = TestSupport::ReadFile(dir_ / "applog.htm");
    const std::string line = " : Warning: language not defined in 'config.ini'<BR>";
    EXPECT_NE(log.find(line), std::string::npos);
    EXPECT_NE(log.find(line, log.find(line) + 1), std::string::npos);
    EXPECT_EQ(log.find("<FONT"), std::string::npos);   // not highlighted
}

TEST_F(LanguageTest, SeveralThreadsGetTheirOwnTexts) {
    SetLanguageName("ENGLISH");
    std::vector<int> right(2, 0);
    auto reader = [&](int id, const char* key, const char* text) {
        for (int i = 0; i < 200; ++i) right[id] += LangText(key) == text;
    };
    std::thread a(reader, 0, "FPS", "FPS"), b(reader, 1, "Nookvale", "Nookvale");
    a.join();
    b.join();
    EXPECT_EQ(right, (std::vector<int>{200, 200}));
}

TEST_F(LanguageTest, PackedLanguageFileComesFirst) {
    // Runs in a child process: packs stay registered in the process-wide file layer.
    EXPECT_EXIT(
        {
            std::vector<uint8_t> image;
            std::string error;
            const std::string text = "[ENGLISH]\nFPS=packed\n";
            Orvane::BuildPakImage({{"language.ini", {text.begin(), text.end()}, 0}}, image, error);
            TestSupport::WriteFile(dir_ / "main.pak", image);
            const bool added = Orvane::GetPak().AddPakFile("main.pak");
            SetLanguageName("ENGLISH");
            std::exit(added && LangText("FPS") == "packed" ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
