// The region map and the player's walk over it, sliding along walls.
#include <gtest/gtest.h>

#include <cmath>

#include "core/frame_clock.h"
#include "core/input_state.h"
#include "game/player.h"
#include "support/state.h"
#include "world/regions.h"

namespace {

class Regions : public ::testing::Test {
 protected:
  void SetUp() override { restoreProgramState(); }
  void TearDown() override { restoreProgramState(); }
};

TEST_F(Regions, SharedEdgesBelongToTheLowerIndex) {
  EXPECT_EQ(findRegion(0.0f, 11.0f), kFarRoom);
  EXPECT_EQ(findRegion(-1.0f, 11.0f), kFarRoom);
  EXPECT_EQ(findRegion(0.0f, 0.0f), kCorridor);
  EXPECT_EQ(findRegion(1.0f, 0.0f), kCorridor);
  EXPECT_EQ(findRegion(0.0f, -0.001f), kNearRoom);
  EXPECT_EQ(findRegion(0.0f, 11.001f), kFarRoom);
  EXPECT_EQ(findRegion(0.0f, 10.999f), kCorridor);
  // The far room's front wall line beside the corridor belongs to the room,
  // the near room's back wall line likewise.
  EXPECT_EQ(findRegion(-1.5f, 11.0f), kFarRoom);
  EXPECT_EQ(findRegion(1.5f, 0.0f), kNearRoom);
}

TEST_F(Regions, CornersAreInsideAndJustBeyondIsWall) {
  EXPECT_EQ(findRegion(2.0f, 15.0f), kFarRoom);
  EXPECT_EQ(findRegion(-2.0f, -4.0f), kNearRoom);
  EXPECT_EQ(findRegion(2.001f, 13.0f), -1);
  EXPECT_EQ(findRegion(0.0f, 15.001f), -1);
  EXPECT_EQ(findRegion(0.0f, -4.001f), -1);
  EXPECT_EQ(findRegion(1.5f, 5.0f), -1);  // beside the corridor
  EXPECT_EQ(findRegion(-1.001f, 5.0f), -1);
  EXPECT_EQ(findRegion(1.0f, 5.0f), kCorridor);
}

TEST_F(Regions, NoRegionsMeansEverythingIsWall) {
  worldObjectCount = 0;
  for (float z : {-2.0f, 0.0f, 5.0f, 11.0f, 13.0f}) EXPECT_EQ(findRegion(0.0f, z), -1) << z;
}

class Walking : public Regions {
 protected:
  static void placePlayer(double x, double z, double heading) {
    player.x = x;
    player.z = z;
    player.heading = heading;
  }
  static void walk(int keys, float frameDelta, int frames) {
    arrowKeys = keys;
    delta = frameDelta;
    for (int i = 0; i < frames; ++i) movePlayer();
  }
};

TEST_F(Walking, StepIsTwiceTheFrameTimeAlongTheHeading) {
  placePlayer(0.0, 13.0, 0.0);  // heading 0 looks along -z
  walk(ArrowUp, 0.05f, 1);
  EXPECT_DOUBLE_EQ(player.x, 0.0);
  EXPECT_NEAR(player.z, 12.9, 1e-6);
  walk(ArrowDown, 0.1f, 1);
  EXPECT_NEAR(player.z, 13.1, 1e-6);
  walk(ArrowRight, 0.1f, 1);
  EXPECT_NEAR(player.x, 0.2, 1e-6);
  walk(ArrowLeft, 0.05f, 1);
  EXPECT_NEAR(player.x, 0.1, 1e-6);

  placePlayer(0.0, 13.0, 90.0);  // now forward is +x, right is +z
  walk(ArrowUp, 0.1f, 1);
  EXPECT_NEAR(player.x, 0.2, 1e-6);
  EXPECT_NEAR(player.z, 13.0, 1e-6);
  walk(ArrowRight, 0.1f, 1);
  EXPECT_NEAR(player.x, 0.2, 1e-6);
  EXPECT_NEAR(player.z, 13.2, 1e-6);
  EXPECT_DOUBLE_EQ(player.y, 0.5);
  EXPECT_DOUBLE_EQ(player.heading, 90.0);
}

TEST_F(Walking, TwoKeysMakeTwoSeparateSteps) {
  placePlayer(0.0, 13.0, 0.0);
  walk(ArrowUp | ArrowRight, 0.1f, 1);
  EXPECT_NEAR(player.x, 0.2, 1e-6);
  EXPECT_NEAR(player.z, 12.8, 1e-6);
}

TEST_F(Walking, WalkingIntoAWallStopsAtTheLastFullStep) {
  placePlayer(0.0, 13.0, 0.0);
  walk(ArrowDown, 0.075f, 30);  // steps of 0.15 toward the back wall at z 15
  EXPECT_NEAR(player.z, 14.95, 1e-5);
  EXPECT_DOUBLE_EQ(player.x, 0.0);
}

TEST_F(Walking, ADiagonalIntoAWallSlidesAlongIt) {
  placePlayer(0.95, 5.0, 45.0);  // forward is (+x, -z); the corridor wall is at x 1
  walk(ArrowUp, 0.1f, 1);
  EXPECT_DOUBLE_EQ(player.x, 0.95);
  EXPECT_NEAR(player.z, 5.0 - 0.2 * std::sqrt(0.5), 1e-6);
}

TEST_F(Walking, WhenBothSlidesAreOpenTheXStepWins) {
  // Just inside the near room below the corridor's corner at (1, 0); the
  // diagonal goes into the wall beside the corridor, but x alone stays in the
  // room and z alone enters the corridor.
  placePlayer(0.95, -0.05, 135.0);  // forward is (+x, +z)
  walk(ArrowUp, 0.1f, 1);
  EXPECT_NEAR(player.x, 0.95 + 0.2 * std::sqrt(0.5), 1e-6);
  EXPECT_DOUBLE_EQ(player.z, -0.05);
}

TEST_F(Walking, AStepBlockedOnBothAxesIsDropped) {
  placePlayer(2.0, 15.0, 135.0);  // the far room's back corner, walking out of it
  walk(ArrowUp, 0.1f, 3);
  EXPECT_DOUBLE_EQ(player.x, 2.0);
  EXPECT_DOUBLE_EQ(player.z, 15.0);
}

TEST_F(Walking, OppositeKeysCancelUnlessOneIsRefused) {
  placePlayer(0.0, 13.0, 30.0);
  walk(ArrowLeft | ArrowRight | ArrowUp | ArrowDown, 0.1f, 5);
  EXPECT_NEAR(player.x, 0.0, 1e-12);
  EXPECT_NEAR(player.z, 13.0, 1e-12);

  // Against the side wall the left step is refused, the right one is not.
  placePlayer(-2.0, 13.0, 0.0);
  walk(ArrowLeft | ArrowRight, 0.1f, 1);
  EXPECT_NEAR(player.x, -1.8, 1e-6);
  EXPECT_DOUBLE_EQ(player.z, 13.0);
}

TEST_F(Walking, CorridorAndRoomsJoinWithoutAGap) {
  placePlayer(0.0, 8.0, 0.0);
  walk(ArrowDown, 0.1f, 40);  // into the far room, up to its back wall
  EXPECT_NEAR(player.z, 15.0, 1e-4);
  walk(ArrowUp, 0.1f, 100);  // all the way through the corridor into the near room
  EXPECT_NEAR(player.z, -4.0, 1e-4);
  EXPECT_NEAR(player.x, 0.0, 1e-9);

  // Along the near room's back wall line, outside the corridor's width.
  placePlayer(0.0, 0.0, 0.0);
  walk(ArrowRight, 0.1f, 10);
  EXPECT_NEAR(player.x, 2.0, 1e-4);
  EXPECT_DOUBLE_EQ(player.z, 0.0);
}

TEST_F(Walking, OutsideTheMapOnlyAStepBackInsideIsTaken) {
  placePlayer(1.1, 5.0, 0.0);  // just beside the corridor
  walk(ArrowRight, 0.1f, 3);
  walk(ArrowUp | ArrowDown, 0.1f, 3);
  EXPECT_DOUBLE_EQ(player.x, 1.1);
  EXPECT_DOUBLE_EQ(player.z, 5.0);
  walk(ArrowLeft, 0.1f, 1);
  EXPECT_NEAR(player.x, 0.9, 1e-6);
  EXPECT_EQ(findRegion(static_cast<float>(player.x), static_cast<float>(player.z)), kCorridor);
}

}  // namespace
