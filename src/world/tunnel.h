// Drawing of the rooms and the corridor: textured, fogged, depth-tested
// quads whose wall textures drift with oscillator channel 12. The rooms'
// feed callbacks keep the fire burning in the far room and the smoke rising
// in the near room; drawing draws and nothing else, so the regions may be
// drawn in any order without touching the random draws.
#pragma once

void drawFarRoom();
void drawCorridor();
void drawNearRoom();
void feedFarRoom();
void feedNearRoom();

// One textured quad each: walls along x (at z) and along z (at x), ceiling, floor.
void drawWallZ(float xFrom, float xTo, float z, float height, float sRepeat, float tRepeat,
               float s0, float t0);
void drawWallX(float zFrom, float zTo, float x, float height, float sRepeat, float tRepeat,
               float s0, float t0);
void drawCeiling(float x, float y, float z, float dx, float dz, float sRepeat, float tRepeat,
                 float s0, float t0);
void drawFloor(float x, float y, float z, float dx, float dz, float sRepeat, float tRepeat,
               float s0, float t0);
