#include "engine/text/SymbolFont.h"

#include "engine/log/Log.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// A whole decimal integer as "%d" reads it: leading blanks, a sign, at least one digit; what
// follows the digits is ignored.
bool ParseLeadingInt(const std::string& text, int& out) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(begin, &end, 10);
    if (end == begin || errno == ERANGE || value < -2147483647L || value > 2147483647L) {
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

// A number as "%f" reads it; non-finite values are refused, they would poison every layout.
bool ParseLeadingFloat(const std::string& text, float& out) {
    const char* begin = text.c_str();
    char* end = nullptr;
    float value = std::strtof(begin, &end);
    if (end == begin || !std::isfinite(value)) return false;
    out = value;
    return true;
}

}  // namespace

SymbolFont::SymbolFont() { SetList(""); }

void SymbolFont::SetList(std::string list) {
    if (list.size() > static_cast<size_t>(kMaxSymbols)) list.resize(kMaxSymbols);
    list_ = std::move(list);
    index_.fill(-1);
    // The first position of a character wins.
    for (size_t i = list_.size(); i-- > 0;) {
        index_[static_cast<unsigned char>(list_[i])] = static_cast<int16_t>(i);
    }
}

void SymbolFont::Load(const TextLookup& lookup) {
    SetList(lookup("SymbolList"));
    ReadGrid(lookup);
    if (widthsLoaded_) return;
    ReadWidths(lookup);
    widthsLoaded_ = true;
}

void SymbolFont::ReadGrid(const TextLookup& lookup) {
    int columns = 0;
    int rows = 0;
    if (!ParseLeadingInt(lookup("SYMBOLS_IN_ROW"), columns) ||
        !ParseLeadingInt(lookup("SYMBOLS_IN_COL"), rows)) {
        return;   // missing or malformed: the grid stays as it is
    }
    if (columns < 1 || rows < 1 ||
        static_cast<long long>(columns) * rows > static_cast<long long>(kMaxSymbols)) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "WARNING: symbol font grid %d x %d in 'language.ini' refused, keeping %d x %d",
                      columns, rows, columns_, rows_);
        LogWrite(line, 0);
        return;
    }
    columns_ = columns;
    rows_ = rows;
}

std::string SymbolFont::WidthKey(int row) {
    char key[32];
    std::snprintf(key, sizeof key, row < 10 ? "Line0%d_Width" : "Line%d_Width", row);
    return key;
}

void SymbolFont::ReadWidths(const TextLookup& lookup) {
    for (int row = 1; row <= rows_; ++row) {
        // The row's text split at every ',': "8,,12" has an empty second piece, which is not
        // a number; an empty text has no pieces at all.
        const std::string line = lookup(WidthKey(row));
        size_t pos = 0;
        for (int column = 0; column < columns_ && pos <= line.size() && !line.empty(); ++column) {
            size_t comma = line.find(',', pos);
            if (comma == std::string::npos) comma = line.size();
            const std::string piece = line.substr(pos, comma - pos);
            pos = comma + 1;
            float value = 0.0f;
            if (!ParseLeadingFloat(piece, value)) {
                LogWrite("Can't load symbol width from 'language.ini'", 0);
                break;
            }
            widths_[static_cast<size_t>((row - 1) * columns_ + column)] = value * 0.0625f;
        }
    }
}

float SymbolFont::Width(int index) const {
    if (index < 0 || index >= kMaxSymbols) return 0.0f;
    return widths_[static_cast<size_t>(index)];
}

UvWindow SymbolFont::GlyphWindow(int index) const {
    const int column = index % columns_;
    const int row = index / columns_;
    const float cols = static_cast<float>(columns_);
    const float rows = static_cast<float>(rows_);
    return UvWindow{static_cast<float>(column) / cols,
                    (static_cast<float>(row) + 0.08f) / rows,
                    (static_cast<float>(column) + 1.0f - 0.06f) / cols,
                    (static_cast<float>(row) + 1.0f) / rows};
}

float TextLayout::AlignOffset(int flags) const {
    if (flags & 2) return -total;
    if (flags & 1) return -total * 0.5f;
    return 0.0f;
}

void LayoutText(const SymbolFont& font, std::string_view text, float gw, TextLayout& out) {
    if (text.size() > SymbolFont::kMaxTextLength) text = text.substr(0, SymbolFont::kMaxTextLength);
    const float half = gw * 0.5f;
    out.count = static_cast<int>(text.size());
    out.total = 0.0f;

    std::array<float, SymbolFont::kMaxTextLength> advance{};
    for (int i = 0; i < out.count; ++i) {
        const int k = font.IndexOf(static_cast<unsigned char>(text[static_cast<size_t>(i)]));
        out.glyphs[static_cast<size_t>(i)].index = k;
        advance[static_cast<size_t>(i)] = k < 0 ? half : font.Width(k) * gw;
        out.total += advance[static_cast<size_t>(i)];
    }

    float pen = 0.0f;
    for (int i = 0; i < out.count; ++i) {
        auto& glyph = out.glyphs[static_cast<size_t>(i)];
        if (glyph.index < 0) {
            pen += half;
        } else if (i == 0) {
            pen += advance[0] * 0.5f;
        } else {
            pen += advance[static_cast<size_t>(i - 1)] * 0.5f +
                   advance[static_cast<size_t>(i)] * 0.5f;
        }
        glyph.centre = pen;
    }
}
