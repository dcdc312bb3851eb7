// The two synthesised sound effects, as 16-bit mono samples at
// kSampleRate. Each call always returns the same samples.
#pragma once
#include <cstdint>
#include <vector>

constexpr int kSampleRate = 22050;

// A short laser shot: a fast falling sweep, about a quarter second.
std::vector<int16_t> makeLaserShot();
// An explosion: a filtered noise burst over a low rumble, about one second.
std::vector<int16_t> makeExplosion();
