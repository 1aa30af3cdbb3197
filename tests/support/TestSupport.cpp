#include "support/TestSupport.h"
#include "support/ProcessStatus.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace TestSupport {

ScopedTempDir::ScopedTempDir() {
    std::string templ = (fs::temp_directory_path() / "nookvale-test-XXXXXX").string();
    char* made = mkdtemp(templ.data());
    path_ = made ? made : templ;
}

ScopedTempDir::~ScopedTempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

ScopedCwd::ScopedCwd(const std::string& path) {
    previous_ = fs::current_path().string();
    fs::current_path(path);
}

ScopedCwd::~ScopedCwd() {
    std::error_code ec;
    fs::current_path(previous_, ec);
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    return WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool FileExists(const std::string& path) { return fs::exists(path); }

std::string GameDir() {
    const char* dir = std::getenv("NOOKVALE_GAME_DIR");
    return dir ? dir : "";
}

std::string SourceDir() {
    const char* dir = std::getenv("NOOKVALE_SOURCE_DIR");
    return dir ? dir : "";
}

WorkCost MeasureCost(const std::function<void()>& work) {
    // Writing 5 to clear_refs sets the peak back to the present resident size.
    bool reset = false;
    {
        std::ofstream clear("/proc/self/clear_refs");
        reset = static_cast<bool>(clear << "5" << std::flush);
    }
    const long before = reset ? StatusKilobytes("VmRSS") : StatusKilobytes("VmHWM");
    const auto start = std::chrono::steady_clock::now();
    work();
    WorkCost cost;
    cost.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cost.peakMegabytes = std::max(0L, StatusKilobytes("VmHWM") - before) / 1024.0;
    return cost;
}

}  // namespace TestSupport
