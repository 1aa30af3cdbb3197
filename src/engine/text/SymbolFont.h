// SymbolFont: the table of the game's bitmap font and the layout of one line of text.
// The font image holds the characters in a regular grid of cells; language.ini lists the
// characters in cell order ("SymbolList"), the grid size ("SYMBOLS_IN_ROW", "SYMBOLS_IN_COL")
// and the advance width of every cell in sixteenths of a cell ("Line01_Width", ...). This file
// knows nothing of drawing: the sprite registry draws the glyphs it places.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// A window of a picture in fractions of its width and height.
struct UvWindow {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

class SymbolFont {
public:
    // The width table has room for this many cells, and the list for this many characters.
    static constexpr int kMaxSymbols = 255;
    static constexpr int kDefaultColumns = 16;
    static constexpr int kDefaultRows = 8;
    // Texts longer than this are cut.
    static constexpr size_t kMaxTextLength = 255;

    // Looks up a text of language.ini by key ("" when missing).
    using TextLookup = std::function<std::string(const std::string& key)>;

    SymbolFont();

    // Reads the character list and the grid size, then, the first time only, the widths.
    // A grid that is malformed, empty or larger than the width table keeps the old size.
    void Load(const TextLookup& lookup);

    // The width key of grid row r (rows counted from 1): "Line01_Width" ... "Line10_Width".
    static std::string WidthKey(int row);

    // Index of the character (its first position in the list), or -1 when absent.
    int IndexOf(unsigned char c) const { return index_[c]; }
    // Advance width of a cell in cells (the file's value / 16); 0 for an unknown index.
    float Width(int index) const;
    // The cell of index inside the grid with the glyph inset (top 8 %, right 6 % of a cell).
    UvWindow GlyphWindow(int index) const;
    // Whether index names a cell of the grid (list entries beyond the grid have no picture).
    bool InGrid(int index) const { return index >= 0 && index < columns_ * rows_; }

    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    bool WidthsLoaded() const { return widthsLoaded_; }
    const std::string& SymbolList() const { return list_; }

private:
    void SetList(std::string list);
    void ReadGrid(const TextLookup& lookup);
    void ReadWidths(const TextLookup& lookup);

    std::string list_;
    std::array<int16_t, 256> index_{};
    std::array<float, kMaxSymbols> widths_{};
    int columns_ = kDefaultColumns;
    int rows_ = kDefaultRows;
    bool widthsLoaded_ = false;
};

// One line laid out by the pen rule: where each character's box is centred, relative to the
// line's origin before alignment.
struct TextLayout {
    struct Glyph {
        int index = -1;        // -1: absent character, nothing drawn
        float centre = 0.0f;   // pen position of the glyph's centre
    };
    std::array<Glyph, SymbolFont::kMaxTextLength> glyphs{};
    int count = 0;
    float total = 0.0f;        // the sum of all advances

    // Offset of the line's origin for the alignment flags (1 centre, 2 right; 3 is right).
    float AlignOffset(int flags) const;
};

// Lays out text (cut to kMaxTextLength) with glyph boxes gw wide. A present character advances
// by its width x gw, an absent one by gw / 2; each glyph is centred on the middle of its advance,
// and around absent characters the same rule still takes half of the previous advance.
void LayoutText(const SymbolFont& font, std::string_view text, float gw, TextLayout& out);
