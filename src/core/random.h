// The program's one random generator: a 15-bit linear congruential generator
// (state * 214013 + 2531011), so every platform draws the same sequence.
// Every random draw of the program goes through randomValue.
#pragma once
#include <cstdint>

void seedRandom(uint32_t seed);
// Every seed the program takes from the clock is the run's seed plus the
// reading, so that one seed and one input give one run. The run's seed is 0
// unless set (--seed), which seeds from the clock alone.
void setRunSeed(uint32_t seed);
void seedRandomFromClock(uint32_t clockMs);
uint32_t randomState();            // the generator's whole state, for the state hash
int nextRandom();                  // 0 .. 32767
double randomValue(double range);  // nextRandom() / 32768 * range: [0, range)
