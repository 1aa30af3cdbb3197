#include "framework/platform/UrlFile.h"

#include "framework/core/Diagnostics.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace Orvane {

namespace {

constexpr std::streamoff kMaxShortcutBytes = 64 * 1024;

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

bool ReadInternetShortcut(const std::string& path, std::string& url) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    if (in.tellg() > kMaxShortcutBytes) return false;
    in.seekg(0, std::ios::beg);

    bool inSection = false;
    std::string line;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            inSection = close != std::string::npos &&
                        EqualsNoCase(Trim(line.substr(1, close - 1)), "InternetShortcut");
            continue;
        }
        if (!inSection) continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos || !EqualsNoCase(Trim(line.substr(0, eq)), "URL")) continue;
        url = Trim(line.substr(eq + 1));
        return !url.empty();
    }
    return false;
}

bool IsOpenableUrl(const std::string& url) {
    if (url.empty() || url.size() > 2048) return false;
    for (unsigned char c : url) {
        if (c < 0x20 || c == 0x7F) return false;
    }
    std::string lower;
    for (unsigned char c : url.substr(0, 8)) lower += static_cast<char>(std::tolower(c));
    return lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0 ||
           lower.rfind("mailto:", 0) == 0;
}

bool LaunchDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);

    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, args[0], &actions, &attr, args.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        Diagnose("Starting " + argv.front() + " ... FAILED");
        return false;
    }
    // The opener may live as long as the browser it starts: reap it on a thread of its own,
    // so that it never lingers as a zombie and nobody waits for it.
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

}  // namespace Orvane
