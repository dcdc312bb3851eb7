// The view: the player's eye put on the model-view matrix every frame. In
// automatic mode the eye flies a closed loop of eight eased waypoints; in
// manual mode the mouse turns it and the arrow keys walk it.
#pragma once

struct CameraWaypoint {
  float x, y, z;
  float pitch;    // degrees about x
  float heading;  // degrees about y
};

constexpr int kWaypointCount = 8;
extern const CameraWaypoint cameraPath[kWaypointCount];

extern int pathFrom;  // waypoint being left
extern int pathTo;    // waypoint being approached
extern float pathT;   // progress along the leg, 0 <= pathT < 1

void advanceCameraPath();
void applyView();
