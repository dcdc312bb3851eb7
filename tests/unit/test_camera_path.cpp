// The automatic fly-through along the eight waypoints and the mode rules of
// the view step.
#include <gtest/gtest.h>

#include <cmath>

#include "core/frame_clock.h"
#include "core/input_state.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "game/camera_path.h"
#include "game/player.h"
#include "support/state.h"

namespace {

// The ease of the path: share of the way from one waypoint to the next.
double ease(double t) { return (1.0 - std::cos(t * std::acos(-1.0))) * 0.5; }

// Straight-line length of the first leg and of the closing leg, from the
// waypoint coordinates (-0.5, 0.25, 9.5), (1, 0.7, 12.4) and (0.71, 0.6, 5.8).
const double kFirstLeg = std::sqrt(1.5 * 1.5 + 0.45 * 0.45 + 2.9 * 2.9);
const double kClosingLeg = std::sqrt(1.21 * 1.21 + 0.35 * 0.35 + 3.7 * 3.7);

class CameraPath : public ::testing::Test {
 protected:
  void SetUp() override { restoreProgramState(); }
  void TearDown() override { restoreProgramState(); }
};

TEST_F(CameraPath, FirstFrameBarelyLeavesTheFirstWaypoint) {
  delta = 0.05f;
  advanceCameraPath();
  const double t = 0.5 * 0.05 / kFirstLeg;
  EXPECT_NEAR(pathT, 0.00759, 1e-5);
  EXPECT_NEAR(pathT, t, 1e-6);
  EXPECT_EQ(pathFrom, 0);
  EXPECT_EQ(pathTo, 1);
  const double s = ease(t);
  EXPECT_NEAR(player.x, -0.5 + 1.5 * s, 1e-6);
  EXPECT_NEAR(player.y, 0.25 + 0.45 * s, 1e-6);
  EXPECT_NEAR(player.z, 9.5 + 2.9 * s, 1e-5);
  EXPECT_NEAR(player.pitch, 5.0 - 25.0 * s, 1e-5);
  EXPECT_NEAR(player.heading, 172.0 + 28.0 * s, 1e-4);
  EXPECT_GT(player.x, -0.5);  // already on its way
}

TEST_F(CameraPath, PassingAWaypointCarriesTheRemainderIntoTheNextLeg) {
  pathT = 0.99f;
  delta = static_cast<float>(0.03 * kFirstLeg / 0.5);  // a step of 0.03 of the leg
  advanceCameraPath();
  EXPECT_EQ(pathFrom, 1);
  EXPECT_EQ(pathTo, 2);
  EXPECT_NEAR(pathT, 0.02, 1e-5);
  // The eye is blended on the new leg, just past waypoint 1
  // (1, 0.7, 12.4, pitch -20, heading 200) toward waypoint 2
  // (-0.44, 0.8, 13, pitch -5, heading 270).
  const double s = ease(0.02);
  EXPECT_NEAR(player.x, 1.0 - 1.44 * s, 1e-4);
  EXPECT_NEAR(player.y, 0.7 + 0.1 * s, 1e-4);
  EXPECT_NEAR(player.z, 12.4 + 0.6 * s, 1e-4);
  EXPECT_NEAR(player.pitch, -20.0 + 15.0 * s, 1e-3);
  EXPECT_NEAR(player.heading, 200.0 + 70.0 * s, 1e-3);
}

TEST_F(CameraPath, TheLastLegWrapsToTheFirst) {
  pathFrom = 7;
  pathTo = 0;
  pathT = 0.999f;
  delta = 0.05f;
  advanceCameraPath();
  EXPECT_EQ(pathFrom, 0);
  EXPECT_EQ(pathTo, 1);
  EXPECT_NEAR(pathT, 0.999 + 0.5 * 0.05 / kClosingLeg - 1.0, 1e-5);
  EXPECT_NEAR(player.x, -0.5, 1e-3);
  EXPECT_NEAR(player.z, 9.5, 1e-3);
  EXPECT_NEAR(player.heading, 172.0, 1e-2);
}

TEST_F(CameraPath, AWholeLoopMovesTheEyeSmoothlyThroughEveryWaypoint) {
  delta = 0.05f;
  advanceCameraPath();  // puts the eye onto the path
  double x = player.x, y = player.y, z = player.z;
  double pitch = player.pitch, heading = player.heading;
  int legChanges = 0;
  bool wrapped = false;
  // 80 s: the loop of about 35.6 units at 0.5 units per second takes 71 s.
  for (int frame = 0; frame < 1600; ++frame) {
    const int from = pathFrom;
    advanceCameraPath();
    if (pathFrom != from) {
      ++legChanges;
      ASSERT_EQ(pathFrom, (from + 1) % kWaypointCount);
      wrapped = wrapped || pathFrom == 0;
    }
    ASSERT_EQ(pathTo, (pathFrom + 1) % kWaypointCount);
    ASSERT_GE(pathT, 0.0f);
    ASSERT_LT(pathT, 1.0f);
    // Fastest mid-leg, at pi/2 times 0.5 units per second: under 0.04 a frame.
    const double moved =
        std::sqrt((player.x - x) * (player.x - x) + (player.y - y) * (player.y - y) +
                  (player.z - z) * (player.z - z));
    ASSERT_LT(moved, 0.045) << "frame " << frame << " leg " << pathFrom;
    ASSERT_LT(std::fabs(player.heading - heading), 2.5) << "frame " << frame;
    ASSERT_LT(std::fabs(player.pitch - pitch), 2.5) << "frame " << frame;
    x = player.x, y = player.y, z = player.z;
    pitch = player.pitch, heading = player.heading;
  }
  EXPECT_GE(legChanges, kWaypointCount);
  EXPECT_TRUE(wrapped);
}

TEST_F(CameraPath, ManualModeTurnsByThePointerOffsetEveryCallEvenPaused) {
  settings.cameraMode = 1;
  player = Player{0.5, 0.5, 12.0, 1.0, 30.0, 0};
  mouseDX = 10;
  mouseDY = -5;
  delta = 0.05f;
  for (int i = 0; i < 3; ++i) applyView();
  EXPECT_NEAR(player.heading, 36.0, 1e-9);
  EXPECT_NEAR(player.pitch, -0.5, 1e-9);
  paused = 1;
  applyView();
  EXPECT_NEAR(player.heading, 38.0, 1e-9);
  EXPECT_NEAR(player.pitch, -1.0, 1e-9);
  // Turning never moves the eye or the path.
  EXPECT_DOUBLE_EQ(player.x, 0.5);
  EXPECT_DOUBLE_EQ(player.z, 12.0);
  EXPECT_EQ(pathFrom, 0);
  EXPECT_FLOAT_EQ(pathT, 0.0f);
}

TEST_F(CameraPath, AutomaticModeFollowsThePathAndIgnoresThePointer) {
  mouseDX = 10;
  mouseDY = -5;
  delta = 0.05f;
  applyView();
  EXPECT_GT(pathT, 0.0f);
  EXPECT_NEAR(player.heading, 172.0, 0.01);
  EXPECT_NEAR(player.pitch, 5.0, 0.01);
  EXPECT_NEAR(player.x, -0.5, 0.001);
}

TEST_F(CameraPath, PausedAutomaticModeAndUnknownModesChangeNothing) {
  player = Player{0.5, 0.5, 12.0, 1.0, 30.0, 0};
  pathT = 0.4f;
  mouseDX = 10;
  mouseDY = -5;
  delta = 0.05f;
  paused = 1;
  applyView();
  paused = 0;
  settings.cameraMode = 2;
  applyView();
  EXPECT_FLOAT_EQ(pathT, 0.4f);
  EXPECT_EQ(pathFrom, 0);
  EXPECT_DOUBLE_EQ(player.x, 0.5);
  EXPECT_DOUBLE_EQ(player.z, 12.0);
  EXPECT_DOUBLE_EQ(player.pitch, 1.0);
  EXPECT_DOUBLE_EQ(player.heading, 30.0);
}

}  // namespace
