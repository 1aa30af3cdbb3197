// The ini document: reads and writes like the Windows profile functions, and survives any bytes.
#include "framework/ini/IniDocument.h"

#include <gtest/gtest.h>

#include <random>

using Orvane::IniDocument;

namespace {

const char* kSample =
    "; options of the game\r\n"
    "orphan=before any section\r\n"
    "[Options]\r\n"
    "MusicVolume = 0.800000 \r\n"
    "btnFullScreen=1\r\n"
    "btnFullScreen=0\r\n"
    "Title=\"  quoted  \"\r\n"
    "garbage line without equals\r\n"
    "\r\n"
    "[VIDEO]\r\n"
    "Brightness=0.5\r\n"
    "[options]\r\n"
    "Extra=from the second copy\r\n"
    "MusicVolume=ignored";

TEST(IniDocument, ReadsLikeTheProfileFunctions) {
    const IniDocument doc = IniDocument::Parse(kSample);
    struct Case { const char* section; const char* key; std::optional<std::string> value; };
    for (const Case& c : {Case{"OPTIONS", "musicvolume", "0.800000"},
                          {"Options", "btnFullScreen", "1"},              // first of two keys
                          {"options", "Title", "  quoted  "},             // quotes keep inner blanks
                          {"Options", "Extra", "from the second copy"},   // later copy of the section
                          {"video", "BRIGHTNESS", "0.5"},
                          {"Options", "orphan", std::nullopt},
                          {"Options", "garbage line without equals", std::nullopt},
                          {"Missing", "Brightness", std::nullopt}}) {
        EXPECT_EQ(doc.Find(c.section, c.key), c.value) << c.section << "/" << c.key;
    }
    EXPECT_EQ(doc.SectionNames(), (std::vector<std::string>{"Options", "VIDEO"}));
    ASSERT_EQ(doc.Entries("OPTIONS").size(), 4u);
    EXPECT_EQ(doc.Entries("OPTIONS")[3].first, "Extra");
}

TEST(IniDocument, StringReadsAreCutAtTheLimitAndAtZeroBytes) {
    const std::string longValue(300, 'x');
    const IniDocument doc = IniDocument::Parse("[S]\nlong=" + longValue + "\nnul=ab" + std::string(1, '\0') + "cd\n");
    EXPECT_EQ(doc.GetString("S", "long"), std::string(254, 'x'));
    EXPECT_EQ(doc.Find("S", "long")->size(), 300u);   // blocks are read whole
    EXPECT_EQ(doc.GetString("S", "nul"), "ab");
    EXPECT_EQ(doc.GetString("S", "none", "fallback"), "fallback");

    const std::string bom = "\xEF\xBB\xBF[ENGLISH]\r\nFPS=FPS\r\n";
    IniDocument withMark = IniDocument::Parse(bom);
    EXPECT_EQ(withMark.GetString("ENGLISH", "FPS"), "FPS");   // a byte-order mark is skipped
    ASSERT_TRUE(withMark.Set("ENGLISH", "FPS", "IPS"));
    EXPECT_EQ(withMark.Serialise(), "\xEF\xBB\xBF[ENGLISH]\r\nFPS=IPS\r\n");
}

TEST(IniDocument, WritesReplaceInPlaceAndAppendWhatIsMissing) {
    IniDocument doc = IniDocument::Parse(kSample);
    ASSERT_TRUE(doc.Set("OPTIONS", "btnfullscreen", "0"));       // first copy replaced
    ASSERT_TRUE(doc.Set("options", "SfxVolume", "0.750000"));    // appended before the blank line
    ASSERT_TRUE(doc.Set("GAMEPLAY", "LastOpenedLevel", "3"));    // new section at the end
    EXPECT_EQ(doc.Serialise(),
              "; options of the game\r\n"
              "orphan=before any section\r\n"
              "[Options]\r\n"
              "MusicVolume = 0.800000 \r\n"
              "btnFullScreen=0\r\n"
              "btnFullScreen=0\r\n"
              "Title=\"  quoted  \"\r\n"
              "garbage line without equals\r\n"
              "SfxVolume=0.750000\r\n"
              "\r\n"
              "[VIDEO]\r\n"
              "Brightness=0.5\r\n"
              "[options]\r\n"
              "Extra=from the second copy\r\n"
              "MusicVolume=ignored\r\n"
              "[GAMEPLAY]\r\n"
              "LastOpenedLevel=3\r\n");

    IniDocument plain = IniDocument::Parse("[A]\nk=1");
    ASSERT_TRUE(plain.Set("a", "K", "2"));
    EXPECT_EQ(plain.Serialise(), "[A]\nk=2");   // the file's spelling; no line break added
    ASSERT_TRUE(plain.Set("A", "j", ""));
    EXPECT_EQ(plain.Serialise(), "[A]\nk=2\nj=\n");
    EXPECT_EQ(plain.Find("A", "j"), "");

    IniDocument empty;
    ASSERT_TRUE(empty.Set("LANGUAGE", "Name", "ENGLISH"));
    EXPECT_EQ(empty.Serialise(), "[LANGUAGE]\nName=ENGLISH\n");
    EXPECT_TRUE(empty.Erase("language", "NAME"));
    EXPECT_FALSE(empty.Erase("language", "NAME"));
    EXPECT_EQ(empty.Serialise(), "[LANGUAGE]\n");
}

TEST(IniDocument, RefusesNamesAndValuesTheFormatCannotHold) {
    IniDocument doc = IniDocument::Parse("[S]\nk=v\n");
    using namespace std::string_literals;
    for (const auto& [section, key, value] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"S", "", "v"}, {"S", "a=b", "v"}, {"S", "k", "two\nlines"}, {"S", "k", "cr\r"},
             {"S", "k", "nul\0"s}, {"S]", "k", "v"}, {"S\n", "k", "v"}, {"S", "[k", "v"}, {"S", ";k", "v"}}) {
        EXPECT_FALSE(doc.Set(section, key, value)) << section << "/" << key;
    }
    EXPECT_EQ(doc.Serialise(), "[S]\nk=v\n");
}

