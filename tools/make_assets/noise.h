// Seeded, deterministic randomness and tileable noise for the procedural
// pictures and sounds. The noise functions repeat every `period` lattice
// units in x and y, so a picture that spans exactly one period wraps without
// a seam. Nothing here uses std:: distributions, whose output differs
// between standard libraries.
#pragma once
#include <cstdint>

// splitmix64: a tiny generator with a fixed sequence for each seed.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t next();
  double uniform();  // [0, 1)
  int below(int n);  // 0 .. n-1

 private:
  uint64_t state_;
};

// Gradient noise, roughly in [-1, 1], zero on lattice points.
float periodicNoise(float x, float y, int period, uint32_t seed);

// `octaves` layers of periodicNoise, each at twice the frequency and half
// the amplitude of the last; normalised to roughly [-1, 1].
float periodicFbm(float x, float y, int period, int octaves, uint32_t seed);

// Distances to the nearest and second-nearest points of a jittered grid
// with one point per lattice cell; `second - nearest` is small along the
// borders between cells.
struct CellDistances {
  float nearest;
  float second;
};
CellDistances periodicCells(float x, float y, int period, uint32_t seed);
