// Monotonic millisecond clock: the time base of every frame.
// startClock() fixes the zero point once at program entry and starts the
// frame clock there. The count is 64-bit and never wraps. A run may begin at
// any uptime, as if it had been running that long: the environment variable
// CRYPTWELL_START_MS gives where the count starts, in whole milliseconds; a
// value that is not one is ignored.
#pragma once
#include <cstdint>

extern int64_t counterFrequency;  // counter ticks per second
extern int64_t counterStart;      // counter value at startClock()
extern uint64_t clockStartMs;     // the count at startClock(): 0 or the start offset

constexpr const char* kStartOffsetVariable = "CRYPTWELL_START_MS";

void startClock();                    // at the offset the environment gives, if any
void startClockAt(uint64_t startMs);  // at a chosen offset (what startClock and tests use)
uint64_t clockMilliseconds();         // milliseconds since start, offset included
uint32_t nowMilliseconds();           // its low 32 bits
