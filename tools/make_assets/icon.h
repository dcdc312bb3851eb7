// The desktop icon: the mouth of a stone tunnel with a fire burning inside,
// on a rounded square with transparent corners. Drawn large enough for 128 x
// 128 and bold enough to read at 32 x 32. Always the same picture.
#pragma once
#include "image.h"

constexpr int kIconSize = 128;

// Rows top first, as a PNG stores them.
RgbaImage makeIcon();
