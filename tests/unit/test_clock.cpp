// The monotonic clock: where its count starts (CRYPTWELL_START_MS, read at
// start-up), and a count that neither overflows nor wraps however long the
// program runs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/frame_clock.h"
#include "platform/clock.h"
#include "support/state.h"

namespace {
constexpr uint64_t kDayMs = 86400000;
constexpr int64_t kNanosecondsPerMs = 1000000;
// A reading comes a moment after the start; far less than this, even under
// the sanitizers on a busy machine.
constexpr uint64_t kMomentMs = 1000;

class Clock : public ::testing::Test {
 protected:
  void TearDown() override {
    unsetenv(kStartOffsetVariable);
    startClockAt(0);
    restoreProgramState();
  }
};

TEST_F(Clock, TheEnvironmentSetsWhereTheCountStartsAndABadValueIsIgnored) {
  struct Case {
    const char* text;  // nullptr: the variable is not set
    uint64_t startMs;
  };
  const Case cases[] = {
      {"4294962296", 4294962296u},  // 5 s before the 32-bit count would wrap
      {"9244800000", 107 * kDayMs},
      {"4503599627370496", uint64_t{1} << 52},  // the latest start taken
      {"0", 0},
      {nullptr, 0},
      {"", 0},
      {"soon", 0},
      {"-5000", 0},
      {" 5000", 0},
      {"5000ms", 0},
      {"50.5", 0},
      {"4503599627370497", 0},      // past where seconds keep the millisecond
      {"18446744073709551617", 0},  // past 64 bits
  };
  for (const Case& c : cases) {
    const char* shown = c.text != nullptr ? c.text : "(unset)";
    if (c.text != nullptr) {
      setenv(kStartOffsetVariable, c.text, 1);
    } else {
      unsetenv(kStartOffsetVariable);
    }
    startClock();
    const uint64_t now = clockMilliseconds();
    EXPECT_GE(now, c.startMs) << shown;
    EXPECT_LT(now, c.startMs + kMomentMs) << shown;
    // The frame clock begins there as well: its first step and its first
    // rate sample count from the start, not from zero.
    EXPECT_EQ(lastClockMs, c.startMs) << shown;
    EXPECT_EQ(nextSampleMs, c.startMs + 1000) << shown;
  }
}

TEST_F(Clock, ACountOf107DaysNeitherOverflowsNorWraps) {
  startClockAt(0);
  // As if the counter had been read at start-up 107 days ago: nanoseconds
  // times 1000 no longer fit 64 bits, and the count is past 2^32 ms.
  counterStart -= static_cast<int64_t>(107 * kDayMs) * kNanosecondsPerMs;
  const uint64_t now = clockMilliseconds();
  EXPECT_GE(now, 107 * kDayMs);
  EXPECT_LT(now, 107 * kDayMs + kMomentMs);
  // The 32-bit reading is the count's low bits.
  const uint32_t low = nowMilliseconds();
  EXPECT_LT(static_cast<uint32_t>(low - static_cast<uint32_t>(107 * kDayMs)), kMomentMs);
}

}  // namespace
