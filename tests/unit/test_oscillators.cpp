// The oscillator bank: randomising, the pause rule, the rate rules and the
// phase step of each channel group.
#include <gtest/gtest.h>

#include "core/oscillators.h"
#include "core/random.h"
#include "core/settings.h"
#include "support/state.h"
#include "unit/reference_random.h"

namespace {

constexpr int kCount = kOscillatorsInUse;
constexpr int kPausedChannels = 9;  // channels 1..9 stop while paused

class Oscillators : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreProgramState();
    factors = settings;
    factors.rotateSpeed = 2.0f;
    factors.movementSpeed = 3.0f;
    factors.effectScale = 5.0f;
    factors.lightRotateSpeed = 7.0f;
  }
  void TearDown() override { restoreProgramState(); }

  // Every channel in use running at a steady rate equal to its target.
  static void steadyChannels(double rate) {
    for (int i = 0; i < kCount; ++i) {
      oscillators.phase[i] = 0.0;
      oscillators.rate[i] = rate;
      oscillators.targetRate[i] = rate;
      oscillators.running[i] = 1;
    }
  }

  SceneSettings factors;
};

TEST_F(Oscillators, RandomizeDrawsPhaseThenTargetPerChannelInOrder) {
  seedRandom(31337);
  randomizeOscillators(kCount);

  ReferenceRandom reference(31337);
  for (int i = 1; i < kCount; ++i) {
    const double phase = reference.value(360.0);
    const double target = reference.value(0.02) + 0.02;
    EXPECT_DOUBLE_EQ(oscillators.phase[i], phase) << "channel " << i;
    EXPECT_DOUBLE_EQ(oscillators.targetRate[i], target) << "channel " << i;
    EXPECT_DOUBLE_EQ(oscillators.rate[i], target) << "channel " << i;
    EXPECT_EQ(oscillators.running[i], 1);
  }
  // Two draws for each of channels 1..59 and no more.
  EXPECT_EQ(nextRandom(), reference.next());
}

TEST_F(Oscillators, RandomizeLeavesChannelZeroAndUnusedChannelsAlone) {
  oscillators.phase[0] = 123.5;
  oscillators.rate[0] = 0.5;
  oscillators.targetRate[0] = -0.03;
  oscillators.running[0] = 0;
  oscillators.phase[kCount] = 7.0;
  randomizeOscillators(kCount);
  EXPECT_DOUBLE_EQ(oscillators.phase[0], 123.5);
  EXPECT_DOUBLE_EQ(oscillators.rate[0], 0.5);
  EXPECT_DOUBLE_EQ(oscillators.targetRate[0], -0.03);
  EXPECT_EQ(oscillators.running[0], 0);
  EXPECT_DOUBLE_EQ(oscillators.phase[kCount], 7.0);
  EXPECT_EQ(oscillators.running[kCount], 0);
  EXPECT_DOUBLE_EQ(oscillators.rate[kCount], 0.0);
}

TEST_F(Oscillators, PhaseStepOfEachChannelGroupUsesItsOwnFactor) {
  const float dt = 0.05f;
  // Find a seed under which no channel toggles or re-targets in this call,
  // so the rates stay steady and the phase steps are exact.
  uint32_t seed = 1;
  for (;; ++seed) {
    ReferenceRandom reference(seed);
    bool quiet = true;
    for (int i = 0; i < 2 * kCount; ++i) quiet = quiet && !(0.1 * dt > reference.value(1.0));
    if (quiet) break;
  }
  steadyChannels(0.03);
  oscillators.rate[0] = 100.0;  // channel 0 does not use its rate
  oscillators.targetRate[0] = 100.0;
  seedRandom(seed);
  advanceOscillators(kCount, dt, factors, 0);

  const double rate = 0.03;
  EXPECT_NEAR(oscillators.phase[0], 0.25, 1e-7);  // dt times effectScale, in floats
  for (int i = 1; i < kCount; ++i) {
    double expected;
    if (i <= 3)
      expected = 2.0 * rate * dt * 57.3;
    else if (i <= 6)
      expected = 3.0 * rate * dt;
    else if (i <= 49)
      expected = 5.0 * rate * dt;
    else
      expected = 7.0 * rate * dt;
    EXPECT_NEAR(oscillators.phase[i], expected, 1e-12) << "channel " << i;
  }
  EXPECT_DOUBLE_EQ(oscillators.phase[kCount], 0.0);
}

