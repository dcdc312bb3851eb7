// Writes an Image as an uncompressed 24-bit BMP (54-byte header, no palette,
// positive height). Rows go to the file in the Image's own row order.
#pragma once
#include <string>

#include "image.h"

// Returns false if the file cannot be written completely.
bool writeBmp(const std::string& path, const Image& image);
