// Writing the drawn screen as a PNG picture.
#pragma once

#include "framework/graphics/MemoryImage.h"

#include <string>

// Writes the image as 8-bit RGB (the screen is opaque); false with a reason on failure.
bool WriteScreenPng(const Orvane::MemoryImage& image, const std::string& path, std::string& error);

// Marks the pointer's place with a small arrow (white with a black outline), tip at (x, y).
void DrawPointerMark(Orvane::MemoryImage& image, int x, int y);
