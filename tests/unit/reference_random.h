// A second, independent copy of the generator's formula (state * 214013 +
// 2531011 modulo 2^32, bits 16..30), so tests can predict the draws the
// program makes without asking the program for them.
#pragma once
#include <cstdint>

class ReferenceRandom {
 public:
  explicit ReferenceRandom(uint32_t seed) : state(seed) {}

  int next() {
    state = static_cast<uint32_t>((uint64_t{state} * 214013u + 2531011u) % (uint64_t{1} << 32));
    return static_cast<int>((state >> 16) % 32768u);
  }
  double value(double range) { return next() / 32768.0 * range; }
  void skip(int draws) {
    for (int i = 0; i < draws; ++i) next();
  }

 private:
  uint32_t state;
};
