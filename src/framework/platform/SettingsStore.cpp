// The settings store kept as an ini file: values directly under the registry key live in the
// section "Settings", values of a sub-key "A\B" in the section "Settings\A\B".
#include "framework/platform/SettingsStore.h"

#include "framework/ini/IniFile.h"
#include "framework/platform/FileSearch.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>

namespace Orvane {

namespace {

constexpr const char* kRootSection = "Settings";

struct ValueName {
    std::string section;
    std::string key;
};

ValueName Split(const std::string& name) {
    const size_t slash = name.find_last_of('\\');
    if (slash == std::string::npos) return {kRootSection, name};
    return {std::string(kRootSection) + "\\" + name.substr(0, slash), name.substr(slash + 1)};
}

bool ParseInt(const std::string& text, int& out) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < INT_MIN || value > INT_MAX) return false;
    out = static_cast<int>(value);
    return true;
}

}  // namespace

SettingsStore::SettingsStore(std::string configRoot)
    : root_(configRoot.empty() ? DefaultConfigRoot() : std::move(configRoot)) {}

void SettingsStore::SetRegistryKey(const std::string& key) { key_ = key; }

std::string SettingsStore::FilePath() const {
    return key_.empty() ? "" : root_ + "/" + ToSystemPath(key_) + "/settings.ini";
}

bool SettingsStore::ReadString(const std::string& name, std::string& out) const {
    if (key_.empty() || name.empty()) return false;
    const ValueName v = Split(name);
    const auto value = ReadIniValue(FilePath(), v.section, v.key);
    if (!value) return false;
    out = *value;
    return true;
}

bool SettingsStore::ReadInt(const std::string& name, int& out) const {
    std::string text;
    int value = 0;
    if (!ReadString(name, text) || !ParseInt(text, value)) return false;
    out = value;
    return true;
}

bool SettingsStore::ReadBool(const std::string& name, bool& out) const {
    int value = 0;
    if (!ReadInt(name, value)) return false;
    out = value != 0;
    return true;
}

bool SettingsStore::WriteString(const std::string& name, const std::string& value) {
    if (key_.empty() || name.empty()) return false;
    const std::string path = FilePath();
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (ec) return false;
    const ValueName v = Split(name);
    return WriteIniValue(path, v.section, v.key, value);
}

bool SettingsStore::WriteInt(const std::string& name, int value) { return WriteString(name, std::to_string(value)); }

bool SettingsStore::WriteBool(const std::string& name, bool value) { return WriteInt(name, value ? 1 : 0); }

bool SettingsStore::Erase(const std::string& name) {
    if (key_.empty() || name.empty()) return false;
    const ValueName v = Split(name);
    IniDocument doc;
    switch (LoadIniFile(FilePath(), doc)) {
        case IniLoadResult::Missing:
        case IniLoadResult::TooLarge: return true;   // nothing readable to erase
        case IniLoadResult::Failed: return false;
        case IniLoadResult::Ok: break;
    }
    if (!doc.Find(v.section, v.key)) return true;
    return UpdateIniFile(FilePath(), [&](IniDocument& d) { return d.Erase(v.section, v.key); });
}

std::string SettingsStore::DefaultConfigRoot() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.config";
}

}  // namespace Orvane
