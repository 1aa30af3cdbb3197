#include "engine/audio/SoundScript.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace {

constexpr size_t kMaxScriptBytes = size_t{1} << 20;
constexpr size_t kMaxValueLength = 254;
constexpr size_t kSectionNameBuffer = 10000;

std::string Trim(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

bool SoundScript::Load(const std::string& path) {
    sections_.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string text(kMaxScriptBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    LoadFromText(text);
    return true;
}

void SoundScript::LoadFromText(const std::string& text) {
    sections_.clear();
    std::istringstream lines(text);
    std::string line;
    Section* current = nullptr;
    while (std::getline(lines, line)) {
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == ';') continue;
        if (trimmed[0] == '[') {
            const size_t close = trimmed.find(']');
            sections_.push_back(Section{Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1)), {}});
            current = &sections_.back();
            continue;
        }
        const size_t equals = trimmed.find('=');
        if (!current || equals == std::string::npos) continue;
        std::string value = Trim(trimmed.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        if (value.size() > kMaxValueLength) value.resize(kMaxValueLength);
        current->values.emplace_back(Trim(trimmed.substr(0, equals)), std::move(value));
    }
}

std::vector<std::string> SoundScript::SectionNames() const {
    std::vector<std::string> names;
    size_t used = 0;
    for (const Section& section : sections_) {
        // Each name takes its length plus a terminator; the list ends with one more.
        if (used + section.name.size() + 1 > kSectionNameBuffer - 1) break;
        used += section.name.size() + 1;
        names.push_back(section.name);
    }
    return names;
}

std::string SoundScript::GetString(const std::string& section, const std::string& key) const {
    for (const Section& s : sections_) {
        if (!SameName(s.name, section)) continue;
        for (const auto& [k, v] : s.values)
            if (SameName(k, key)) return v;
        return {};
    }
    return {};
}
