// The frame cap's deadlines: the first frame starts at once, early frames
// wait for their deadline, a late one starts at once and moves the later
// deadlines on instead of bursting to catch up; at both ends of the range.
#include <gtest/gtest.h>

#include <vector>

#include "display/frame_cap.h"

namespace {
constexpr int64_t kMs = 1000000;

struct Case {
  const char* what;
  int framesPerSecond;
  std::vector<int64_t> asked;   // when each frame is asked for, ns
  std::vector<int64_t> starts;  // when each must start
};

TEST(FramePacing, DeadlinesOfEachFrame) {
  const Case cases[] = {
      {"no cap: every frame at once", 0, {5, 6, 100}, {5, 6, 100}},
      {"first frame at once, then every 1/30 s",
       30,
       {1000, 1000, 1001, 1002},
       {1000, 1000 + 33333333, 1000 + 66666666, 1000 + 99999999}},
      {"asked for exactly at the deadline", 60, {0, 16666666, 33333332}, {0, 16666666, 33333332}},
      {"late frame starts at once, no burst after it",
       30,
       {0, 100 * kMs, 101 * kMs, 102 * kMs},
       {0, 100 * kMs, 100 * kMs + 33333333, 100 * kMs + 66666666}},
      {"one frame a second", 1, {7, 8, 2500 * kMs}, {7, 7 + 1000 * kMs, 2500 * kMs}},
      {"a thousand a second", 1000, {0, 0, 0, 5 * kMs}, {0, kMs, 2 * kMs, 5 * kMs}},
      {"a stall of minutes",
       1000,
       {0, 300000 * kMs, 300000 * kMs},
       {0, 300000 * kMs, 300001 * kMs}},
  };
  for (const Case& c : cases) {
    FrameCap cap = frameCapOf(c.framesPerSecond);
    for (size_t i = 0; i < c.asked.size(); ++i) {
      EXPECT_EQ(takeFrameStart(cap, c.asked[i]), c.starts[i]) << c.what << ", frame " << i;
    }
  }
}

TEST(FramePacing, TheProgramCapWaitsForItsDeadlineOnTheMonotonicClock) {
  setFrameRateCap(50);
  ASSERT_TRUE(frameRateCapped());
  EXPECT_TRUE(waitForFrameDue(-1));  // the first frame: at once
  const int64_t first = monotonicNs();
  EXPECT_TRUE(waitForFrameDue(-1));  // sleeps about 20 ms
  EXPECT_GE(monotonicNs() - first, 19 * kMs);
  setFrameRateCap(0);
  EXPECT_FALSE(frameRateCapped());
}
}  // namespace
