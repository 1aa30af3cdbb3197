// Writes the level files Levels/level_<n>.xml from the level table (data/levels.txt): one
// "LevelMap" element per level with every setting written out, since a setting the file
// leaves out reads as 0 in the game. Checks the table against the animal classes (names
// known, none twice, no more classes than exist) and the field's limits, and turns a time
// written as a factor ("1.5x") into seconds by the estimate described in the table.
// Level files beyond the table are removed, so the game ends after its last row.
//   gen_levels <levels.txt> <animals.txt> <game folder>
//   gen_levels --summary <levels.txt> <animals.txt>     (the table with its times, to stdout)
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "AnimalTable.h"
#include "Canvas.h"

using namespace content;

namespace {

constexpr int kLines = 6;             // lines of the field (fixed by the game)
constexpr int kMaxCells = 180;        // cells the game's field holds
constexpr int kTutorialCell = 4;      // the cell the tutorial of level 1 points at
constexpr double kPlacementSeconds = 1.5;
constexpr double kBugVisitSeconds = 8.0;  // walking in, sitting and walking out

struct Level {
  int number = 0;
  int classes = 0;
  int cells = 0;
  double speed = 0;
  std::string time;
  double bug = 0;
  double any = 0, band = 0, area = 0;
  bool bonus = false;
  std::vector<std::string> names;
  double seconds = 0;  // the level time written
};

// Splits "a,b,c" at commas; "-" is the empty list.
std::vector<std::string> SplitNames(const std::string& text) {
  std::vector<std::string> names;
  if (text == "-") return names;
  std::istringstream in(text);
  std::string name;
  while (std::getline(in, name, ','))
    if (!name.empty()) names.push_back(name);
  return names;
}

// Seconds a player needs for the level, by the estimate of the table's header.
double EstimatedSeconds(const Level& l) {
  // Shares of the bonus kinds among new panel shapes (a later kind overrides an earlier one).
  const double area = l.area;
  const double band = (1 - l.area) * l.band;
  const double perPlacement = 1 + band * (l.cells / 2.0 - 1) + area * 3;
  const double placements = kLines * l.cells / perPlacement;
  const double thefts = kPlacementSeconds / (l.bug + kBugVisitSeconds);  // placements lost per second
  return kPlacementSeconds * placements / (1 - thefts);
}

bool ReadLevels(const std::string& path, const std::vector<AnimalClass>& animals, std::vector<Level>& out) {
  std::ifstream in(path);
  if (!in) {
    std::fprintf(stderr, "gen_levels: cannot read %s\n", path.c_str());
    return false;
  }
  std::set<std::string> known;
  for (const AnimalClass& a : animals) known.insert(a.name);
  std::string line;
  int row = 0;
  bool ok = true;
  auto fail = [&](const std::string& what) {
    std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), row, what.c_str());
    ok = false;
  };
  while (std::getline(in, line)) {
    ++row;
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    std::istringstream words(line);
    Level l;
    std::string bonus, names;
    if (!(words >> l.number >> l.classes >> l.cells >> l.speed >> l.time >> l.bug >> l.any >> l.band >> l.area >>
          bonus >> names)) {
      fail("expected: level classes cells speed time bug any band area bonus names");
      continue;
    }
    l.bonus = bonus == "bonus";
    if (!l.bonus && bonus != "-") fail("the bonus column is \"bonus\" or \"-\"");
    l.names = SplitNames(names);
    if (l.number != static_cast<int>(out.size()) + 1) fail("levels must be numbered 1, 2, 3, ... without gaps");
    if (l.classes < 1 || l.classes > static_cast<int>(animals.size()))
      fail("between 1 and " + std::to_string(animals.size()) + " classes");
    if (l.cells < 1 || l.cells * kLines > kMaxCells) fail("the field holds 1 to 30 cells a line");
    if (l.number == 1 && l.cells <= kTutorialCell) fail("the tutorial of level 1 needs at least 5 cells a line");
    if (l.speed <= 0 || l.bug <= 0) fail("speed and bug interval must be positive");
    for (double p : {l.any, l.band, l.area})
      if (p < 0 || p > 1) fail("bonus chances lie between 0 and 1");
    if (static_cast<int>(l.names.size()) > l.classes) fail("more names than classes");
    std::set<std::string> seen;
    for (const std::string& n : l.names) {
      if (!known.count(n)) fail("no animal class named " + n);
      if (!seen.insert(n).second) fail(n + " is named twice");
    }
    char* end = nullptr;
    const double value = std::strtod(l.time.c_str(), &end);
    if (end == l.time.c_str() || value <= 0 || (*end && std::string(end) != "x")) {
      fail("the time is seconds or a factor such as 1.5x");
      continue;
    }
    l.seconds = *end ? std::round(value * EstimatedSeconds(l)) : value;
    out.push_back(l);
  }
  if (out.empty()) {
    std::fprintf(stderr, "%s: no levels\n", path.c_str());
    ok = false;
  }
  return ok;
}