TEST(IniDocument, AnyBytesParseAndWriteBackUnchanged) {
    std::mt19937 random(7);
    std::vector<std::string> inputs = {
        "", "\n", "\r\n", "\r", "[", "]", "=", "[]\n=\n", "[S]\nk=v",   // no final line break
        std::string("[S]\nk=a\0b\n\0\0\0", 13),                        // zero bytes
        "[S]\nk=" + std::string(100000, 'v') + "\n",                   // a very long line
        "[S]\r\nk=1\r\n[S]\r\nk=2\r\n\r\r\n",                           // CRLF, duplicates, stray CR
    };
    for (int n = 0; n < 50; ++n) {
        std::string garbage(random() % 2000, '\0');
        for (char& c : garbage) c = static_cast<char>(random() % 256);
        inputs.push_back(garbage);
        // Garbage that looks like ini.
        std::string mixed;
        for (int i = 0; i < 200; ++i) mixed += "[]=\r\n;ab\0"[random() % 10];
        inputs.push_back(mixed);
    }
    for (const std::string& input : inputs) {
        IniDocument doc = IniDocument::Parse(input);
        EXPECT_EQ(doc.Serialise(), input);
        doc.SectionNames();
        doc.GetString("S", "k");
        ASSERT_TRUE(doc.Set("S", "k", "written"));
        EXPECT_EQ(IniDocument::Parse(doc.Serialise()).GetString("S", "k"), "written");
    }
    EXPECT_EQ(IniDocument::Parse(inputs[10]).GetString("s", "K").size(), 254u);
    EXPECT_EQ(IniDocument::Parse(inputs[11]).GetString("s", "k"), "1");
}

}  // namespace
