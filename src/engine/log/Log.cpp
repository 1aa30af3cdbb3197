#include "engine/log/Log.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>

namespace {

constexpr const char* kLogFileName = "applog.htm";
constexpr const char* kHighlightOpen = "<B><FONT COLOR=#FF0000>";
constexpr const char* kHighlightClose = "</FONT></B>";
constexpr const char* kBreak = "<BR>";
constexpr size_t kStarCount = 74;

std::mutex& LogMutex() {
    static std::mutex mutex;
    return mutex;
}

LogTimeSource& TimeSource() {
    static LogTimeSource source;
    return source;
}

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return local;
}

bool IsHighlighted(const char* message) {
    return std::strstr(message, "FAIL") != nullptr || std::strstr(message, "WARNING") != nullptr;
}

}  // namespace

void SetLogTimeSource(LogTimeSource source) {
    std::lock_guard<std::mutex> lock(LogMutex());
    TimeSource() = std::move(source);
}

std::string FormatLogEntry(const char* message, int flags, const std::tm& time) {
    if (!message) message = "";
    const std::string stars = std::string(kStarCount, '*') + kBreak;
    const bool highlighted = IsHighlighted(message);

    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d", std::clamp(time.tm_hour, 0, 23),
                  std::clamp(time.tm_min, 0, 59), std::clamp(time.tm_sec, 0, 60));

    std::string entry;
    if (flags & LOG_STARS) entry += stars;
    if (highlighted) entry += kHighlightOpen;
    entry += stamp;
    entry += " : ";
    entry += message;
    if (highlighted) entry += kHighlightClose;
    if (!(flags & LOG_NO_BREAK)) entry += kBreak;
    if (flags & LOG_STARS) entry += stars;
    return entry;
}

void LogWrite(const char* message, int flags) {
    // Serialised so that lines from the loading thread and the main thread never interleave.
    std::lock_guard<std::mutex> lock(LogMutex());
    const std::tm now = TimeSource() ? TimeSource()() : LocalNow();
    const std::string entry = FormatLogEntry(message, flags, now);
    std::FILE* file = std::fopen(kLogFileName, (flags & LOG_NEW_FILE) ? "wb" : "ab");
    if (!file) return;   // read-only folder or full disk: the message is lost, the game goes on
    std::fwrite(entry.data(), 1, entry.size(), file);
    std::fclose(file);
}
