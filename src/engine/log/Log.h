// The diagnostic log "applog.htm" in the working folder: one HTML fragment line per message,
// time-stamped, warnings and failures in bold red. Each call opens, writes and closes the
// file, so the log is complete at any moment.
#pragma once

#include <ctime>
#include <functional>
#include <string>

enum LogFlags {
    LOG_NEW_FILE = 1,   // start a new, empty log
    LOG_STARS = 4,      // frame the message with rows of asterisks
    LOG_NO_BREAK = 8,   // do not end the line with <BR>
};

void LogWrite(const char* message, int flags = 0);
inline void LogWrite(const std::string& message, int flags = 0) { LogWrite(message.c_str(), flags); }

// The wall-clock time stamped on each line; empty means the local clock. Tests set a fixed time.
using LogTimeSource = std::function<std::tm()>;
void SetLogTimeSource(LogTimeSource source);

// One message exactly as LogWrite appends it to the file.
std::string FormatLogEntry(const char* message, int flags, const std::tm& time);
