// Platform: the one interface through which the framework reaches the operating system.
// Two implementations exist: the SDL back-end for the real game and the headless back-end
// for tests, benchmarks and automated play. Nothing outside src/framework/platform/ includes
// a platform library directly.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Orvane {

class SettingsStore;

// One entry of a wildcard file search.
struct FindEntry {
    std::string name;         // file name without its folder
    uint64_t size = 0;
    uint64_t writeTime = 0;   // seconds since the epoch
    bool isDirectory = false;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Millisecond clock with 1 ms resolution (the fine clock of the frame loop and game time).
    virtual uint32_t TimeMs() = 0;
    // Coarse millisecond clock for the seconds-level timers.
    virtual uint32_t TickCount() = 0;
    virtual void SleepMs(uint32_t ms) = 0;

    // Wildcard search ('*' and '?', letters without regard to case) over one folder.
    // The pattern may use '\' or '/' separators, e.g. "Graphics\*.png". Names come back in
    // byte order of their names; "." and ".." are never returned.
    virtual std::vector<FindEntry> FindFiles(const std::string& pattern);

    // The per-user settings store under the application's registry key.
    virtual SettingsStore& Settings() = 0;

    // Single-instance lock named after the product. Returns false when another process
    // already holds it. Released by ReleaseInstanceLock or when the process ends.
    virtual bool AcquireInstanceLock(const std::string& name) = 0;
    virtual void ReleaseInstanceLock() = 0;
};

// The process-wide platform. Set once at start-up (or by a test fixture); until then a
// headless platform with the real clock answers.
Platform& GetPlatform();
void SetPlatform(Platform* platform);

}  // namespace Orvane
