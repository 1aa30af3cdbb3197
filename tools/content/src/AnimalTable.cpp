#include "AnimalTable.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace content {

bool ReadAnimalTable(const std::string& path, std::vector<AnimalClass>& out) {
  std::ifstream in(path);
  if (!in) {
    std::fprintf(stderr, "content: cannot read %s\n", path.c_str());
    return false;
  }
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    const size_t colon = line.find(':');
    std::istringstream head(line.substr(0, colon));
    AnimalClass c;
    head >> c.name >> c.sound;
    if (colon == std::string::npos || c.name.empty() || c.sound.empty()) {
      std::fprintf(stderr, "%s:%d: expected '<class> <sound> : <poses>'\n", path.c_str(), number);
      return false;
    }
    std::istringstream poses(line.substr(colon + 1));
    std::string item;
    while (std::getline(poses, item, '|')) {
      std::istringstream words(item);
      AnimalPose p;
      if (!(words >> p.stamp)) continue;
      std::string w;
      while (words >> w) {
        if (w == "m") p.mirror = true;
        else p.angle = std::stod(w);
      }
      c.poses.push_back(p);
    }
    if (c.poses.empty() || c.poses.size() > 10) {
      std::fprintf(stderr, "%s:%d: a class needs 1 to 10 poses\n", path.c_str(), number);
      return false;
    }
    out.push_back(c);
  }
  return !out.empty();
}

}  // namespace content
