// The procedural pictures: two glow sprites drawn as additive billboards and
// three tileable surface textures. Each call always returns the same picture.
#pragma once
#include "image.h"

// Soft, billowy puff: bright centre, black well inside the borders.
Image makeSmokePuff();
// Glowing ball: white-hot core fading radially to black.
Image makeGlowSphere();
// Organic wall of bulging cells and raised veins; tiles seamlessly.
Image makeAlienWall();
// Brown earth with pebbles and near-black specks; tiles seamlessly.
Image makeDirtFloor();
// Ridged, pitted rock for the ceiling; tiles seamlessly.
Image makeRockCeiling();
