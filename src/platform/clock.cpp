// The monotonic clock behind the frame timer, read in nanosecond ticks.
#include "platform/clock.h"

#include <cstdlib>
#include <ctime>

#include "core/frame_clock.h"

int64_t counterFrequency = 0;
int64_t counterStart = 0;
uint64_t clockStartMs = 0;

namespace {
constexpr int64_t kNanosecondsPerSecond = 1000000000LL;
constexpr int64_t kMillisecondsPerSecond = 1000;
// Far past any real uptime (about 142,000 years), and low enough that the
// frame clock's seconds, a double, stay exact to the millisecond long after.
constexpr uint64_t kLatestStartMs = uint64_t{1} << 52;

int64_t readCounter() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

// Digits only: a sign, spaces, a unit or a value past the range make it no
// offset at all rather than a guess.
bool parseStartOffset(const char* text, uint64_t* ms) {
  if (text == nullptr || *text == '\0') return false;
  uint64_t value = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(*c - '0');
    if (value > kLatestStartMs) return false;
  }
  *ms = value;
  return true;
}
}  // namespace

void startClock() {
  uint64_t startMs = 0;  // stays 0 without a good offset
  parseStartOffset(std::getenv(kStartOffsetVariable), &startMs);
  startClockAt(startMs);
}

void startClockAt(uint64_t startMs) {
  counterFrequency = kNanosecondsPerSecond;
  counterStart = readCounter();
  clockStartMs = startMs;
  startFrameClock(startMs);
}

uint64_t clockMilliseconds() {
  // Whole seconds first, then the rest: ticks times 1000 would overflow
  // 64 bits after about 106 days of nanoseconds. Same result, no overflow.
  const int64_t elapsed = readCounter() - counterStart;
  const int64_t ms = elapsed / counterFrequency * kMillisecondsPerSecond +
                     elapsed % counterFrequency * kMillisecondsPerSecond / counterFrequency;
  return clockStartMs + static_cast<uint64_t>(ms);
}

uint32_t nowMilliseconds() { return static_cast<uint32_t>(clockMilliseconds()); }
