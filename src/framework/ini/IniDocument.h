// An initialisation file in memory, read and changed the way the Windows profile functions do:
// section and key names match without regard to letter case, a write replaces a value in place
// or appends the key (and its section), and every other line (comments, blank lines, garbage)
// is kept byte for byte. Any bytes parse; nothing here touches the disk.
//
// The text is kept in one buffer and each line is a small record of positions in it, so a
// document costs its size plus a few bytes a line. Look-ups go through sorted hash tables
// built once per change: every query is logarithmic, every listing linear in the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Orvane {

// A value read as a string is cut to this many characters (a 255-byte buffer with terminator).
constexpr size_t kIniValueLimit = 254;

class IniDocument {
public:
    IniDocument() = default;
    // Texts of 2 GB or more do not fit the line records and give an empty document.
    static IniDocument Parse(std::string_view text);
    std::string Serialise() const;

    // The whole value of the first key of that name in the first section of that name that has
    // it; surrounding blanks and one pair of enclosing quotes removed. No length limit.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // As Find, cut at a zero byte and at maxLength; fallback when the key is missing.
    std::string GetString(std::string_view section, std::string_view key, std::string_view fallback = "",
                          size_t maxLength = kIniValueLimit) const;

    // Replaces the value in place or appends key (and section). False, with the document
    // unchanged, when the names or the value cannot be stored in the format (line breaks,
    // zero bytes, '=' in a key, ']' in a section name, an empty key).
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // Removes every line of that key in the matching sections; true when one was removed.
    bool Erase(std::string_view section, std::string_view key);

    // Distinct section names in file order (first spelling of each).
    std::vector<std::string> SectionNames() const;
    // Distinct keys of a section (all its occurrences, first wins) with their values, in order.
    std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;

    bool Empty() const { return lines_.empty(); }

private:
    static constexpr uint32_t kNone = UINT32_MAX;
    enum class Kind : uint8_t { Other, Section, Key };
    // A range of text_.
    struct Span {
        uint32_t start = 0;
        uint32_t length = 0;
    };
    struct Line {
        Span text;                // the bytes of the line without its line break
        uint32_t field = kNone;   // index into fields_ for sections and keys
        Kind kind = Kind::Other;
        bool crlf = false;        // ended with CR LF
    };
    struct Field {
        Span name;                  // section or key name, blanks trimmed
        Span value;                 // key value, trimmed and unquoted
        uint32_t section = kNone;   // the first header line of the section's name
    };
    // One sorted index entry: the hash of a lower-case name and the line it names.
    struct Slot {
        uint64_t hash = 0;
        uint32_t line = 0;
        uint32_t section = 0;   // the first header line of the section's name
        bool operator<(const Slot& other) const {
            return hash != other.hash ? hash < other.hash : line < other.line;
        }
    };
    std::string_view View(Span span) const { return std::string_view(text_).substr(span.start, span.length); }
    std::string_view NameOf(size_t line) const { return View(fields_[lines_[line].field].name); }
    std::string_view ValueOf(size_t line) const { return View(fields_[lines_[line].field].value); }

    // The record of a line already in text_: its kind, name and value.
    Line Classify(Span span, bool crlf, bool first = false);
    // Appends text to the buffer and classifies it; false when the buffer would grow too large.
    bool MakeLine(std::string_view text, bool crlf, Line& out);
    // Sorts the lines into sections and keys and rebuilds both indexes.
    void Reindex();
    // The header line that first spells the section's name, if the document has one.
    std::optional<uint32_t> FindSection(std::string_view section) const;
    std::optional<uint32_t> FindKeyLine(std::string_view section, std::string_view key) const;
    std::optional<uint32_t> FindKeyLine(uint32_t section, std::string_view key) const;
    size_t SectionEnd(size_t header) const;
    bool DefaultCrlf() const;

    std::string text_;            // every line's bytes, plus replaced ones after edits
    std::vector<Line> lines_;
    std::vector<Field> fields_;
    std::vector<Slot> sections_;   // one slot per header line
    std::vector<Slot> keys_;       // one slot per key line inside a section
    bool finalBreak_ = false;      // the text ended with a line break
};

}  // namespace Orvane
