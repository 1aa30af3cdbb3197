// An initialisation file in memory, read and changed the way the Windows profile functions do:
// section and key names match without regard to letter case, a write replaces a value in place
// or appends the key (and its section), and every other line (comments, blank lines, garbage)
// is kept byte for byte. Any bytes parse; nothing here touches the disk.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Orvane {

// A value read as a string is cut to this many characters (a 255-byte buffer with terminator).
constexpr size_t kIniValueLimit = 254;

class IniDocument {
public:
    IniDocument() = default;
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
    enum class Kind { Other, Section, Key };
    struct Line {
        std::string text;     // the bytes of the line without its line break
        bool crlf = false;    // ended with CR LF
        Kind kind = Kind::Other;
        std::string name;     // section or key name, blanks trimmed
        std::string value;    // key value, trimmed and unquoted
    };

    static Line Classify(std::string text, bool crlf, bool first = false);
    // Index range [begin, end) of the lines belonging to the section header at `header`.
    size_t SectionEnd(size_t header) const;
    std::optional<size_t> FindKeyLine(std::string_view section, std::string_view key) const;
    bool DefaultCrlf() const;
    // Rebuilt after every change, so a shared const document is safe to read from any thread.
    void Reindex();

    std::vector<Line> lines_;
    std::unordered_map<std::string, size_t> index_;   // "section\nkey" in lower case -> first line
    bool finalBreak_ = false;   // the text ended with a line break
};

}  // namespace Orvane
