// The rooms and the corridor on a real context: textured walls where the map
// puts them, the open strip above the corridor mouth, the fire and smoke the
// rooms feed, the GL state they leave, and which regions the world pass
// feeds and draws from where the player stands, in which order.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "scene/projection.h"
#include "core/frame_clock.h"
#include "core/input_state.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "game/camera_path.h"
#include "game/combat.h"
#include "game/player.h"
#include "gfx/fog.h"
#include "gfx/textures.h"
#include "gl/gl_support.h"
#include "particles/particles.h"
#include "support/state.h"
#include "world/regions.h"
#include "world/tunnel.h"

namespace {
constexpr int kTestWidth = 640;
constexpr int kTestHeight = 480;
constexpr int kLitThreshold = 8;
constexpr int kMiddleRow = kTestHeight / 2;

class TunnelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreProgramState();
    resizeTestWindow(kTestWidth, kTestHeight);
    loadTestResources();
    setUpFog();
    clearToBlack();
    seconds = 5.0f;
  }
  void TearDown() override { restoreProgramState(); }
};

// The eye at a point of the map, turned, through the program's own view step.
void lookFrom(double x, double y, double z, double heading) {
  settings.cameraMode = 1;
  mouseDX = 0;
  mouseDY = 0;
  player.x = x;
  player.y = y;
  player.z = z;
  player.pitch = 0.0;
  player.heading = heading;
  applyCamera();
  applyView();
}

int brightness(const Rgb& c) { return (c.r + c.g + c.b) / 3; }

bool lit(int column, int row) { return brightness(pixelAt(column, row)) > kLitThreshold; }

// First lit column on the middle row, walking from the centre by step.
int firstLitColumnFromCentre(int step) {
  for (int x = kTestWidth / 2; x >= 0 && x < kTestWidth; x += step) {
    if (lit(x, kMiddleRow)) return x;
  }
  return -1;
}

// Where a point at sideways offset `across` on a wall `distance` ahead lands.
double screenColumn(double across, double distance) {
  const double halfWidth = distance * std::tan(35.0 / 57.2958) * kTestWidth / kTestHeight;
  return (kTestWidth - 1) / 2.0 + across / halfWidth * kTestWidth / 2.0;
}

int distinctShades(int row, int from, int to) {
  std::set<int> shades;
  for (int x = from; x < to; x += 2) shades.insert(brightness(pixelAt(x, row)));
  return static_cast<int>(shades.size());
}

// Region callbacks that only record that they ran.
std::vector<int> drawn;
std::vector<int> fed;
void recordFarRoom() { drawn.push_back(kFarRoom); }
void recordCorridor() { drawn.push_back(kCorridor); }
void recordNearRoom() { drawn.push_back(kNearRoom); }
void recordFarRoomFeed() { fed.push_back(kFarRoom); }
void recordNearRoomFeed() { fed.push_back(kNearRoom); }

std::vector<int> regionsDrawnFrom(double x, double z) {
  drawn.clear();
  fed.clear();
  player.x = x;
  player.z = z;
  drawWorld();
  return drawn;
}

void expectCallbackCleanState(const char* name) {
  EXPECT_FALSE(glIsEnabled(GL_FOG)) << name;
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST)) << name;
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << name;
  GLfloat color[4];
  glGetFloatv(GL_CURRENT_COLOR, color);
  EXPECT_NEAR(color[0], 0.75f * fadeLevel, 1e-3) << name;  // the floor's shade
  EXPECT_NEAR(color[3], 1.0f, 1e-6) << name;
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), textureSet.names[FloorSlot]) << name;
}
}  // namespace

TEST_F(TunnelTest, FarRoomEndWallIsTexturedAndLit) {
  lookFrom(0.0, 1.0, 13.0, 180.0);  // facing the end wall two units away
  drawFarRoom();
  EXPECT_GT(brightness(pixelAt(kTestWidth / 2, kMiddleRow)), 30);
  EXPECT_GT(distinctShades(kMiddleRow, 160, 480), 15);
  expectCallbackCleanState("drawFarRoom");
}

TEST_F(TunnelTest, MissingPicturesDrawFlatColour) {
  TextureSet saved = textureSet;
  for (int slot : {WallSlot, FloorSlot, CeilingSlot}) textureSet.names[slot] = 0;
  lookFrom(0.0, 1.0, 13.0, 180.0);
  drawFarRoom();
  const int shades = distinctShades(kMiddleRow, 160, 480);
  const int centre = brightness(pixelAt(kTestWidth / 2, kMiddleRow));
  textureSet = saved;
  EXPECT_LE(shades, 2);
  EXPECT_GT(centre, 100);  // fadeLevel white under a little fog
}

