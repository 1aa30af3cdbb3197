#include "framework/ini/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace Orvane {

namespace {

std::mutex gFaultMutex;
std::optional<AtomicWriteFault> gFault;

std::optional<AtomicWriteFault> CurrentFault() {
    std::lock_guard<std::mutex> lock(gFaultMutex);
    return gFault;
}

// Writes everything, retrying short writes; the fault hook cuts the write short.
bool WriteAll(int fd, std::string_view bytes, const std::optional<AtomicWriteFault>& fault) {
    size_t limit = bytes.size();
    const bool failWrite = fault && fault->stage == AtomicWriteFault::Stage::Write;
    if (failWrite && fault->bytesBeforeFailure < limit) limit = fault->bytesBeforeFailure;
    size_t done = 0;
    while (done < limit) {
        const ssize_t n = write(fd, bytes.data() + done, limit - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return !failWrite;
}

// A symbolic link is kept: its target is what gets replaced.
std::string ResolveTarget(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = realpath(path.c_str(), nullptr)) {
            std::string target = real;
            std::free(real);
            return target;
        }
    }
    return path;
}

}  // namespace

void SetAtomicWriteFault(std::optional<AtomicWriteFault> fault) {
    std::lock_guard<std::mutex> lock(gFaultMutex);
    gFault = fault;
}

bool AtomicWriteFile(const std::string& path, std::string_view bytes) {
    const std::optional<AtomicWriteFault> fault = CurrentFault();
    const std::string target = ResolveTarget(path);
    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

    std::string temp = folder + "/." + base + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return false;

    // Keep the permissions of the file being replaced; new files get the usual 0644.
    struct stat old {};
    const mode_t mode = stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    if (fchmod(fd, mode) != 0) {
        // Not fatal: the file keeps mkstemp's owner-only permissions.
    }
    bool ok = WriteAll(fd, bytes, fault);
    if (ok && fault && fault->stage == AtomicWriteFault::Stage::Sync) ok = false;
    if (ok) ok = fsync(fd) == 0;
    if (close(fd) != 0) ok = false;
    if (ok && fault && fault->stage == AtomicWriteFault::Stage::Rename) ok = false;
    if (ok) ok = rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}

}  // namespace Orvane
