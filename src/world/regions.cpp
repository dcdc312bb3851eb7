#include "world/regions.h"

// Two 4 x 4 rooms, 2 high, joined by a corridor 2 wide, 11 long and 1 high.
WorldObject worldObjects[kWorldObjectSlots] = {
    {-2.0f, 11.0f, 2.0f, 15.0f, 2.0f, nullptr, nullptr},  // far room
    {-1.0f, 0.0f, 1.0f, 11.0f, 1.0f, nullptr, nullptr},   // corridor
    {-2.0f, -4.0f, 2.0f, 0.0f, 2.0f, nullptr, nullptr},   // near room
};
int worldObjectCount = kWorldObjectSlots;

int findRegion(float x, float z) {
  for (int i = 0; i < worldObjectCount; ++i) {
    const WorldObject& r = worldObjects[i];
    if (r.xMin <= x && x <= r.xMax && r.zMin <= z && z <= r.zMax) return i;
  }
  return -1;
}
