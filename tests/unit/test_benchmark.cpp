// The built-in benchmark's figures: nearest-rank percentiles of frame times.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "run/benchmark.h"

TEST(Benchmark, PercentilesOfShuffledFrameTimes) {
  std::vector<float> times;
  for (int ms = 1; ms <= 200; ++ms) times.push_back(static_cast<float>(ms));
  std::shuffle(times.begin(), times.end(), std::mt19937(7));
  const FrameTimeSummary s = summarizeFrameTimes(times.data(), static_cast<int>(times.size()));
  EXPECT_EQ(s.median, 100.0);
  EXPECT_EQ(s.p95, 190.0);
  EXPECT_EQ(s.p99, 198.0);
  EXPECT_EQ(s.worst, 200.0);

  float one = 6.5f;
  const FrameTimeSummary single = summarizeFrameTimes(&one, 1);
  EXPECT_EQ(single.median, 6.5);
  EXPECT_EQ(single.p99, 6.5);
}
