// Keeping the tables: the block in "scores.ini", clearing, choosing a table.
#include "engine/scores/CScores.h"

#include "engine/config/Config.h"

#include <cstring>
#include <vector>

namespace {

constexpr const char* kSection = "HIGH SCORES";
constexpr const char* kKey = "Data";

void Serialise(const std::array<ScoreEntry, 100>& entries, std::vector<uint8_t>& block) {
    block.assign(CScores::kBlockBytes, 0);
    uint8_t* p = block.data();
    for (const ScoreEntry& e : entries) {
        std::memcpy(p, e.name.data(), ScoreEntry::kNameBytes);
        p += ScoreEntry::kNameBytes;
        for (int shift = 0; shift < 32; shift += 8) *p++ = static_cast<uint8_t>(e.score >> shift);
    }
}

void Deserialise(const std::vector<uint8_t>& block, std::array<ScoreEntry, 100>& entries) {
    const uint8_t* p = block.data();
    for (ScoreEntry& e : entries) {
        std::memcpy(e.name.data(), p, ScoreEntry::kNameBytes);
        p += ScoreEntry::kNameBytes;
        e.score = 0;
        for (int shift = 0; shift < 32; shift += 8) e.score |= static_cast<uint32_t>(*p++) << shift;
    }
}

}  // namespace

static_assert(CScores::kBlockBytes == 3600, "the block of scores.ini holds 100 records of 36 bytes");

size_t ScoreEntry::NameLength() const { return strnlen(name.data(), kNameBytes); }

std::string ScoreEntry::Name() const { return std::string(name.data(), NameLength()); }

CScores::CScores() = default;

CScores::~CScores() = default;

const ScoreEntry& CScores::Entry(int table, int row) const {
    static const ScoreEntry kEmpty{};
    if (table < 0 || table >= kTables || row < 0 || row >= kRows) return kEmpty;
    return entries_[static_cast<size_t>(table * kRows + row)];
}

void CScores::ZeroAll() { entries_.fill(ScoreEntry{}); }

bool CScores::Load() {
    std::vector<uint8_t> block(kBlockBytes, 0);
    if (!IniGetStruct(kSection, kKey, block.data(), block.size(), kFileName)) {
        // Damaged or missing: empty tables. The next save writes a sound file again.
        ZeroAll();
        return false;
    }
    Deserialise(block, entries_);
    return true;
}

bool CScores::Save() {
    std::vector<uint8_t> block;
    Serialise(entries_, block);
    return IniSetStruct(kSection, kKey, block.data(), block.size(), kFileName);
}

void CScores::Clear() {
    ZeroAll();
    Save();
}

void CScores::SelectTable(int mode) {
    if (static_cast<unsigned>(mode) < static_cast<unsigned>(kTables)) currentTable_ = mode;
}
