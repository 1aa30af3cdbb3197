#include "framework/ini/IniDocument.h"

#include <algorithm>
#include <cctype>

namespace Orvane {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::string Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return std::string(v);
}

std::string IndexKey(std::string_view section, std::string_view key) {
    std::string out;
    section = Trim(section);
    key = Trim(key);
    out.reserve(section.size() + key.size() + 1);
    for (char c : section) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    out += '\n';   // never part of a name
    for (char c : key) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool HasAny(std::string_view s, std::string_view chars) { return s.find_first_of(chars) != std::string_view::npos; }

}  // namespace

IniDocument::Line IniDocument::Classify(std::string text, bool crlf, bool first) {
    Line line;
    line.crlf = crlf;
    std::string_view t = text;
    // Editors often start a file with a UTF-8 byte-order mark; it is kept but not parsed.
    if (first && t.substr(0, 3) == "\xEF\xBB\xBF") t.remove_prefix(3);
    t = Trim(t);
    if (!t.empty() && t.front() == '[') {
        const size_t close = t.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = Kind::Section;
            line.name = std::string(Trim(t.substr(1, close - 1)));
        }
    } else if (!t.empty() && t.front() != ';') {
        const size_t eq = t.find('=');
        if (eq != std::string_view::npos && !Trim(t.substr(0, eq)).empty()) {
            line.kind = Kind::Key;
            line.name = std::string(Trim(t.substr(0, eq)));
            line.value = Unquote(Trim(t.substr(eq + 1)));
        }
    }
    line.text = std::move(text);
    return line;
}

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    size_t start = 0;
    while (start < text.size()) {
        const size_t nl = text.find('\n', start);
        if (nl == std::string_view::npos) {
            doc.lines_.push_back(Classify(std::string(text.substr(start)), false, start == 0));
            break;
        }
        std::string_view body = text.substr(start, nl - start);
        const bool crlf = !body.empty() && body.back() == '\r';
        if (crlf) body.remove_suffix(1);
        doc.lines_.push_back(Classify(std::string(body), crlf, start == 0));
        start = nl + 1;
    }
    doc.finalBreak_ = !text.empty() && text.back() == '\n';
    doc.Reindex();
    return doc;
}

std::string IniDocument::Serialise() const {
    std::string out;
    for (size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i].text;
        if (i + 1 < lines_.size() || finalBreak_) out += lines_[i].crlf ? "\r\n" : "\n";
    }
    return out;
}

size_t IniDocument::SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::Section) ++i;
    return i;
}

void IniDocument::Reindex() {
    // First section, then first key wins, as lookups on the original platform do.
    index_.clear();
    std::string section;
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& l = lines_[i];
        if (l.kind == Kind::Section) {
            section = l.name;
            inSection = true;
        } else if (l.kind == Kind::Key && inSection) {
            index_.emplace(IndexKey(section, l.name), i);
        }
    }
}

std::optional<size_t> IniDocument::FindKeyLine(std::string_view section, std::string_view key) const {
    const auto it = index_.find(IndexKey(section, key));
    if (it == index_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
    const auto line = FindKeyLine(section, key);
    if (!line) return std::nullopt;
    return lines_[*line].value;
}

std::string IniDocument::GetString(std::string_view section, std::string_view key, std::string_view fallback,
                                   size_t maxLength) const {
    const auto found = Find(section, key);
    std::string value = found ? *found : std::string(fallback);
    const size_t zero = value.find('\0');
    if (zero != std::string::npos) value.resize(zero);
    if (value.size() > maxLength) value.resize(maxLength);
    return value;
}

bool IniDocument::DefaultCrlf() const { return !lines_.empty() && lines_.front().crlf; }

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    using namespace std::string_view_literals;
    const std::string_view k = Trim(key);
    const std::string_view s = Trim(section);
    if (k.empty() || HasAny(k, "=\r\n\0"sv) || k.front() == '[' || k.front() == ';') return false;
    if (HasAny(s, "]\r\n\0"sv) || HasAny(value, "\r\n\0"sv)) return false;
    const std::string text = std::string(k) + "=" + std::string(value);

    if (const auto line = FindKeyLine(section, key)) {
        // The key keeps the spelling it has in the file.
        Line& l = lines_[*line];
        l = Classify(l.name + "=" + std::string(value), l.crlf);
        return true;   // same key at the same line: the index stays right
    }
    const bool crlf = DefaultCrlf();
    // A last line without a break gets one of the file's style before anything follows it.
    if (!finalBreak_ && !lines_.empty()) lines_.back().crlf = crlf;
    for (size_t h = 0; h < lines_.size(); ++h) {
        if (lines_[h].kind != Kind::Section || !SameName(lines_[h].name, section)) continue;
        // After the section's last non-blank line, so blank separators stay before the next one.
        size_t at = SectionEnd(h);
        while (at > h + 1 && Trim(lines_[at - 1].text).empty()) --at;
        lines_.insert(lines_.begin() + static_cast<long>(at), Classify(text, crlf));
        if (at == lines_.size() - 1) finalBreak_ = true;
        Reindex();
        return true;
    }
    lines_.push_back(Classify("[" + std::string(s) + "]", crlf));
    lines_.push_back(Classify(text, crlf));
    finalBreak_ = true;
    Reindex();
    return true;
}

bool IniDocument::Erase(std::string_view section, std::string_view key) {
    bool erased = false;
    while (const auto line = FindKeyLine(section, key)) {
        lines_.erase(lines_.begin() + static_cast<long>(*line));
        Reindex();
        erased = true;
    }
    return erased;
}

std::vector<std::string> IniDocument::SectionNames() const {
    std::vector<std::string> names;
    for (const Line& l : lines_) {
        if (l.kind != Kind::Section) continue;
        const bool seen = std::any_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, l.name); });
        if (!seen) names.push_back(l.name);
    }
    return names;
}

std::vector<std::pair<std::string, std::string>> IniDocument::Entries(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    for (size_t h = 0; h < lines_.size(); ++h) {
        if (lines_[h].kind != Kind::Section || !SameName(lines_[h].name, section)) continue;
        const size_t end = SectionEnd(h);
        for (size_t i = h + 1; i < end; ++i) {
            const Line& l = lines_[i];
            if (l.kind != Kind::Key) continue;
            const bool seen = std::any_of(entries.begin(), entries.end(),
                                          [&](const auto& e) { return SameName(e.first, l.name); });
            if (!seen) entries.emplace_back(l.name, l.value);
        }
        h = end - 1;
    }
    return entries;
}

}  // namespace Orvane
