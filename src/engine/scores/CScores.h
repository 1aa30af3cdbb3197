// CScores: the high-score tables, ten rows for each of ten tables (one per game mode; modes
// 3..9 are kept but unused). The tables live in "scores.ini" as one checksummed block of
// 100 records of 36 bytes (a 32-byte name, a little-endian 32-bit score). A new score that
// enters the current table waits for its player's name, typed through key records; Enter
// saves the table, Escape returns to the saved one.
#pragma once

#include "framework/platform/WindowMessage.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

struct ScoreEntry {
    static constexpr size_t kNameBytes = 32;
    static constexpr size_t kMaxNameLength = 16;   // characters that typing may enter
    static constexpr size_t kBytes = kNameBytes + 4;

    // A zero-terminated name; bytes after the terminator are kept as they are.
    std::array<char, kNameBytes> name{};
    uint32_t score = 0;

    // The name up to its terminator (all 32 bytes when it has none).
    std::string Name() const;
    size_t NameLength() const;
};

class CScores {
public:
    static constexpr int kTables = 10;
    static constexpr int kRows = 10;
    static constexpr size_t kBlockBytes = kTables * kRows * ScoreEntry::kBytes;   // 3600
    static constexpr uint32_t kEntryColour = 0xFFFF5555;   // the row being named
    static constexpr uint32_t kRowColour = 0xFFFFFFFF;

    // Draws one line of text (x, y, height in screen fractions, colour, text flags, text).
    using TextDrawer = std::function<void(float x, float y, float height, uint32_t colour,
                                          int flags, const std::string& text)>;

    CScores();
    virtual ~CScores();

    // Reads the tables from "scores.ini"; on any failure all tables are zero and false.
    bool Load();
    bool Save();
    // Zeroes all tables and saves them.
    void Clear();
    // Chooses the table of a game mode (0..9); other values are ignored.
    void SelectTable(int mode);
    // Enters score into the current table; true when it did (the row then waits for a name).
    bool AddScore(uint32_t score);
    // Name entry: typed characters, Backspace, Enter (keep), Escape (drop).
    void HandleNameKey(Orvane::WindowMessage record);
    // Draws the current table: rows at top + k * lineStep * 1.25 (k = 1..10), each with its
    // rank at xRank, name at xName and score at xScore, all lineStep high. The first form
    // draws with the process-wide sprite registry's DrawText, the second through draw.
    void DrawTable(float top, float lineStep, float xRank, float xName, float xScore);
    void DrawTable(float top, float lineStep, float xRank, float xName, float xScore,
                   const TextDrawer& draw);

    int CurrentTable() const { return currentTable_; }
    bool NameEntryOn() const { return nameEntryOn_ != 0; }
    int EntryRow() const { return entryRow_; }
    // Row of a table; outside the tables an empty entry.
    const ScoreEntry& Entry(int table, int row) const;

    static constexpr const char* kFileName = "scores.ini";

private:
    ScoreEntry& Row(int row) { return entries_[currentTable_ * kRows + row]; }
    void ZeroAll();

    std::array<ScoreEntry, kTables * kRows> entries_{};
    int currentTable_ = 0;
    int nameEntryOn_ = 0;
    int entryRow_ = 0;
};
