// Typing the player's name into the row of a new score.
#include "engine/scores/CScores.h"

namespace {
constexpr uint32_t kBackspace = 8;
constexpr uint32_t kEnter = 13;
constexpr uint32_t kEscape = 27;
}  // namespace

void CScores::HandleNameKey(Orvane::WindowMessage record) {
    if (!nameEntryOn_ || entryRow_ < 0 || entryRow_ >= kRows) return;
    ScoreEntry& entry = Row(entryRow_);
    const size_t length = entry.NameLength();

    if (record.message == Orvane::WM_KEYDOWN) {
        const uint32_t key = record.wParam & 0xFF;
        if (key == kEscape) {
            // Back to the saved table: the new, unnamed entry is dropped.
            nameEntryOn_ = 0;
            Load();
        } else if (key == kEnter) {
            if (length == 0) return;
            nameEntryOn_ = 0;
            Save();
        } else if (key == kBackspace) {
            if (length > 0) entry.name[length - 1] = '\0';
        }
        return;
    }
    if (record.message == Orvane::WM_CHAR) {
        const char c = static_cast<char>(record.wParam & 0xFF);
        // A zero byte would end the name where it stands: nothing to add.
        if (c == '\0' || c == static_cast<char>(kBackspace) || c == static_cast<char>(kEnter)) return;
        if (length >= ScoreEntry::kMaxNameLength) return;
        entry.name[length] = c;
        entry.name[length + 1] = '\0';
    }
}
