#include "framework/ini/IniDocument.h"

#include <algorithm>
#include <cctype>

namespace Orvane {

namespace {

// Line positions are 32-bit; a document stays well below that even after many edits.
constexpr size_t kMaxTextBytes = size_t{1} << 31;
// Room for the lines a few writes add, so that editing a large document does not copy it.
constexpr size_t kSpareLines = 16;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

unsigned char Lower(char c) { return static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c))); }

bool SameName(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

// FNV-1a of the trimmed, lower-case name, started from seed.
uint64_t NameHash(std::string_view name, uint64_t seed = 0) {
    uint64_t h = 0xcbf29ce484222325ull ^ (seed * 0x9E3779B97F4A7C15ull);
    for (char c : Trim(name)) {
        h ^= Lower(c);
        h *= 0x100000001b3ull;
    }
    return h;
}

uint64_t KeyHash(uint32_t section, std::string_view key) { return NameHash(key, uint64_t{section} + 1); }

bool HasAny(std::string_view s, std::string_view chars) { return s.find_first_of(chars) != std::string_view::npos; }

}  // namespace

IniDocument::Line IniDocument::Classify(Span span, bool crlf, bool first) {
    Line line;
    line.text = span;
    line.crlf = crlf;
    const std::string_view whole = View(span);
    std::string_view t = whole;
    // Editors often start a file with a UTF-8 byte-order mark; it is kept but not parsed.
    if (first && t.substr(0, 3) == "\xEF\xBB\xBF") t.remove_prefix(3);
    t = Trim(t);
    auto spanOf = [&](std::string_view part) {
        return Span{span.start + static_cast<uint32_t>(part.data() - whole.data()), static_cast<uint32_t>(part.size())};
    };
    Field field;
    if (!t.empty() && t.front() == '[') {
        const size_t close = t.rfind(']');
        if (close == std::string_view::npos) return line;
        line.kind = Kind::Section;
        field.name = spanOf(Trim(t.substr(1, close - 1)));
    } else if (!t.empty() && t.front() != ';') {
        const size_t eq = t.find('=');
        if (eq == std::string_view::npos || Trim(t.substr(0, eq)).empty()) return line;
        line.kind = Kind::Key;
        field.name = spanOf(Trim(t.substr(0, eq)));
        std::string_view value = Trim(t.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        field.value = spanOf(value);
    } else {
        return line;
    }
    line.field = static_cast<uint32_t>(fields_.size());
    fields_.push_back(field);
    return line;
}

bool IniDocument::MakeLine(std::string_view text, bool crlf, Line& out) {
    if (text_.size() + text.size() >= kMaxTextBytes) return false;
    const Span span{static_cast<uint32_t>(text_.size()), static_cast<uint32_t>(text.size())};
    text_.append(text);
    out = Classify(span, crlf);
    return true;
}

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    if (text.size() >= kMaxTextBytes) return doc;
    doc.text_.assign(text);
    doc.lines_.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1 + kSpareLines);
    size_t start = 0;
    while (start < text.size()) {
        const size_t nl = text.find('\n', start);
        const size_t end = nl == std::string_view::npos ? text.size() : nl;
        const bool crlf = nl != std::string_view::npos && end > start && text[end - 1] == '\r';
        const size_t length = end - start - (crlf ? 1 : 0);
        doc.lines_.push_back(
            doc.Classify(Span{static_cast<uint32_t>(start), static_cast<uint32_t>(length)}, crlf, start == 0));
        if (nl == std::string_view::npos) break;
        start = nl + 1;
    }
    doc.finalBreak_ = !text.empty() && text.back() == '\n';
    doc.Reindex();
    return doc;
}

std::string IniDocument::Serialise() const {
    std::string out;
    out.reserve(text_.size() + lines_.size());
    for (size_t i = 0; i < lines_.size(); ++i) {
        out += View(lines_[i].text);
        if (i + 1 < lines_.size() || finalBreak_) out += lines_[i].crlf ? "\r\n" : "\n";
    }
    return out;
}

void IniDocument::Reindex() {
    // Sections: every header under the hash of its name; the first header of a name (in file
    // order) is the identity that all later headers of that name share.
    sections_.clear();
    keys_.clear();
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Kind::Section) continue;
        const auto line = static_cast<uint32_t>(i);
        sections_.push_back(Slot{NameHash(NameOf(i)), line, line});
    }
    std::sort(sections_.begin(), sections_.end());
    for (size_t run = 0; run < sections_.size();) {
        size_t end = run + 1;
        while (end < sections_.size() && sections_[end].hash == sections_[run].hash) ++end;
        for (size_t j = run; j < end; ++j) {
            for (size_t k = run; k < j; ++k) {
                if (SameName(NameOf(sections_[k].line), NameOf(sections_[j].line))) {
                    sections_[j].section = sections_[k].section;
                    break;
                }
            }
            fields_[lines_[sections_[j].line].field].section = sections_[j].section;
        }
        run = end;
    }
    // Keys: under the hash of their section's identity and their name; first line wins.
    uint32_t current = kNone;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& l = lines_[i];
        if (l.kind == Kind::Section) {
            current = fields_[l.field].section;
        } else if (l.kind == Kind::Key) {
            fields_[l.field].section = current;
            if (current != kNone) keys_.push_back(Slot{KeyHash(current, NameOf(i)), static_cast<uint32_t>(i), current});
        }
    }
    std::sort(keys_.begin(), keys_.end());
}

