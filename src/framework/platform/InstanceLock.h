// Single-instance lock: an advisory flock on a file in $XDG_RUNTIME_DIR (or /tmp).
#pragma once

#include <string>

namespace Orvane {

class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another process holds the lock of this name.
    bool Acquire(const std::string& name);
    void Release();
    bool Held() const { return fd_ >= 0; }

    // Folder in which lock files live.
    static std::string LockFolder();

private:
    int fd_ = -1;
};

}  // namespace Orvane
