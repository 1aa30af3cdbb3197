// Checks the built game folder against what the game expects of the generated content:
// every pose of every class has a 71 x 71 main and mask picture, the silhouettes of a class's
// poses can be told apart, the font table of language.ini matches font01.png, and every file
// that sound.ini names exists.
//   check_content <game folder> <language folder name> <animals.txt>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "AnimalTable.h"
#include "Canvas.h"

using namespace content;

namespace {

int gErrors = 0;

void Fail(const std::string& what) {
  std::fprintf(stderr, "check_content: %s\n", what.c_str());
  ++gErrors;
}

std::string GamePath(const std::string& game, std::string name) {
  for (char& c : name)
    if (c == '\\') c = '/';
  return Join(game, name);
}

// Pixels of a mask picture that belong to the silhouette (alpha above 40 %).
std::vector<bool> Silhouette(const Surface& s) {
  std::vector<bool> inside;
  cairo_surface_flush(s.get());
  const unsigned char* data = cairo_image_surface_get_data(s.get());
  const int stride = cairo_image_surface_get_stride(s.get());
  for (int y = 0; y < Height(s); ++y)
    for (int x = 0; x < Width(s); ++x) {
      uint32_t argb;
      std::memcpy(&argb, data + y * stride + x * 4, 4);
      inside.push_back((argb >> 24) > 102);
    }
  return inside;
}

// Shared pixels over covered pixels of two silhouettes of one size.
double Overlap(const std::vector<bool>& a, const std::vector<bool>& b) {
  size_t both = 0, either = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    both += a[i] && b[i];
    either += a[i] || b[i];
  }
  return either ? static_cast<double>(both) / either : 1.0;
}

// In "Transformer" the player tells the poses of a class apart by their silhouettes at cell
// size, so two masks of one class may share at most this much of their area.
constexpr double kMaxSiblingOverlap = 0.70;

void CheckShapes(const std::string& game, const std::vector<AnimalClass>& classes) {
  if (classes.size() < 15 || classes.size() > 30) Fail("the game needs 15 to 30 classes");
  for (const AnimalClass& c : classes) {
    std::vector<std::vector<bool>> masks;
    for (size_t n = 1; n <= c.poses.size(); ++n)
      for (const char* suffix : {".png", "_mask.png"}) {
        const std::string path = Join(game, "Graphics/Shapes/" + c.name + "_" + std::to_string(n) + suffix);
        if (!std::filesystem::exists(path)) {
          Fail("missing " + path);
          continue;
        }
        Surface s = LoadPng(path);
        if (!s) Fail("unreadable " + path);
        else if (Width(s) != 71 || Height(s) != 71) Fail(path + " is not 71 x 71");
        else if (std::string(suffix) == "_mask.png") masks.push_back(Silhouette(s));
      }
    for (size_t i = 0; i < masks.size(); ++i)
      for (size_t j = i + 1; j < masks.size(); ++j)
        if (Overlap(masks[i], masks[j]) > kMaxSiblingOverlap)
          Fail(c.name + ": poses " + std::to_string(i + 1) + " and " + std::to_string(j + 1) +
               " have nearly the same silhouette");
  }
}

void CheckFont(const std::string& game, const std::string& lang) {
  std::ifstream in(Join(game, "language.ini"));
  std::string line, symbols;
  int cols = 0, rows = 0, widthLines = 0;
  bool inEnglish = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] == '[') inEnglish = line == "[ENGLISH]";
    if (!inEnglish) continue;
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "SymbolList") symbols = value;
    if (key == "SYMBOLS_IN_ROW") cols = std::atoi(value.c_str());
    if (key == "SYMBOLS_IN_COL") rows = std::atoi(value.c_str());
    if (key.rfind("Line", 0) == 0 && key.find("_Width") != std::string::npos) ++widthLines;
  }
  Surface font = LoadPng(Join(game, lang + "/font01.png"));
  if (!font) return Fail("missing font01.png");
  if (cols < 1 || rows < 1 || cols * rows > 255) return Fail("bad font grid in language.ini");
  if (Width(font) % cols || Height(font) % rows) Fail("font01.png does not divide into the grid");
  if (symbols.size() > static_cast<size_t>(cols * rows)) Fail("more symbols than cells");
  for (int c = 0x21; c <= 0x7E; ++c)
    if (symbols.find(static_cast<char>(c)) == std::string::npos) Fail(std::string("symbol missing: ") + char(c));
  if (widthLines != rows) Fail("one Line..._Width per row expected");
}

void CheckSounds(const std::string& game) {
  std::ifstream in(Join(game, "sound.ini"));
  std::string line;
  int events = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] == '[') ++events;
    if (line.rfind("file", 0) == 0) {
      const std::string file = line.substr(line.find('=') + 1);
      if (!std::filesystem::exists(GamePath(game, file))) Fail("sound.ini names a missing file: " + file);
    }
  }
  if (events == 0 || events > 100) Fail("sound.ini must hold 1 to 100 events");
  if (!std::filesystem::exists(Join(game, "Music/theme1.ogg"))) Fail("missing Music/theme1.ogg");
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<AnimalClass> classes;
  if (argc != 4 || !ReadAnimalTable(argv[3], classes)) {
    std::fprintf(stderr, "usage: check_content <game folder> <language folder name> <animals.txt>\n");
    return 2;
  }
  CheckShapes(argv[1], classes);
  CheckFont(argv[1], argv[2]);
  CheckSounds(argv[1]);
  if (gErrors == 0) std::printf("check_content: the generated content is complete\n");
  return gErrors == 0 ? 0 : 1;
}
