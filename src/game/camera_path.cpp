#include "game/camera_path.h"

#include <GL/gl.h>

#include <cmath>

#include "core/easing.h"
#include "core/frame_clock.h"
#include "core/input_state.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "game/player.h"

// Headings are blended without wrapping: 320 to 380 is a turn of +60 degrees.
const CameraWaypoint cameraPath[kWaypointCount] = {
    {-0.5f, 0.25f, 9.5f, 5.0f, 172.0f},    // corridor, near its far end
    {1.0f, 0.7f, 12.4f, -20.0f, 200.0f},   // far room
    {-0.44f, 0.8f, 13.0f, -5.0f, 270.0f},  // far room
    {0.73f, 0.6f, 4.8f, -6.0f, 320.0f},    // corridor
    {-0.5f, 0.4f, 1.5f, 0.0f, 380.0f},     // corridor, near end
    {1.48f, 0.8f, -1.6f, -30.0f, 300.0f},  // near room
    {-0.8f, 0.7f, -2.8f, -10.0f, 185.0f},  // near room
    {0.71f, 0.6f, 5.8f, 5.0f, 160.0f},     // corridor
};

int pathFrom = 0;
int pathTo = 1;
float pathT = 0.0f;

namespace {
constexpr float kPathSpeed = 0.5f;      // world units per second along a leg
constexpr double kPitchPerPixel = 0.1;  // degrees per pixel of pointer offset per frame
constexpr double kHeadingPerPixel = 0.2;
}  // namespace

void advanceCameraPath() {
  const CameraWaypoint& from = cameraPath[pathFrom];
  const CameraWaypoint& to = cameraPath[pathTo];
  const float dx = from.x - to.x;
  const float dy = from.y - to.y;
  const float dz = from.z - to.z;
  const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
  pathT += kPathSpeed * delta / distance;
  if (pathT >= 1.0f) {
    // At most one leg per frame; the remainder carries into the next leg.
    pathT -= 1.0f;
    pathFrom = (pathFrom + 1) % kWaypointCount;
    pathTo = (pathTo + 1) % kWaypointCount;
  }
  const CameraWaypoint& a = cameraPath[pathFrom];
  const CameraWaypoint& b = cameraPath[pathTo];
  player.x = cosineBlend(a.x, b.x, pathT);
  player.y = cosineBlend(a.y, b.y, pathT);
  player.z = cosineBlend(a.z, b.z, pathT);
  player.pitch = cosineBlend(a.pitch, b.pitch, pathT);
  player.heading = cosineBlend(a.heading, b.heading, pathT);
}

void applyView() {
  if (settings.cameraMode == 0 && paused == 0) {
    advanceCameraPath();
  } else if (settings.cameraMode == 1) {
    player.pitch += mouseDY * kPitchPerPixel;
    player.heading += mouseDX * kHeadingPerPixel;
  }
  glRotatef(static_cast<float>(player.pitch), 1.0f, 0.0f, 0.0f);
  glRotatef(static_cast<float>(player.heading), 0.0f, 1.0f, 0.0f);
  glTranslatef(static_cast<float>(-player.x), static_cast<float>(-player.y),
               static_cast<float>(-player.z));
}
