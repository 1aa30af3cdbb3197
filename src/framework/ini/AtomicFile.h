// Replacing a file so that a crash, a full disk or a failed write never leaves it half
// written: the new content goes to a temporary file in the same folder (".<name>.XXXXXX"), is
// flushed to the disk, and is renamed over the old file. On any failure the old file stays as
// it was and a WARNING line names the file and the reason. A process killed in the middle
// leaves its temporary file behind; the next start removes it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace Orvane {

bool AtomicWriteFile(const std::string& path, std::string_view bytes);

// Removes the temporary files that writes of path left when their process ended before the
// rename; the number removed (a line reports them). Only while nothing else writes the file.
int RemoveStaleTemporaryFiles(const std::string& path);

// Test hook: simulates a failing disk in every later AtomicWriteFile of the process (a short
// write fails as a full disk does).
struct AtomicWriteFault {
    enum class Stage { Write, Sync, Rename };
    Stage stage = Stage::Write;
    size_t bytesBeforeFailure = 0;   // for Stage::Write: how much reaches the temporary file
};
void SetAtomicWriteFault(std::optional<AtomicWriteFault> fault);

}  // namespace Orvane
