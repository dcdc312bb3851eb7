// Hash-based lattice noise. Every lattice coordinate is reduced modulo the
// period before hashing, which is what makes the result tile.
#include "noise.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
// Unit-gradient noise peaks near 1/sqrt(2); this brings it to about 1.
constexpr float kNoiseScale = 1.41421356f;

uint32_t hash(int x, int y, uint32_t seed) {
  uint32_t h = seed * 0x9e3779b9u;
  h ^= static_cast<uint32_t>(x) * 0x85ebca6bu;
  h = (h ^ (h >> 15)) * 0x2c1b3c6du;
  h ^= static_cast<uint32_t>(y) * 0xc2b2ae35u;
  h = (h ^ (h >> 12)) * 0x297a2d39u;
  return h ^ (h >> 15);
}

int wrap(int v, int period) {
  const int m = v % period;
  return m < 0 ? m + period : m;
}

// Quintic fade: continuous slope and curvature across lattice cells.
float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

float gradientDot(int ix, int iy, float dx, float dy, int period, uint32_t seed) {
  const double angle = hash(wrap(ix, period), wrap(iy, period), seed) * (kTwoPi / 4294967296.0);
  return static_cast<float>(std::cos(angle) * dx + std::sin(angle) * dy);
}

float unitFromHash(uint32_t h) { return (h >> 8) * (1.0f / 16777216.0f); }

}  // namespace

uint64_t Rng::next() {
  uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

double Rng::uniform() { return (next() >> 11) * (1.0 / 9007199254740992.0); }

int Rng::below(int n) { return static_cast<int>(uniform() * n); }

float periodicNoise(float x, float y, int period, uint32_t seed) {
  const int ix = static_cast<int>(std::floor(x));
  const int iy = static_cast<int>(std::floor(y));
  const float fx = x - ix;
  const float fy = y - iy;
  const float n00 = gradientDot(ix, iy, fx, fy, period, seed);
  const float n10 = gradientDot(ix + 1, iy, fx - 1, fy, period, seed);
  const float n01 = gradientDot(ix, iy + 1, fx, fy - 1, period, seed);
  const float n11 = gradientDot(ix + 1, iy + 1, fx - 1, fy - 1, period, seed);
  const float u = fade(fx);
  const float v = fade(fy);
  const float bottom = n00 + (n10 - n00) * u;
  const float top = n01 + (n11 - n01) * u;
  return (bottom + (top - bottom) * v) * kNoiseScale;
}

float periodicFbm(float x, float y, int period, int octaves, uint32_t seed) {
  float sum = 0;
  float amplitude = 1;
  float total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * periodicNoise(x, y, period, seed + i);
    total += amplitude;
    x *= 2;
    y *= 2;
    period *= 2;
    amplitude *= 0.5f;
  }
  return sum / total;
}

CellDistances periodicCells(float x, float y, int period, uint32_t seed) {
  const int ix = static_cast<int>(std::floor(x));
  const int iy = static_cast<int>(std::floor(y));
  float nearest = 1e9f;
  float second = 1e9f;
  for (int cy = iy - 1; cy <= iy + 1; ++cy) {
    for (int cx = ix - 1; cx <= ix + 1; ++cx) {
      const uint32_t h = hash(wrap(cx, period), wrap(cy, period), seed);
      const float px = cx + unitFromHash(h);
      const float py = cy + unitFromHash(hash(static_cast<int>(h), 0, seed));
      const float d = std::hypot(px - x, py - y);
      if (d < nearest) {
        second = nearest;
        nearest = d;
      } else {
        second = std::min(second, d);
      }
    }
  }
  return {nearest, second};
}
