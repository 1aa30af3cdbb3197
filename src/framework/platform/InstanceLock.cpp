#include "framework/platform/InstanceLock.h"

#include <cstdlib>
#include <string>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace Orvane {

InstanceLock::~InstanceLock() { Release(); }

std::string InstanceLock::LockFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) return runtime;
    return "/tmp";
}

bool InstanceLock::Acquire(const std::string& name) {
    if (fd_ >= 0) return true;
    std::string safe;
    for (char c : name) safe += (c == '/' || c == '\\') ? '_' : c;
    // The runtime folder is the user's own; in the shared /tmp the user's id keeps the locks
    // of two players on one machine apart.
    const std::string folder = LockFolder();
    if (folder == "/tmp") safe += "-" + std::to_string(getuid());
    const std::string path = folder + "/" + safe + ".lock";
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true;  // No place for a lock: never keep the player out because of it.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void InstanceLock::Release() {
    if (fd_ < 0) return;
    flock(fd_, LOCK_UN);
    close(fd_);
    fd_ = -1;
}

}  // namespace Orvane
