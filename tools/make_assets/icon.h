// The desktop icon: the mouth of a stone tunnel with a fire burning inside,
// on a rounded square with transparent corners. Drawn once at 256 x 256,
// bold enough to read at 16 x 16, and averaged down to each smaller size.
// Always the same picture.
#pragma once
#include "image.h"

constexpr int kIconMasterSize = 256;

// The icon at kIconMasterSize; rows top first, as a PNG stores them.
RgbaImage makeIcon();

// `master` averaged down to `size` x `size` (size at most master's size):
// each pixel takes the share of every master pixel it covers.
RgbaImage shrinkIcon(const RgbaImage& master, int size);