TEST_F(TunnelTest, KeyTTurnsTexturingOffToTheFlatColourOfMissingPictures) {
  lookFrom(0.0, 1.0, 13.0, 180.0);
  const auto picture = [] {
    clearToBlack();
    drawFarRoom();
    return readRegion(0, kTestWidth, 0, kTestHeight);
  };
  const std::vector<uint8_t> textured = picture();
  settings.textures = 0;
  const std::vector<uint8_t> off = picture();
  settings.textures = 1;
  TextureSet saved = textureSet;
  for (int slot : {WallSlot, FloorSlot, CeilingSlot}) textureSet.names[slot] = 0;
  const std::vector<uint8_t> missing = picture();
  textureSet = saved;
  EXPECT_TRUE(off == missing);
  EXPECT_FALSE(off == textured);
}

TEST_F(TunnelTest, StripAboveTheCorridorMouthIsLeftOpen) {
  // Above the corridor's ceiling, looking back at the entrance wall.
  lookFrom(0.0, 1.5, 13.5, 0.0);
  drawFarRoom();
  EXPECT_FALSE(lit(kTestWidth / 2, kMiddleRow));
  // The opening spans x -1 .. 1 on the wall 2.5 ahead.
  EXPECT_NEAR(firstLitColumnFromCentre(1), screenColumn(1.0, 2.5), 3.0);
  EXPECT_NEAR(firstLitColumnFromCentre(-1), screenColumn(-1.0, 2.5), 3.0);
}

TEST_F(TunnelTest, NearRoomIsTheFarRoomTurnedHalfAround) {
  GLfloat before[16];
  GLfloat after[16];

  lookFrom(0.0, 1.0, -2.0, 0.0);  // facing its end wall at z = -4
  glGetFloatv(GL_MODELVIEW_MATRIX, before);
  drawNearRoom();
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  EXPECT_GT(brightness(pixelAt(kTestWidth / 2, kMiddleRow)), 30);
  EXPECT_GT(distinctShades(kMiddleRow, 160, 480), 15);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(before[i], after[i]) << i;

  // Facing its entrance wall at z = 0 from 2.5 away: the same opening.
  clearToBlack();
  lookFrom(0.0, 1.5, -2.5, 180.0);
  drawNearRoom();
  EXPECT_FALSE(lit(kTestWidth / 2, kMiddleRow));
  EXPECT_NEAR(firstLitColumnFromCentre(1), screenColumn(1.0, 2.5), 3.0);
  EXPECT_NEAR(firstLitColumnFromCentre(-1), screenColumn(-1.0, 2.5), 3.0);
  expectCallbackCleanState("drawNearRoom");
}

TEST_F(TunnelTest, CorridorWallsShowOnBothSides) {
  fadeLevel = 0.8f;
  lookFrom(0.0, 0.5, 8.0, 0.0);  // down the corridor toward the near room
  drawCorridor();
  EXPECT_TRUE(lit(20, kMiddleRow));
  EXPECT_TRUE(lit(kTestWidth - 20, kMiddleRow));
  EXPECT_FALSE(lit(kTestWidth / 2, kMiddleRow));  // the open far end
  expectCallbackCleanState("drawCorridor");
}

TEST_F(TunnelTest, FireStartsOnlyAfterItsIntervalHasStrictlyPassed) {
  lookFrom(0.0, 1.0, 13.0, 180.0);
  particleSystem.lastEmitTime[Flame] = 4.0f;
  seconds = particleSystem.lastEmitTime[Flame] + particleSystem.emitInterval[Flame];
  feedFarRoom();
  EXPECT_EQ(liveCount(Flame), 0);

  seconds += 0.001;  // the clock's next millisecond
  feedFarRoom();
  ASSERT_EQ(liveCount(Flame), 1);
  const Particle& flame = particleSystem.slots[0];
  EXPECT_FLOAT_EQ(flame.position[0], -1.5f);
  EXPECT_FLOAT_EQ(flame.position[1], 0.4f);
  EXPECT_GE(flame.position[2], 12.5f);
  EXPECT_LT(flame.position[2], 13.5f);
  EXPECT_EQ(flame.birthTime, seconds);
}

TEST_F(TunnelTest, SmokeStartsOnlyAfterItsIntervalHasStrictlyPassed) {
  lookFrom(0.0, 1.0, -2.0, 0.0);
  particleSystem.lastEmitTime[Smoke] = 4.0f;
  seconds = particleSystem.lastEmitTime[Smoke] + particleSystem.emitInterval[Smoke];
  feedNearRoom();
  EXPECT_EQ(liveCount(Smoke), 0);
  seconds += 0.001;  // the clock's next millisecond
  feedNearRoom();
  EXPECT_EQ(liveCount(Smoke), 1);
}

TEST_F(TunnelTest, SmokeRisesFromAllOverTheNearRoomFloor) {
  lookFrom(0.0, 1.0, -2.0, 0.0);
  for (int i = 0; i < 60; ++i) {
    seconds += 0.25f;
    feedNearRoom();
  }
  ASSERT_EQ(liveCount(Smoke), 60);
  float minX = 10.0f, maxX = -10.0f, minZ = 10.0f, maxZ = -10.0f;
  for (const Particle& p : particleSystem.slots) {
    if (p.active == 0) continue;
    EXPECT_FLOAT_EQ(p.position[1], 0.2f);
    minX = std::fmin(minX, p.position[0]);
    maxX = std::fmax(maxX, p.position[0]);
    minZ = std::fmin(minZ, p.position[2]);
    maxZ = std::fmax(maxZ, p.position[2]);
  }
  EXPECT_GE(minX, -2.0f);
  EXPECT_LT(maxX, 2.0f);
  EXPECT_GT(minZ, -4.0f);
  EXPECT_LE(maxZ, 0.0f);
  // Spread over the floor, not bunched in one corner.
  EXPECT_GT(maxX - minX, 3.0f);
  EXPECT_GT(maxZ - minZ, 3.0f);
}

