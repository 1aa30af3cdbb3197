// Read-only view of an ini-format script ("sound.ini"): section names in file order and string
// values by section and key (names without regard to case), the way the program's profile
// reading answers them: the first section of a name and the first key of a name count; values
// are trimmed and cut to 254 characters.
#pragma once

#include <string>
#include <utility>
#include <vector>

class SoundScript {
public:
    // False when the file cannot be read (the script is then empty).
    bool Load(const std::string& path);
    void LoadFromText(const std::string& text);

    // Section names in file order, as many as a 10000-character name list holds.
    std::vector<std::string> SectionNames() const;
    // The value, or "" when the section or key is missing.
    std::string GetString(const std::string& section, const std::string& key) const;

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> values;
    };
    std::vector<Section> sections_;
};
