#include "FuzzSupport.h"

#include "framework/core/Diagnostics.h"
#include "framework/ini/AtomicFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace Fuzz {

namespace {

std::string gFolder;

void RemoveWorkFolder() {
    std::error_code ec;
    fs::current_path(fs::temp_directory_path(ec), ec);
    fs::remove_all(gFolder, ec);
}

}  // namespace

const std::string& EnterWorkFolder() {
    if (!gFolder.empty()) return gFolder;
    std::error_code ec;
    const fs::path base = fs::is_directory("/dev/shm", ec) && access("/dev/shm", W_OK) == 0
                              ? fs::path("/dev/shm")
                              : fs::temp_directory_path(ec);
    std::string pattern = (base / "nookvale-fuzz.XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    gFolder = pattern;
    fs::current_path(gFolder);
    // Every log line of the readers is written and closed at once; here it goes nowhere.
    fs::create_symlink("/dev/null", fs::path(gFolder) / "applog.htm", ec);
    Orvane::SetDiagnosticHandler([](const std::string&) {});
    std::atexit(RemoveWorkFolder);
    return gFolder;
}

void Initialize(int* argc, char*** argv) {
    static std::vector<std::string> texts;
    static std::vector<char*> pointers;
    std::error_code ec;
    const fs::path started = fs::current_path(ec);
    bool artifactPrefix = false;
    texts.emplace_back((*argv)[0]);
    for (int i = 1; i < *argc; ++i) {
        const std::string arg = (*argv)[i];
        artifactPrefix = artifactPrefix || arg.rfind("-artifact_prefix=", 0) == 0;
        texts.push_back(arg.empty() || arg[0] == '-' ? arg : (started / arg).lexically_normal().string());
    }
    if (!artifactPrefix) texts.push_back("-artifact_prefix=" + started.string() + "/");
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    *argc = static_cast<int>(texts.size());
    *argv = pointers.data();
    EnterWorkFolder();
}

void PutFile(const std::string& name, std::string_view bytes) {
    const fs::path path = fs::path(EnterWorkFolder()) / name;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    if (!Orvane::AtomicWriteFile(path.string(), bytes)) std::abort();
}

void PutFile(const std::string& name, const uint8_t* data, size_t size) {
    PutFile(name, std::string_view(reinterpret_cast<const char*>(data), size));
}

void RemoveFile(const std::string& name) {
    std::error_code ec;
    fs::remove(fs::path(EnterWorkFolder()) / name, ec);
}

void CheckFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

uint8_t InputReader::Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

std::string_view InputReader::Piece(std::string_view separator) {
    const std::string_view rest = Remaining();
    const size_t at = rest.find(separator);
    if (at == std::string_view::npos) {
        pos_ = size_;
        return rest;
    }
    pos_ += at + separator.size();
    return rest.substr(0, at);
}

std::string_view InputReader::Rest() {
    const std::string_view rest = Remaining();
    pos_ = size_;
    return rest;
}

std::string_view InputReader::Remaining() const {
    const size_t pos = pos_ < size_ ? pos_ : size_;
    return std::string_view(reinterpret_cast<const char*>(data_) + pos, size_ - pos);
}

}  // namespace Fuzz