TEST_F(TunnelTest, WorldPassSkipsRegionsWhoseCornerIsNineteenAway) {
  worldObjects[kFarRoom].draw = recordFarRoom;
  worldObjects[kCorridor].draw = recordCorridor;
  worldObjects[kNearRoom].draw = recordNearRoom;
  const std::vector<int> all = {kFarRoom, kCorridor, kNearRoom};
  const std::vector<int> notNear = {kFarRoom, kCorridor};
  EXPECT_EQ(regionsDrawnFrom(0.0, 13.0), all);
  EXPECT_EQ(regionsDrawnFrom(0.0, 14.99), all);
  EXPECT_EQ(regionsDrawnFrom(0.0, 15.0), notNear);  // the near room's corner is at z -4
  EXPECT_EQ(regionsDrawnFrom(17.0, 5.0), std::vector<int>{kCorridor});
  EXPECT_EQ(regionsDrawnFrom(-21.0, 5.0), std::vector<int>{});
  EXPECT_EQ(regionsDrawnFrom(0.0, -7.9), (std::vector<int>{kNearRoom, kCorridor, kFarRoom}));
  EXPECT_EQ(regionsDrawnFrom(0.0, -8.0), (std::vector<int>{kNearRoom, kCorridor}));
}

TEST_F(TunnelTest, WorldPassSkipsMissingCallbacksAndUnusedSlots) {
  worldObjects[kFarRoom].draw = recordFarRoom;
  worldObjects[kNearRoom].draw = recordNearRoom;
  EXPECT_EQ(regionsDrawnFrom(0.0, 5.0), (std::vector<int>{kNearRoom, kFarRoom}));
  worldObjectCount = 2;
  EXPECT_EQ(regionsDrawnFrom(0.0, 5.0), std::vector<int>{kFarRoom});
}

TEST_F(TunnelTest, WorldPassFeedsInMapOrderAndDrawsNearestFirst) {
  worldObjects[kFarRoom].draw = recordFarRoom;
  worldObjects[kCorridor].draw = recordCorridor;
  worldObjects[kNearRoom].draw = recordNearRoom;
  worldObjects[kFarRoom].feed = recordFarRoomFeed;
  worldObjects[kNearRoom].feed = recordNearRoomFeed;
  struct Case {
    double x, z;
    std::vector<int> order;
  };
  const Case cases[] = {
      {0.0, 13.0, {kFarRoom, kCorridor, kNearRoom}},
      {0.5, 4.0, {kCorridor, kNearRoom, kFarRoom}},
      {0.5, 8.0, {kCorridor, kFarRoom, kNearRoom}},
      {-1.5, -2.0, {kNearRoom, kCorridor, kFarRoom}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(regionsDrawnFrom(c.x, c.z), c.order) << c.x << ", " << c.z;
    EXPECT_EQ(fed, (std::vector<int>{kFarRoom, kNearRoom})) << c.x << ", " << c.z;
  }
}

// Drawing nearest first must not change the picture. The reference draws
// the regions in map order, as the program did before; every point of the
// camera path is compared pixel by pixel. Where an edge of one surface ends
// partway along another's (the entrance walls against the ceiling, floor and
// corridor), a pixel on the seam can be covered by both at the same depth,
// and then the order decides it; the fog's cuts put corners on such seams,
// so a few seam pixels may differ.
TEST_F(TunnelTest, NearestFirstDrawsTheSamePictureAsMapOrder) {
  constexpr int kSeamPixels = 4;
  for (int w = 0; w < kWaypointCount; ++w) {
    const CameraWaypoint& at = cameraPath[w];
    const auto picture = [&](bool mapOrder) {
      clearToBlack();
      glClear(GL_DEPTH_BUFFER_BIT);
      lookFrom(at.x, at.y, at.z, at.heading);
      player.pitch = at.pitch;
      applyCamera();
      applyView();
      if (mapOrder) {
        for (int i = 0; i < worldObjectCount; ++i) worldObjects[i].draw();
      } else {
        drawWorld();
      }
      return readRegion(0, kTestWidth, 0, kTestHeight);
    };
    const std::vector<uint8_t> reference = picture(true);
    const std::vector<uint8_t> drawn = picture(false);
    int differing = 0;
    for (size_t i = 0; i < drawn.size(); i += 3) {
      if (drawn[i] != reference[i] || drawn[i + 1] != reference[i + 1] ||
          drawn[i + 2] != reference[i + 2]) {
        ++differing;
      }
    }
    EXPECT_LE(differing, kSeamPixels) << "waypoint " << w;
  }
}