std::optional<uint32_t> IniDocument::FindSection(std::string_view section) const {
    const uint64_t h = NameHash(section);
    auto it = std::lower_bound(sections_.begin(), sections_.end(), Slot{h, 0, 0});
    for (; it != sections_.end() && it->hash == h; ++it) {
        if (SameName(NameOf(it->line), section)) return it->section;
    }
    return std::nullopt;
}

std::optional<uint32_t> IniDocument::FindKeyLine(uint32_t section, std::string_view key) const {
    const uint64_t h = KeyHash(section, key);
    auto it = std::lower_bound(keys_.begin(), keys_.end(), Slot{h, 0, 0});
    for (; it != keys_.end() && it->hash == h; ++it) {
        if (it->section == section && SameName(NameOf(it->line), key)) return it->line;
    }
    return std::nullopt;
}

std::optional<uint32_t> IniDocument::FindKeyLine(std::string_view section, std::string_view key) const {
    const auto identity = FindSection(section);
    if (!identity) return std::nullopt;
    return FindKeyLine(*identity, key);
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
    const auto line = FindKeyLine(section, key);
    if (!line) return std::nullopt;
    return std::string(ValueOf(*line));
}

std::string IniDocument::GetString(std::string_view section, std::string_view key, std::string_view fallback,
                                   size_t maxLength) const {
    const auto line = FindKeyLine(section, key);
    std::string_view value = line ? ValueOf(*line) : fallback;
    value = value.substr(0, value.find('\0'));
    return std::string(value.substr(0, maxLength));
}

size_t IniDocument::SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::Section) ++i;
    return i;
}

bool IniDocument::DefaultCrlf() const { return !lines_.empty() && lines_.front().crlf; }

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    using namespace std::string_view_literals;
    const std::string_view k = Trim(key);
    const std::string_view s = Trim(section);
    if (k.empty() || HasAny(k, "=\r\n\0"sv) || k.front() == '[' || k.front() == ';') return false;
    if (HasAny(s, "]\r\n\0"sv) || HasAny(value, "\r\n\0"sv)) return false;

    const auto identity = FindSection(section);
    if (const auto existing = identity ? FindKeyLine(*identity, key) : std::nullopt) {
        // The key keeps the spelling it has in the file, at the same line: the indexes stay right.
        Line& old = lines_[*existing];
        const uint32_t field = old.field;
        const uint32_t sectionId = fields_[field].section;
        Line replaced;
        if (!MakeLine(std::string(NameOf(*existing)) + "=" + std::string(value), old.crlf, replaced)) return false;
        // The new line brought a field of its own; it takes the old one's place.
        fields_[field] = fields_[replaced.field];
        fields_[field].section = sectionId;
        fields_.pop_back();
        replaced.field = field;
        old = replaced;
        return true;
    }
    const bool crlf = DefaultCrlf();
    Line added;
    if (!MakeLine(std::string(k) + "=" + std::string(value), crlf, added)) return false;
    // A last line without a break gets one of the file's style before anything follows it.
    if (!finalBreak_ && !lines_.empty()) lines_.back().crlf = crlf;
    if (identity) {
        // After the section's last non-blank line, so blank separators stay before the next one.
        size_t at = SectionEnd(*identity);
        while (at > *identity + 1 && Trim(View(lines_[at - 1].text)).empty()) --at;
        lines_.insert(lines_.begin() + static_cast<long>(at), added);
        if (at == lines_.size() - 1) finalBreak_ = true;
    } else {
        Line header;
        if (!MakeLine("[" + std::string(s) + "]", crlf, header)) return false;
        lines_.push_back(header);
        lines_.push_back(added);
        finalBreak_ = true;
    }
    Reindex();
    return true;
}

bool IniDocument::Erase(std::string_view section, std::string_view key) {
    const auto identity = FindSection(section);
    if (!identity) return false;
    size_t kept = 0;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& l = lines_[i];
        if (l.kind == Kind::Key && fields_[l.field].section == *identity && SameName(NameOf(i), key)) continue;
        lines_[kept++] = l;
    }
    if (kept == lines_.size()) return false;
    lines_.resize(kept);
    Reindex();
    return true;
}

std::vector<std::string> IniDocument::SectionNames() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < lines_.size(); ++i) {
        // A header that is its own identity is the first spelling of its name.
        if (lines_[i].kind == Kind::Section && fields_[lines_[i].field].section == i) names.emplace_back(NameOf(i));
    }
    return names;
}

std::vector<std::pair<std::string, std::string>> IniDocument::Entries(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    const auto identity = FindSection(section);
    if (!identity) return entries;
    for (size_t i = *identity; i < lines_.size(); ++i) {
        const Line& l = lines_[i];
        if (l.kind != Kind::Key || fields_[l.field].section != *identity) continue;
        // Only the first line of each key name counts.
        if (FindKeyLine(*identity, NameOf(i)) == i) entries.emplace_back(NameOf(i), ValueOf(i));
    }
    return entries;
}

}  // namespace Orvane
