// Entering a new score into the current table.
#include "engine/scores/CScores.h"

#include <cstring>

namespace {

// Copies a name as a zero-terminated text: the bytes up to and including the terminator;
// the destination's bytes after it stay as they were.
void CopyName(const ScoreEntry& from, ScoreEntry& to) {
    const size_t length = from.NameLength();
    std::memcpy(to.name.data(), from.name.data(), length);
    if (length < ScoreEntry::kNameBytes) to.name[length] = '\0';
}

}  // namespace

bool CScores::AddScore(uint32_t score) {
    // The best row whose score the new one beats; equal scores are not beaten, so a new
    // score goes below every row with the same score.
    entryRow_ = kRows;
    for (int row = kRows - 1; row >= 0; --row) {
        if (score > Row(row).score) entryRow_ = row;
    }
    if (entryRow_ == kRows) return false;

    for (int row = kRows - 2; row >= entryRow_; --row) {
        CopyName(Row(row), Row(row + 1));
        Row(row + 1).score = Row(row).score;
    }
    ScoreEntry& entry = Row(entryRow_);
    entry.name[0] = '\0';
    entry.score = score;
    nameEntryOn_ = 1;
    return true;
}
