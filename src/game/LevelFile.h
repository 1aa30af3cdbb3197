// One level's settings as "Levels\level_<n>.xml" gives them, and the rules that turn the file's
// attributes into them.
#pragma once

#include <array>
#include <string>

struct LevelSettings {
    static constexpr size_t kTextSize = 255;
    static constexpr int kMaxListTokens = 15;

    float newShapeTime = 0.1f;      // read and kept; the panel's pace is fixed
    float levelTime = 100.0f;       // seconds
    int levelClassCount = 3;        // "shapeClassCount"
    char bonusLevel[kTextSize] = {};
    char shapeClassList[kTextSize] = {};
    float lineSpeed = 0.03f;        // screen heights per second
    float bugInterval = 15.0f;      // "fBugAppearanceRange", seconds
    int cellsPerLine = 11;          // "lineShapeCount"
    float bonusAnyShapeP = 0.05f;
    float bonusBandP = 0.25f;
    float bonusAreaP = 0.25f;

    // A bonus level is one whose "bonusLevel" is exactly "true".
    bool IsBonusLevel() const;
};

// What a level file holds beyond its settings.
struct LevelFileContents {
    LevelSettings settings;
    int shapeCellCount = 0;   // "ShapeCell" elements (their positions do not affect play)
};

// "Levels\level_<n>.xml".
std::string LevelFileName(int level);

// Reads a level file over the given settings (the values a missing text attribute keeps): the
// first "LevelMap" element's attributes. A missing numeric attribute reads as 0. False, with a
// reason, when the file does not load or has no "LevelMap".
bool ReadLevelFile(const std::string& fileName, const LevelSettings& base, LevelFileContents& out,
                   std::string& reason);

// Brings the class count into 1 .. distinctClasses and the cells per line into 1 .. 30 (the
// tables' room), with a warning line for each change when log is set.
void ClampLevelCounts(LevelSettings& settings, int distinctClasses, const std::string& fileName,
                      bool log);

// Whether the level's file loads as an XML document.
bool LevelFileExists(int level);

// The class names of a "shapeClassList": split at commas (runs of commas are one separator,
// spaces belong to the names) into at most 15 names of up to 254 characters; later positions
// are empty.
std::array<std::string, LevelSettings::kMaxListTokens> SplitClassList(const std::string& list);
