// Monotonic millisecond clock: the time base of every frame.
// startClock() fixes the zero point once at program entry; nowMilliseconds()
// returns the milliseconds since then, truncated to 32 bits (it wraps after
// about 49.7 days, and the frame driver copes with that).
#pragma once
#include <cstdint>

extern int64_t counterFrequency;  // counter ticks per second
extern int64_t counterStart;      // counter value at startClock()

void startClock();
uint32_t nowMilliseconds();
