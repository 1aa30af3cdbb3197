// Placeholder until the ini engine lands: the store keeps nothing.
#include "framework/platform/SettingsStore.h"

#include <cstdlib>

namespace Orvane {

SettingsStore::SettingsStore(std::string configRoot)
    : root_(configRoot.empty() ? DefaultConfigRoot() : std::move(configRoot)) {}

void SettingsStore::SetRegistryKey(const std::string& key) { key_ = key; }
bool SettingsStore::ReadInt(const std::string&, int&) const { return false; }
bool SettingsStore::ReadBool(const std::string&, bool&) const { return false; }
bool SettingsStore::ReadString(const std::string&, std::string&) const { return false; }
bool SettingsStore::WriteInt(const std::string&, int) { return false; }
bool SettingsStore::WriteBool(const std::string&, bool) { return false; }
bool SettingsStore::WriteString(const std::string&, const std::string&) { return false; }
bool SettingsStore::Erase(const std::string&) { return false; }
std::string SettingsStore::FilePath() const { return key_.empty() ? "" : root_ + "/" + key_ + "/settings.ini"; }

std::string SettingsStore::DefaultConfigRoot() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.config";
}

}  // namespace Orvane
