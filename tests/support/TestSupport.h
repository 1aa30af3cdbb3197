// Small helpers shared by the test programs: temporary folders and whole-file I/O.
#pragma once

#include "support/GameFolder.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace TestSupport {

// A fresh folder under the system's temporary folder, removed with its contents at the end.
class ScopedTempDir {
public:
    ScopedTempDir();
    ~ScopedTempDir();
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Changes the working folder for the lifetime of the object.
class ScopedCwd {
public:
    explicit ScopedCwd(const std::string& path);
    ~ScopedCwd();
    ScopedCwd(const ScopedCwd&) = delete;
    ScopedCwd& operator=(const ScopedCwd&) = delete;

private:
    std::string previous_;
};

bool WriteFile(const std::string& path, const std::string& bytes);
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// The built game folder (build/game) and the source tree, from the test environment.
std::string GameDir();
std::string SourceDir();

// What a piece of work cost: its wall time and how far it raised the process's peak resident
// memory. The peak is reset before the work where the kernel allows it, so earlier tests do
// not hide it. Meant for loose bounds on hostile inputs, never for timing.
struct WorkCost {
    double seconds = 0.0;
    double peakMegabytes = 0.0;
};
WorkCost MeasureCost(const std::function<void()>& work);

}  // namespace TestSupport
