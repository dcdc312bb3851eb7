#include "core/random.h"

static uint32_t state = 1;
static uint32_t runSeed = 0;

void seedRandom(uint32_t seed) { state = seed; }

void setRunSeed(uint32_t seed) { runSeed = seed; }

void seedRandomFromClock(uint32_t clockMs) { seedRandom(runSeed + clockMs); }

uint32_t randomState() { return state; }

int nextRandom() {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7fff);
}

double randomValue(double range) { return nextRandom() / 32768.0 * range; }
