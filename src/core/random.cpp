#include "core/random.h"

static uint32_t randomState = 1;

void seedRandom(uint32_t seed) { randomState = seed; }

int nextRandom() {
  randomState = randomState * 214013u + 2531011u;
  return static_cast<int>((randomState >> 16) & 0x7fff);
}

double randomValue(double range) { return nextRandom() / 32768.0 * range; }
