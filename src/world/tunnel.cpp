#include "world/tunnel.h"

#include <GL/gl.h>

#include "core/easing.h"
#include "core/frame_clock.h"
#include "core/random.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "gfx/fog.h"
#include "gfx/textures.h"
#include "particles/particles.h"
#include "world/regions.h"

namespace {
constexpr int kDriftChannel = 12;
constexpr float kFloorShade = 0.75f;
constexpr float kFireX = -1.5f;  // half a unit in front of the wall at x = -2
constexpr float kFireY = 0.4f;
constexpr float kFireZ = 12.5f;
constexpr float kSmokeY = 0.2f;

bool due(int kind) {
  return particleSystem.sinceLastEmission(kind, seconds) > particleSystem.emitInterval[kind];
}

// The far room's walls, ceiling and floor in the current frame of reference;
// the near room is the same box turned half a turn.
void drawRoomBox() {
  const WorldObject& r = worldObjects[kFarRoom];
  const float m = static_cast<float>(oscillatorValue(kDriftChannel, 5.0, 5.0, 0.0));
  drawWallZ(r.xMin, r.xMax, r.zMax, r.height, 4, 4, m, m);
  drawWallX(r.zMin, r.zMax, r.xMin, r.height, 4, 4, m, m);
  // Opposite sense, so both side walls wind counter-clockwise seen from inside.
  drawWallX(r.zMax, r.zMin, r.xMax, r.height, 4, 4, m, m);
  // The entrance wall either side of the 2-wide corridor opening.
  drawWallZ(r.xMax, r.xMax - 1, r.zMin, r.height, 2, 4, m, m);
  drawWallZ(r.xMin + 1, r.xMin, r.zMin, r.height, 2, 4, m, m);
  drawCeiling(r.xMin, r.height, r.zMin, 4, 4, 4, 4, 0, 0);
  drawFloor(r.xMin, 0, r.zMin, 4, 4, 4, 4, 0, 0);
}
}  // namespace

namespace {
// One fogged quad with the texture of a slot: corners in order, the texture
// coordinates running (s0, t0), (s0, t0 + tRepeat), (s0 + sRepeat, t0 + tRepeat),
// (s0 + sRepeat, t0). Walls and ceilings take the fade's grey, floors a darker one.
void drawTexturedQuad(int slot, const float corners[4][3], float sRepeat, float tRepeat, float s0,
                      float t0) {
  const float s[4] = {s0, s0, s0 + sRepeat, s0 + sRepeat};
  const float t[4] = {t0, t0 + tRepeat, t0 + tRepeat, t0};
  const float shade = slot == FloorSlot ? kFloorShade * fadeLevel : fadeLevel;
  const float color[4] = {shade, shade, shade, slot == FloorSlot ? 1.0f : fadeLevel};
  glBindTexture(GL_TEXTURE_2D, drawingTexture(textureSet.names[slot]));
  drawFoggedQuad(corners, s, t, color);
}
}  // namespace

void drawWallZ(float xFrom, float xTo, float z, float height, float sRepeat, float tRepeat,
               float s0, float t0) {
  const float corners[4][3] = {{xFrom, 0, z}, {xFrom, height, z}, {xTo, height, z}, {xTo, 0, z}};
  drawTexturedQuad(WallSlot, corners, sRepeat, tRepeat, s0, t0);
}

void drawWallX(float zFrom, float zTo, float x, float height, float sRepeat, float tRepeat,
               float s0, float t0) {
  const float corners[4][3] = {{x, 0, zFrom}, {x, height, zFrom}, {x, height, zTo}, {x, 0, zTo}};
  drawTexturedQuad(WallSlot, corners, sRepeat, tRepeat, s0, t0);
}

void drawCeiling(float x, float y, float z, float dx, float dz, float sRepeat, float tRepeat,
                 float s0, float t0) {
  const float corners[4][3] = {{x, y, z}, {x + dx, y, z}, {x + dx, y, z + dz}, {x, y, z + dz}};
  drawTexturedQuad(CeilingSlot, corners, sRepeat, tRepeat, s0, t0);
}

void drawFloor(float x, float y, float z, float dx, float dz, float sRepeat, float tRepeat,
               float s0, float t0) {
  const float corners[4][3] = {{x, y, z}, {x + dx, y, z}, {x + dx, y, z + dz}, {x, y, z + dz}};
  drawTexturedQuad(FloorSlot, corners, sRepeat, tRepeat, s0, t0);
}

void feedFarRoom() {
  // Checked here as well as in emit only to save the random draw.
  if (due(Flame)) {
    particleSystem.emit(Flame, kFireX, kFireY, kFireZ + static_cast<float>(randomValue(1.0)),
                        seconds, settings.effectScale);
  }
}

void feedNearRoom() {
  if (due(Smoke)) {
    const float x = static_cast<float>(randomValue(4.0) - 2.0);
    const float z = static_cast<float>(-randomValue(4.0));
    particleSystem.emit(Smoke, x, kSmokeY, z, seconds, settings.effectScale);
  }
}

void drawFarRoom() {
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_TEXTURE_2D);
  drawRoomBox();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
}

void drawNearRoom() {
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_TEXTURE_2D);
  glPushMatrix();
  // Half a turn about y and 11 along z puts the far room's box on the near room.
  glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
  glTranslatef(0.0f, 0.0f, -11.0f);
  drawRoomBox();
  glPopMatrix();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
}

void drawCorridor() {
  const WorldObject& c = worldObjects[kCorridor];
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_TEXTURE_2D);
  // The two walls drift in opposite directions.
  const float w = static_cast<float>(oscillatorValue(kDriftChannel, 10.0, 10.0, 0.0));
  const float minusW = static_cast<float>(oscillatorValue(kDriftChannel, 10.0, -10.0, 0.0));
  drawWallX(c.zMin, c.zMax, c.xMin, c.height, 9, 2, w, minusW);
  drawWallX(c.zMax, c.zMin, c.xMax, c.height, 9, 2, minusW, w);
  drawCeiling(c.xMin, c.height, c.zMin, 2, 11, 11, 2, 0, 0);
  drawFloor(c.xMin, 0, c.zMin, 2, 11, 11, 2, 0, 0);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
}
