#include "game/LevelFile.h"

#include "game/PlayField.h"

#include "engine/log/Log.h"
#include "framework/xml/XmlReader.h"

#include <algorithm>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

// A numeric attribute by the standard conversion of its text; absent reads as 0.
double NumberOf(const Orvane::XmlElement& e, const char* name) {
    double value = 0.0;
    e.ReadDouble(name, value);
    return value;
}

float FloatOf(const Orvane::XmlElement& e, const char* name) {
    const double value = NumberOf(e, name);
    constexpr double kMax = std::numeric_limits<float>::max();
    return static_cast<float>(value > kMax ? kMax : value < -kMax ? -kMax : value);
}

// Truncated toward zero and saturated to the int range.
int IntOf(const Orvane::XmlElement& e, const char* name) {
    const double value = std::trunc(NumberOf(e, name));
    if (value >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (value <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

void Warn(const std::string& fileName, const std::string& what) {
    LogWrite("WARNING: " + fileName + ": " + what, 0);
}

}  // namespace

bool LevelSettings::IsBonusLevel() const { return std::strcmp(bonusLevel, "true") == 0; }

std::string LevelFileName(int level) {
    char name[64];
    std::snprintf(name, sizeof name, "Levels\\level_%d.xml", level);
    return name;
}

bool ReadLevelFile(const std::string& fileName, const LevelSettings& base, LevelFileContents& out,
                   std::string& reason) {
    Orvane::XmlDocument doc;
    if (!doc.LoadFile(fileName, reason)) return false;
    const Orvane::XmlElement map = doc.FirstChild("LevelMap");
    if (!map) {
        reason = "no LevelMap element";
        return false;
    }
    LevelFileContents contents;
    LevelSettings& s = contents.settings;
    s = base;
    s.newShapeTime = FloatOf(map, "newShapeTime");
    s.levelTime = FloatOf(map, "levelTime");
    s.levelClassCount = IntOf(map, "shapeClassCount");
    map.ReadText("bonusLevel", s.bonusLevel, sizeof s.bonusLevel);
    map.ReadText("shapeClassList", s.shapeClassList, sizeof s.shapeClassList);
    s.lineSpeed = FloatOf(map, "lineSpeed");
    s.bugInterval = FloatOf(map, "fBugAppearanceRange");
    s.cellsPerLine = IntOf(map, "lineShapeCount");
    s.bonusAnyShapeP = FloatOf(map, "fBonusAnyShapeP");
    s.bonusBandP = FloatOf(map, "fBonusBandP");
    s.bonusAreaP = FloatOf(map, "fBonusAreaP");
    for (Orvane::XmlElement c = map.FirstChild("ShapeCell"); c; c = c.NextSibling("ShapeCell")) {
        ++contents.shapeCellCount;
    }
    out = contents;
    return true;
}

bool LevelFileExists(int level) {
    Orvane::XmlDocument doc;
    std::string reason;
    return doc.LoadFile(LevelFileName(level), reason);
}

std::array<std::string, LevelSettings::kMaxListTokens> SplitClassList(const std::string& list) {
    std::array<std::string, LevelSettings::kMaxListTokens> tokens;
    size_t count = 0;
    size_t i = 0;
    while (i < list.size() && count < tokens.size()) {
        while (i < list.size() && list[i] == ',') ++i;
        if (i == list.size()) break;
        const size_t end = list.find(',', i);
        const size_t stop = end == std::string::npos ? list.size() : end;
        tokens[count++] = list.substr(i, std::min<size_t>(stop - i, LevelSettings::kTextSize - 1));
        i = stop;
    }
    return tokens;
}

void ClampLevelCounts(LevelSettings& settings, int distinctClasses, const std::string& fileName,
                      bool log) {
    int& classCount = settings.levelClassCount;
    if (classCount < 1) {
        if (log) Warn(fileName, "shapeClassCount " + std::to_string(classCount) + " below 1, using 1");
        classCount = 1;
    } else if (classCount > distinctClasses) {
        if (log) {
            Warn(fileName, "shapeClassCount " + std::to_string(classCount) + " above the " +
                               std::to_string(distinctClasses) + " distinct classes, using " +
                               std::to_string(distinctClasses));
        }
        classCount = distinctClasses;
    }
    int& perLine = settings.cellsPerLine;
    if (perLine < 1 || perLine > Field::kMaxCellsPerLine) {
        const int clamped = std::clamp(perLine, 1, Field::kMaxCellsPerLine);
        if (log) {
            Warn(fileName, "lineShapeCount " + std::to_string(perLine) + " outside 1.." +
                               std::to_string(Field::kMaxCellsPerLine) + ", using " +
                               std::to_string(clamped));
        }
        perLine = clamped;
    }
}

