// The per-user settings store: what the registry key of the original platform held, kept as
// "settings.ini" in "$XDG_CONFIG_HOME/<registry key>/" (~/.config when unset).
// A value name may contain '\': the part before the last '\' names a sub-key.
#pragma once

#include <string>

namespace Orvane {

class SettingsStore {
public:
    // configRoot: the folder that holds one folder per registry key; empty means the default.
    explicit SettingsStore(std::string configRoot = "");

    // An empty key disables the store: reads find nothing and writes do nothing.
    void SetRegistryKey(const std::string& key);
    const std::string& RegistryKey() const { return key_; }

    bool ReadInt(const std::string& name, int& out) const;
    bool ReadBool(const std::string& name, bool& out) const;
    bool ReadString(const std::string& name, std::string& out) const;
    bool WriteInt(const std::string& name, int value);
    bool WriteBool(const std::string& name, bool value);
    bool WriteString(const std::string& name, const std::string& value);
    bool Erase(const std::string& name);

    // Full path of the settings file for the current key ("" when the key is empty).
    std::string FilePath() const;

    // $XDG_CONFIG_HOME, else $HOME/.config.
    static std::string DefaultConfigRoot();

private:
    std::string root_;
    std::string key_;
};

}  // namespace Orvane
