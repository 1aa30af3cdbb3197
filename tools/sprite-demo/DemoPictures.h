// Pictures the demo draws when the game folder does not have them: painted in code, so the
// demo runs on any folder that holds a symbol font.
#pragma once

#include "framework/graphics/MemoryImage.h"

#include <memory>
#include <string>

namespace DemoPictures {

// The picture for a "Demo\..." name, or none for other names.
std::unique_ptr<Orvane::MemoryImage> Paint(const std::string& name);

}  // namespace DemoPictures
