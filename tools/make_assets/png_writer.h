// Writes an RgbaImage as an 8-bit RGBA PNG through libpng, top row first.
// Nothing that changes between runs (no time stamp) goes into the file.
#pragma once
#include <string>

#include "image.h"

// Returns false if the file cannot be written completely.
bool writePng(const std::string& path, const RgbaImage& image);