// A number as the level files carry it: at most three decimals, no trailing zeros.
std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", v);
  std::string s = text;
  s.erase(s.find_last_not_of('0') + 1);
  if (s.back() == '.') s.pop_back();
  return s;
}

std::string LevelXml(const Level& l) {
  std::string names;
  for (const std::string& n : l.names) names += (names.empty() ? "" : ",") + n;
  const int stage = (l.number - 1) / 6 + 1;
  std::string xml = "<?xml version=\"1.0\" ?>\n";
  xml += "<!-- Level " + std::to_string(l.number) + ", stage " + std::to_string(stage) + " (" +
         (l.bonus ? "bonus level" : "normal level") +
         "), written by the content pipeline from data/levels.txt: retune the table, not this file. -->\n";
  xml += "<LevelMap newShapeTime=\"0.1\" levelTime=\"" + Number(l.seconds) + "\" shapeClassCount=\"" +
         std::to_string(l.classes) + "\" bonusLevel=\"" + (l.bonus ? "true" : "false") + "\"\n";
  xml += "          shapeClassList=\"" + names + "\" lineSpeed=\"" + Number(l.speed) + "\" fBugAppearanceRange=\"" +
         Number(l.bug) + "\" lineShapeCount=\"" + std::to_string(l.cells) + "\"\n";
  xml += "          fBonusAnyShapeP=\"" + Number(l.any) + "\" fBonusBandP=\"" + Number(l.band) + "\" fBonusAreaP=\"" +
         Number(l.area) + "\"/>\n";
  return xml;
}

void PrintSummary(const std::vector<Level>& levels) {
  std::printf("level stage classes cells  speed  time(s)  bug  any  band area  bonus\n");
  for (const Level& l : levels)
    std::printf("%5d %5d %7d %5d %6.3f %8.0f %4.0f %4.2f %4.2f %4.2f  %s\n", l.number, (l.number - 1) / 6 + 1,
                l.classes, l.cells, l.speed, l.seconds, l.bug, l.any, l.band, l.area, l.bonus ? "yes" : "");
}

}  // namespace

int main(int argc, char** argv) {
  const bool summary = argc == 4 && std::string(argv[1]) == "--summary";
  std::vector<AnimalClass> animals;
  if ((argc != 4) || !ReadAnimalTable(summary ? argv[3] : argv[2], animals)) {
    std::fprintf(stderr,
                 "usage: gen_levels <levels.txt> <animals.txt> <game folder>\n"
                 "       gen_levels --summary <levels.txt> <animals.txt>\n");
    return 2;
  }
  std::vector<Level> levels;
  if (!ReadLevels(summary ? argv[2] : argv[1], animals, levels)) return 1;
  if (summary) {
    PrintSummary(levels);
    return 0;
  }
  const std::string folder = Join(argv[3], "Levels");
  std::filesystem::create_directories(folder);
  // Only the table's levels: a stale file past the last row would extend the game.
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("level_", 0) == 0 && entry.path().extension() == ".xml") std::filesystem::remove(entry.path(), ec);
  }
  int failures = 0;
  for (const Level& l : levels) {
    std::ofstream out(Join(folder, "level_" + std::to_string(l.number) + ".xml"), std::ios::binary);
    out << LevelXml(l);
    if (!out) ++failures;
  }
  return failures == 0 ? 0 : 1;
}
