#include "framework/ini/AtomicFile.h"

#include "framework/core/Diagnostics.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
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

// Writes everything, retrying short writes; the fault hook cuts the write short, as a full
// disk would.
bool WriteAll(int fd, std::string_view bytes, const std::optional<AtomicWriteFault>& fault) {
    size_t limit = bytes.size();
    const bool failWrite = fault && fault->stage == AtomicWriteFault::Stage::Write;
    if (failWrite && fault->bytesBeforeFailure < limit) limit = fault->bytesBeforeFailure;
    size_t done = 0;
    while (done < limit) {
        const ssize_t n = write(fd, bytes.data() + done, limit - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (failWrite) errno = ENOSPC;
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

// The folder and the file name of a path ("." for a bare name).
void SplitPath(const std::string& path, std::string& folder, std::string& base) {
    const size_t slash = path.find_last_of('/');
    folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    base = slash == std::string::npos ? path : path.substr(slash + 1);
}

// The temporary files of this writer: "." + the file's name + "." + six characters of mkstemp.
bool IsTemporaryOf(const std::string& entry, const std::string& base) {
    constexpr size_t kSuffix = 6;
    if (entry.size() != base.size() + 2 + kSuffix || entry[0] != '.') return false;
    if (entry.compare(1, base.size(), base) != 0 || entry[base.size() + 1] != '.') return false;
    for (size_t i = base.size() + 2; i < entry.size(); ++i) {
        const char c = entry[i];
        const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum) return false;
    }
    return true;
}

bool Fail(const std::string& path, int error) {
    Diagnose("WARNING: could not write '" + path + "' (" + std::strerror(error) + "); the file is unchanged");
    return false;
}

}  // namespace

void SetAtomicWriteFault(std::optional<AtomicWriteFault> fault) {
    std::lock_guard<std::mutex> lock(gFaultMutex);
    gFault = fault;
}

bool AtomicWriteFile(const std::string& path, std::string_view bytes) {
    const std::optional<AtomicWriteFault> fault = CurrentFault();
    const std::string target = ResolveTarget(path);
    std::string folder, base;
    SplitPath(target, folder, base);

    std::string temp = folder + "/." + base + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return Fail(path, errno);

    // Keep the permissions of the file being replaced; new files get the usual 0644.
    struct stat old {};
    const mode_t mode = stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    if (fchmod(fd, mode) != 0) {
        // Not fatal: the file keeps mkstemp's owner-only permissions.
    }
    // The first failure decides the reason reported; the old file stays in every case.
    using Stage = AtomicWriteFault::Stage;
    const auto failed = [](bool good) { return good ? 0 : (errno != 0 ? errno : EIO); };
    int error = failed(WriteAll(fd, bytes, fault));
    if (!error && fault && fault->stage == Stage::Sync) error = EIO;
    if (!error) error = failed(fsync(fd) == 0);
    const int closed = failed(close(fd) == 0);
    if (!error) error = closed;
    if (!error && fault && fault->stage == Stage::Rename) error = EIO;
    if (!error) error = failed(rename(temp.c_str(), target.c_str()) == 0);
    if (error) {
        unlink(temp.c_str());
        return Fail(path, error);
    }
    // Make the rename itself durable.
    const int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}

int RemoveStaleTemporaryFiles(const std::string& path) {
    std::string folder, base;
    SplitPath(ResolveTarget(path), folder, base);
    DIR* dir = opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (!IsTemporaryOf(name, base)) continue;
        const std::string stale = folder + "/" + name;
        struct stat st {};
        if (lstat(stale.c_str(), &st) == 0 && S_ISREG(st.st_mode) && unlink(stale.c_str()) == 0) ++removed;
    }
    closedir(dir);
    if (removed > 0) {
        Diagnose("Removed " + std::to_string(removed) + " unfinished temporary file(s) of '" + path +
                 "' left by an earlier run");
    }
    return removed;
}

}  // namespace Orvane
