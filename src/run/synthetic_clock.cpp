#include "run/synthetic_clock.h"

namespace {
constexpr uint64_t kMsPerSecond = 1000;
uint64_t clockStart = 0;
uint64_t framesTaken = 0;
}  // namespace

// Whole milliseconds, so steps of 16 and 17 ms alternate and never drift:
// frame 60 reads exactly one second after the start.
uint64_t syntheticReading(uint64_t startMs, uint64_t frame) {
  return startMs + frame * kMsPerSecond / kSyntheticFramesPerSecond;
}

void startSyntheticClock(uint64_t startMs) {
  clockStart = startMs;
  framesTaken = 0;
}

uint64_t nextSyntheticReading() {
  framesTaken += 1;
  return syntheticReading(clockStart, framesTaken);
}
