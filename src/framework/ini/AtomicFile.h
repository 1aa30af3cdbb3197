// Replacing a file so that a crash, a full disk or a failed write never leaves it half
// written: the new content goes to a temporary file in the same folder, is flushed to the
// disk, and is renamed over the old file. On any failure the old file stays as it was.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace Orvane {

bool AtomicWriteFile(const std::string& path, std::string_view bytes);

// Test hook: simulates a failing disk in every later AtomicWriteFile of the process.
struct AtomicWriteFault {
    enum class Stage { Write, Sync, Rename };
    Stage stage = Stage::Write;
    size_t bytesBeforeFailure = 0;   // for Stage::Write: how much reaches the temporary file
};
void SetAtomicWriteFault(std::optional<AtomicWriteFault> fault);

}  // namespace Orvane
