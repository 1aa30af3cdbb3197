// Command-line switches: "-changedir=<folder>", "--help", "--version" and the accepted inert
// switches; anything else ends the program with a message.
#include "framework/app/OrvaneAppBase.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace Orvane {

namespace {

// The process's arguments after the program name, from the kernel's record of them.
std::vector<std::string> ProcessArguments() {
    std::vector<std::string> args;
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    if (!in) return args;
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\0', start);
        if (end == std::string::npos) end = all.size();
        args.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    if (!args.empty()) args.erase(args.begin());
    return args;
}

}  // namespace

void OrvaneAppBase::SetCommandLine(int argc, const char* const* argv) {
    mCommandArgs.clear();
    for (int i = 1; i < argc; ++i) mCommandArgs.emplace_back(argv[i] ? argv[i] : "");
    mCommandLineSet = true;
}

void OrvaneAppBase::ReadCommandLine() {
    mCommandLineParsed = true;
    const std::vector<std::string> args = mCommandLineSet ? mCommandArgs : ProcessArguments();
    // Rebuild one parameter string: the shell already split and unquoted the words, so a
    // word with a blank is quoted again to stay one parameter.
    std::string line;
    for (const std::string& arg : args) {
        if (!line.empty()) line += ' ';
        const bool quote = arg.find(' ') != std::string::npos;
        if (quote) line += '"';
        line += arg;
        if (quote) line += '"';
    }
    SplitCommandLine(line);
}

void OrvaneAppBase::SplitCommandLine(const std::string& parameters) {
    std::string name;
    std::string value;
    bool inQuote = false;
    bool onValue = false;
    auto finish = [&] {
        if (!name.empty()) ApplyCommandSwitch(name, value);
        name.clear();
        value.clear();
        onValue = false;
    };
    for (char c : parameters) {
        if (mShutdown) return;   // a refused switch ends the program
        if (c == '"') {
            inQuote = !inQuote;
        } else if (c == '=' && !onValue) {
            onValue = true;
        } else if (c == ' ' && !inQuote) {
            finish();
        } else if (onValue) {
            value += c;
        } else {
            name += c;
        }
    }
    if (!mShutdown) finish();
}

std::string OrvaneAppBase::UsageText() const {
    std::string program = mProductName;
    for (char& c : program) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string player = mFolderRules.playerFolderName.empty() ? program : mFolderRules.playerFolderName;
    return "Usage: " + program + " [-changedir=FOLDER]\n"
           "       " + program + " --help | --version\n"
           "\n"
           "Starts " + mProductName + " " + mProductVersion + ".\n"
           "\n"
           "  -changedir=FOLDER  use FOLDER as the game folder: its data is read from there\n"
           "                     and, when it can be written, the game's files go there too\n"
           "  --help             print this help and exit\n"
           "  --version          print the version and exit\n"
           "\n"
           "Installed, the game keeps config.ini, scores.ini, saved.ini and applog.htm in\n"
           "$XDG_DATA_HOME/" + player + " (~/.local/share/" + player + " when unset);\n"
           "run from a game folder it can write, it keeps them there.\n";
}

void OrvaneAppBase::ApplyCommandSwitch(const std::string& name, const std::string& value) {
    if (name == "-changedir") {
        mChangeDirTo = value;
        return;
    }
    if (name == "--help" || name == "--version") {
        const std::string text = name == "--help" ? UsageText() : mProductName + " " + mProductVersion + "\n";
        std::fputs(text.c_str(), stdout);
        ExitWithCode(0);
        mShutdown = true;   // only reached when a derived class keeps the process alive
        return;
    }
    // Accepted and without effect here: the screen-saver and crash-report switches and the
    // demo recording and playback switches.
    static const char* const kInert[] = {"-screensaver", "-crash", "-play", "-playnum",
                                         "-recnum", "-record", "-demofile"};
    for (const char* inert : kInert) {
        if (name == inert) return;
    }
    FatalMessage(GetString("INVALID_COMMANDLINE_PARAM_TITLE", mTitle),
                 GetString("INVALID_COMMANDLINE_PARAM", "Invalid command line parameter: ") + name,
                 kExitBadCommandLine);
}

}  // namespace Orvane
