// The first-person player: eye position and angles, and the walk over the
// floor plane from the held arrow keys, sliding along walls.
#pragma once

struct Player {
  double x;        // across the corridor
  double y;        // eye height; never changed by walking
  double z;        // along the corridor
  double pitch;    // degrees about x
  double heading;  // degrees about y; 0 looks along -z
  int deaths;
};

extern Player player;

constexpr float kWalkSpeed = 2.0f;  // world units per second per held arrow key

void resetPlayerPosition();  // (0, 0.5, 13) in the far room; the angles stay
void movePlayer();
