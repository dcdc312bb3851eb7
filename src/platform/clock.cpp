// The monotonic clock behind the frame timer, read in nanosecond ticks.
#include "platform/clock.h"

#include <ctime>

int64_t counterFrequency = 0;
int64_t counterStart = 0;

static int64_t readCounter() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

void startClock() {
  counterFrequency = 1000000000LL;
  counterStart = readCounter();
}

uint32_t nowMilliseconds() {
  // Multiply first, then divide, in signed 64-bit; keep the low 32 bits.
  // Ticks are nanoseconds, so the product stays far from overflow for
  // centuries of uptime.
  const int64_t elapsed = readCounter() - counterStart;
  return static_cast<uint32_t>(elapsed * 1000 / counterFrequency);
}
