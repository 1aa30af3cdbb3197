// The animal classes, read from tools/content/animals.txt (one class per line).
// Variant n of class c is written as Graphics/Shapes/<c>_<n>.png and <c>_<n>_mask.png
// (n from 1); the class's sound is Sound/animal_<c>.ogg, played by the event animal_<c>.
#pragma once

#include <string>
#include <vector>

namespace content {

struct AnimalPose {
  std::string stamp;  // picture under the stamp folder, without ".png"
  bool mirror = false;
  double angle = 0;   // degrees, clockwise, after the flip
};

struct AnimalClass {
  std::string name;
  std::string sound;  // recording under the stamp folder, without ".ogg"
  std::vector<AnimalPose> poses;
};

inline const char* kStampDir = "/usr/share/tuxpaint/stamps/animals/";

// Reads the table; prints the line and returns false on a malformed line.
bool ReadAnimalTable(const std::string& path, std::vector<AnimalClass>& out);

}  // namespace content
