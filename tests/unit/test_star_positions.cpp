// Where the stars of the universe may lie, for each shape of the shell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/random.h"
#include "gfx/stars.h"
#include "support/state.h"
#include "unit/reference_random.h"

namespace {

constexpr float kOuter = 20.0f;
constexpr float kInner = 15.0f;
constexpr int kStars = 3000;

class StarPositions : public ::testing::Test {
 protected:
  void SetUp() override { restoreProgramState(); }
  void TearDown() override { restoreProgramState(); }
};

TEST_F(StarPositions, CubeShellStarsLieBetweenTheInnerAndOuterCube) {
  seedRandom(1);
  double lowest = 0.0;
  double highest = 0.0;
  int nearInnerCube = 0;
  for (int i = 0; i < kStars; ++i) {
    double x, y, z;
    pickStarPosition(kOuter, kInner, CubeShell, &x, &y, &z);
    for (double v : {x, y, z}) {
      ASSERT_GE(v, -20.0);
      ASSERT_LT(v, 20.0);
      // Each coordinate is a draw of 40 / 32768 steps moved down by 20.
      const double steps = (v + 20.0) * 32768.0 / 40.0;
      ASSERT_NEAR(steps, std::round(steps), 1e-6);
    }
    const double reach = std::max({std::fabs(x), std::fabs(y), std::fabs(z)});
    ASSERT_GE(reach, 15.01) << i;
    nearInnerCube += reach < 15.5;
    lowest = std::min({lowest, x, y, z});
    highest = std::max({highest, x, y, z});
  }
  EXPECT_LT(lowest, -19.9);
  EXPECT_GT(highest, 19.9);
  EXPECT_GT(nearInnerCube, 0);
}

TEST_F(StarPositions, EachTryDrawsXThenYThenZUntilOneIsAccepted) {
  seedRandom(5);
  double x, y, z;
  pickStarPosition(kOuter, kInner, CubeShell, &x, &y, &z);

  ReferenceRandom r(5);
  double ex, ey, ez;
  int tries = 0;
  do {
    ex = r.value(40.0) - 20.0;
    ey = r.value(40.0) - 20.0;
    ez = r.value(40.0) - 20.0;
    ++tries;
  } while (std::max({std::fabs(ex), std::fabs(ey), std::fabs(ez)}) < 15.01);
  EXPECT_DOUBLE_EQ(x, ex);
  EXPECT_DOUBLE_EQ(y, ey);
  EXPECT_DOUBLE_EQ(z, ez);
  EXPECT_EQ(nextRandom(), r.next()) << "after " << tries << " tries";
}

TEST_F(StarPositions, UpperSphereShellStarsStayAboveTheFloorPlane) {
  seedRandom(2);
  int negativeX = 0;
  for (int i = 0; i < kStars; ++i) {
    double x, y, z;
    pickStarPosition(kOuter, kInner, UpperSphereShell, &x, &y, &z);
    const double d = std::sqrt(x * x + y * y + z * z);
    ASSERT_GE(y, 0.0);
    ASSERT_GE(d, 15.0);
    ASSERT_LE(d, 20.0);
    negativeX += x < 0.0;
  }
  EXPECT_GT(negativeX, kStars / 3);
  EXPECT_LT(negativeX, 2 * kStars / 3);
}

TEST_F(StarPositions, SphereShellStarsFillBothHalves) {
  for (int mode : {static_cast<int>(SphereShell), 7}) {  // any unknown mode is a sphere
    seedRandom(3);
    int below = 0;
    for (int i = 0; i < kStars; ++i) {
      double x, y, z;
      pickStarPosition(kOuter, kInner, mode, &x, &y, &z);
      const double d = std::sqrt(x * x + y * y + z * z);
      ASSERT_GE(d, 15.0) << "mode " << mode;
      ASSERT_LE(d, 20.0) << "mode " << mode;
      below += y < 0.0;
    }
    EXPECT_GT(below, kStars / 3) << "mode " << mode;
    EXPECT_LT(below, 2 * kStars / 3) << "mode " << mode;
  }
}

}  // namespace
