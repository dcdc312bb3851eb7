// The map: axis-aligned floor rectangles, each with a ceiling height, a draw
// callback and a feed callback (the particles it adds while the eye is near).
// A point of the floor is open when a region holds it.
#pragma once

struct WorldObject {
  float xMin;
  float zMin;
  float xMax;
  float zMax;
  float height;
  void (*draw)();  // null until the textures are loaded
  void (*feed)();  // null for a region that feeds nothing
};

constexpr int kFarRoom = 0;
constexpr int kCorridor = 1;
constexpr int kNearRoom = 2;
constexpr int kWorldObjectSlots = 3;

extern WorldObject worldObjects[kWorldObjectSlots];
extern int worldObjectCount;

// Index of the first region whose closed rectangle holds (x, z), or -1 (wall).
int findRegion(float x, float z);