TEST_F(Oscillators, PausedChannelsOneToNineStandStillWhileOthersMove) {
  randomizeOscillators(kCount);
  const OscillatorBank before = oscillators;
  for (int frame = 0; frame < 200; ++frame) advanceOscillators(kCount, 0.1f, factors, 1);
  for (int i = 1; i <= kPausedChannels; ++i) {
    EXPECT_DOUBLE_EQ(oscillators.phase[i], before.phase[i]) << "channel " << i;
    EXPECT_DOUBLE_EQ(oscillators.rate[i], before.rate[i]) << "channel " << i;
    EXPECT_DOUBLE_EQ(oscillators.targetRate[i], before.targetRate[i]) << "channel " << i;
    EXPECT_EQ(oscillators.running[i], before.running[i]) << "channel " << i;
  }
  EXPECT_NE(oscillators.phase[0], before.phase[0]);
  EXPECT_NE(oscillators.phase[10], before.phase[10]);
  EXPECT_NE(oscillators.phase[50], before.phase[50]);
}

TEST_F(Oscillators, PausedChannelsDrawNoRandomNumbers) {
  // dt 0: no toggle or re-target can happen, so each channel draws twice.
  // A huge dt: every toggle and re-target happens, four draws per channel.
  struct Case {
    float dt;
    int paused;
    int draws;
  };
  const int movingWhilePaused = kCount - kPausedChannels;
  for (const Case& c : {Case{0.0f, 0, 2 * kCount}, Case{0.0f, 1, 2 * movingWhilePaused},
                        Case{100.0f, 0, 4 * kCount}, Case{100.0f, 1, 4 * movingWhilePaused}}) {
    steadyChannels(0.03);
    seedRandom(2024);
    advanceOscillators(kCount, c.dt, factors, c.paused);
    ReferenceRandom reference(2024);
    reference.skip(c.draws);
    EXPECT_EQ(nextRandom(), reference.next()) << "dt " << c.dt << " paused " << c.paused;
  }
}

TEST_F(Oscillators, ToggleAndRetargetDrawInOrderAndLeaveTheRateToDrift) {
  for (int i = 0; i < kCount; ++i) {
    oscillators.rate[i] = 0.03;
    oscillators.targetRate[i] = 0.03;
    oscillators.running[i] = 0;
  }
  seedRandom(555);
  advanceOscillators(kCount, 100.0f, factors, 0);  // every check fires

  ReferenceRandom reference(555);
  bool positiveSeen = false;
  bool negativeSeen = false;
  for (int i = 0; i < kCount; ++i) {
    reference.skip(2);  // the toggle check and the re-target check
    const double magnitude = reference.value(0.02) + 0.02;
    const double target = reference.value(1.0) < 0.45 ? magnitude : -magnitude;
    (target > 0 ? positiveSeen : negativeSeen) = true;
    EXPECT_EQ(oscillators.running[i], 1) << "channel " << i;
    EXPECT_DOUBLE_EQ(oscillators.targetRate[i], target) << "channel " << i;
    // The rate only starts its drift toward the new target.
    EXPECT_DOUBLE_EQ(oscillators.rate[i], 0.03 + (target - 0.03) * 0.001) << "channel " << i;
  }
  ASSERT_TRUE(positiveSeen && negativeSeen) << "the seed should give targets of both signs";
}

TEST_F(Oscillators, ToggleTurnsAnyNonZeroRunningValueOff) {
  steadyChannels(0.03);
  oscillators.running[20] = 5;
  advanceOscillators(kCount, 100.0f, factors, 0);
  EXPECT_EQ(oscillators.running[20], 0);
}

TEST_F(Oscillators, StoppedChannelDecaysPerCallAndRecoversFromWhereItIs) {
  steadyChannels(0.03);
  oscillators.running[20] = 0;
  oscillators.rate[21] = 0.02;
  oscillators.targetRate[21] = 0.04;
  advanceOscillators(kCount, 0.0f, factors, 0);
  EXPECT_DOUBLE_EQ(oscillators.rate[21], 0.02002);

  double expected = 0.03 * 0.999;
  for (int call = 1; call < 10; ++call) {
    advanceOscillators(kCount, 0.0f, factors, 0);
    expected *= 0.999;
  }
  EXPECT_NEAR(oscillators.rate[20], expected, 1e-15);
  EXPECT_GT(oscillators.rate[20], 0.0);

  oscillators.running[20] = 1;
  oscillators.targetRate[20] = 0.04;
  advanceOscillators(kCount, 0.0f, factors, 0);
  EXPECT_NEAR(oscillators.rate[20], expected + (0.04 - expected) * 0.001, 1e-15);
}

}  // namespace
