// Writing a picture as a PNG file (the demo's screenshots).
#pragma once

#include "framework/graphics/MemoryImage.h"

#include <string>

bool WritePngFile(const Orvane::MemoryImage& image, const std::string& path);
