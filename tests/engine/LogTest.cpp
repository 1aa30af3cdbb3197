// applog.htm: line format, flags, highlighting, and the framework's diagnostics routed in.
#include "engine/log/FrameworkLog.h"
#include "engine/log/Log.h"
#include "framework/core/Diagnostics.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <thread>

namespace {

const std::string kStars = std::string(74, '*') + "<BR>";

class LogTest : public ::testing::Test {
protected:
    LogTest() : cwd_(dir_.Path()) {
        SetLogTimeSource([] {
            std::tm t {};
            t.tm_hour = 14;
            t.tm_min = 5;
            t.tm_sec = 9;
            return t;
        });
    }
    ~LogTest() override {
        SetLogTimeSource(nullptr);
        RemoveFrameworkLogRouting();
    }
    std::string Log() const { return TestSupport::ReadFile(dir_ / "applog.htm"); }

    TestSupport::ScopedTempDir dir_;
    TestSupport::ScopedCwd cwd_;
};

TEST_F(LogTest, LinesFollowTheFlagsAndHighlightProblems) {
    TestSupport::WriteFile(dir_ / "applog.htm", "old run");
    struct Case { const char* message; int flags; std::string appended; };
    const std::vector<Case> cases = {
        {"*** SESSION STARTED ***", 5, kStars + "14:05:09 : *** SESSION STARTED ***<BR>" + kStars},
        {"Init()", 0, "14:05:09 : Init()<BR>"},
        {"Loading image: 'a.png' ... FAILED", 0,
         "<B><FONT COLOR=#FF0000>14:05:09 : Loading image: 'a.png' ... FAILED</FONT></B><BR>"},
        {"WARNING: Too many buttons in menu - ", 0,
         "<B><FONT COLOR=#FF0000>14:05:09 : WARNING: Too many buttons in menu - </FONT></B><BR>"},
        {"Warning: language not defined in 'config.ini'", 0,
         "14:05:09 : Warning: language not defined in 'config.ini'<BR>"},
        {"StartLevel(3)", 4, kStars + "14:05:09 : StartLevel(3)<BR>" + kStars},
        {"one", 8, "14:05:09 : one"},
        {"<b>raw & unescaped</b>", 8, "14:05:09 : <b>raw & unescaped</b>"},
        {"*** Session finished ***", 4, kStars + "14:05:09 : *** Session finished ***<BR>" + kStars},
    };
    std::string expected;
    for (const Case& c : cases) {
        LogWrite(c.message, c.flags);
        expected += c.appended;
        EXPECT_EQ(Log(), expected) << c.message;   // the first message replaced "old run"
    }
}

TEST_F(LogTest, UsesTheLocalClockAndSurvivesAnUnwritableFile) {
    SetLogTimeSource(nullptr);
    LogWrite("tick", LOG_NEW_FILE);
    EXPECT_TRUE(std::regex_match(Log(), std::regex("([01][0-9]|2[0-3]):[0-5][0-9]:[0-6][0-9] : tick<BR>")))
        << Log();
    std::filesystem::remove(dir_ / "applog.htm");
    std::filesystem::create_directory(dir_ / "applog.htm");
    LogWrite("lost", 0);   // silently dropped
    LogWrite("lost", LOG_NEW_FILE);
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "applog.htm"));
}

TEST_F(LogTest, FrameworkDiagnosticsAndThreadsEndUpInTheLog) {
    LogWrite("*** SESSION STARTED ***", 5);
    InstallFrameworkLogRouting();
    Orvane::Diagnose("Loading pack: 'main.pak' ... FAILED (bad magic)");
    EXPECT_NE(Log().find("<B><FONT COLOR=#FF0000>14:05:09 : Loading pack: 'main.pak' ... FAILED (bad magic)</FONT></B><BR>"),
              std::string::npos);

    LogWrite("start", LOG_NEW_FILE);
    auto writer = [](char id) {
        for (int i = 0; i < 50; ++i) LogWrite(std::string(20, id), 0);
    };
    std::thread a(writer, 'a'), b(writer, 'b');
    a.join();
    b.join();
    const std::string log = Log();
    const std::string lineA = "14:05:09 : " + std::string(20, 'a') + "<BR>";
    const std::string lineB = "14:05:09 : " + std::string(20, 'b') + "<BR>";
    size_t whole = 0;
    for (size_t at = 0; (at = log.find("<BR>", at)) != std::string::npos; at += 4) ++whole;
    EXPECT_EQ(whole, 101u);
    EXPECT_EQ(log.size(), std::string("14:05:09 : start<BR>").size() + 50 * (lineA.size() + lineB.size()));
}

}  // namespace
