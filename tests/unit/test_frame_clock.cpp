// The frame clock, frame-rate sample and the two fades.
#include <gtest/gtest.h>

#include "scene/frame_driver.h"
#include "core/frame_clock.h"
#include "core/run_state.h"
#include "support/state.h"

namespace {

class FrameClock : public ::testing::Test {
 protected:
  void SetUp() override { restoreProgramState(); }
  void TearDown() override { restoreProgramState(); }

  void frameAt(uint64_t ms) {
    setClockMs(ms);
    advanceClock();
  }
};

TEST_F(FrameClock, FirstFrameTakesTheWholeTimeSinceStartUnlessThatIsAStall) {
  frameAt(40);
  EXPECT_FLOAT_EQ(delta, 0.04f);
  restoreProgramState();
  frameAt(3000);
  EXPECT_FLOAT_EQ(delta, kStallDelta);
  EXPECT_EQ(lastClockMs, clockMs);
}

TEST_F(FrameClock, AGapOfExactlyATenthPassesUnchanged) {
  // At any reading: in seconds, 1.0 + 0.1 would round to a hair over 0.1.
  for (uint64_t start : {0ull, 1000ull, 4000ull, 86400000ull}) {
    frameAt(start);
    frameAt(start + 100);
    EXPECT_EQ(delta, 0.1f) << "from " << start << " ms";
    frameAt(start + 160);
    EXPECT_NEAR(delta, 0.06f, 1e-6f);
  }
}

TEST_F(FrameClock, LongerGapsBecomeAStallStep) {
  // 0.1001 s is not representable in whole milliseconds; 101 ms is the first
  // gap past the limit.
  frameAt(5000);
  frameAt(5101);
  EXPECT_FLOAT_EQ(delta, kStallDelta);
  frameAt(15101);  // a ten second stall
  EXPECT_FLOAT_EQ(delta, kStallDelta);
}

TEST_F(FrameClock, UnderACapAGapUpToTwoIntervalsIsLivedInSixtiethsOfASecond) {
  struct Case {
    uint64_t capIntervalMs;  // 0: no cap
    uint64_t gapMs;
    int steps;
    float delta;  // of one step of the gap, or the stall's
  };
  const Case cases[] = {
      {0, 1000, 1, kStallDelta},   {0, 100, 1, 0.1f},           {1000, 17, 1, 0.017f},
      {1000, 1000, 59, 1.0f / 59}, {1000, 2000, 118, 2.0f / 118}, {1000, 2001, 1, kStallDelta},
      {33, 33, 2, 0.033f / 2},     {33, 100, 6, 0.1f / 6},       {33, 101, 1, kStallDelta},
  };
  for (const Case& c : cases) {
    restoreProgramState();
    setFrameCapInterval(c.capIntervalMs);
    frameAt(5000);
    setClockMs(5000 + c.gapMs);
    const int steps = stepsToClock();
    EXPECT_EQ(steps, c.steps) << c.capIntervalMs << " ms cap, " << c.gapMs << " ms gap";
    setClockMs(5000 + c.gapMs / steps);
    advanceClock();
    EXPECT_NEAR(delta, c.delta, 0.001f) << c.capIntervalMs << " ms cap, " << c.gapMs << " ms gap";
  }
}

TEST_F(FrameClock, TheCountRunsOnPastTheThirtyTwoBitWrap) {
  constexpr uint64_t kWrap = 1ull << 32;
  frameAt(kWrap - 16);
  frameAt(kWrap);  // the low 32 bits wrap; the count does not
  EXPECT_EQ(nowMs, 0u);
  EXPECT_NEAR(delta, 0.016f, 1e-6f);
  EXPECT_GT(seconds, 4294967.0);
  frameAt(kWrap + 16);
  EXPECT_NEAR(delta, 0.016f, 1e-6f);
  frameAt(kWrap - 16);  // a reading from before, which the clock never gives
  EXPECT_FLOAT_EQ(delta, kStallDelta) << "a stall, never negative time";
}

TEST_F(FrameClock, FrameRateReads30UntilTheFirstSecond) {
  for (uint64_t ms = 10; ms < 1000; ms += 10) {
    frameAt(ms);
    sampleFrameRate();
    ASSERT_EQ(framesPerSecond, 30) << "at " << ms << " ms";
  }
  frameAt(1000);
  sampleFrameRate();
  EXPECT_EQ(framesPerSecond, 100);  // 99 frames before plus this one
  EXPECT_EQ(frameCount, 0);
  EXPECT_EQ(nextSampleMs, 2000u);
}

TEST_F(FrameClock, AfterAStallTheRateReadsOneForAFewFrames) {
  frameAt(1000);
  sampleFrameRate();
  frameAt(6000);  // five seconds of nothing
  sampleFrameRate();
  EXPECT_EQ(framesPerSecond, 1);
  frameAt(6010);
  sampleFrameRate();
  EXPECT_EQ(framesPerSecond, 1);
  EXPECT_EQ(nextSampleMs, 4000u);
}

TEST_F(FrameClock, FadeInRampsOverTwoSecondsEndsFullThenLeavesTheLevelAlone) {
  frameAt(0);
  fadeIn();
  EXPECT_FLOAT_EQ(fadeLevel, 0.0f);
  frameAt(1000);
  fadeIn();
  EXPECT_NEAR(fadeLevel, 0.5f, 1e-6f);
  frameAt(1999);
  fadeIn();
  EXPECT_NEAR(fadeLevel, 1.0f, 1e-5f);
  frameAt(2000);  // the first frame past the ramp
  fadeIn();
  EXPECT_FLOAT_EQ(fadeLevel, 1.0f);
  fadeLevel = 0.3f;
  frameAt(2001);
  fadeIn();
  EXPECT_FLOAT_EQ(fadeLevel, 0.3f);
}

// A slow start: the last frame of the ramp came at half brightness.
TEST_F(FrameClock, AFadeInCutShortByALateFrameEndsAtFullBrightness) {
  frameAt(1000);
  fadeIn();
  frameAt(4000);
  fadeIn();
  EXPECT_FLOAT_EQ(fadeLevel, 1.0f);
}

TEST_F(FrameClock, FadeOutTakesAboutOnePointEightSecondsAtASteadyRate) {
  frameAt(5000);
  quitting = 1;
  uint64_t ms = 5000;
  int frames = 0;
  while (true) {
    ms += 20;
    frameAt(ms);
    fadeIn();
    ++frames;
    if (fadeOutFinished()) break;
    ASSERT_LT(frames, 1000);
  }
  EXPECT_NEAR(frames * 0.02, 1.8, 0.021);
}

TEST_F(FrameClock, NotQuittingNeverFinishes) {
  frameAt(5000);
  frameAt(5100);
  EXPECT_FALSE(fadeOutFinished());
  EXPECT_FLOAT_EQ(fadeLevel, 1.0f);
}

TEST_F(FrameClock, QuittingInTheFirstTwoSecondsEndsAtOnceOnlyWhileTheRampIsLow) {
  // Early on the ramp value itself is already below the end of the fade.
  frameAt(100);
  quitting = 1;
  fadeIn();
  EXPECT_TRUE(fadeOutFinished());

  // Later in the ramp the fade-out cannot win against the ramp until 2 s.
  restoreProgramState();
  quitting = 1;
  uint64_t ms = 1000;
  bool ended = false;
  for (; ms < 2000 && !ended; ms += 20) {
    frameAt(ms);
    fadeIn();
    ended = fadeOutFinished();
  }
  EXPECT_FALSE(ended);
  for (; ms < 6000 && !ended; ms += 20) {
    frameAt(ms);
    fadeIn();
    ended = fadeOutFinished();
  }
  EXPECT_TRUE(ended);
  EXPECT_GT(ms, 3700u);
}

}  // namespace
