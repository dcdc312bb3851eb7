// The synthetic clock: frame k reads the start plus k x 1000 / 60
// milliseconds, whatever the real time, so that every machine draws the
// same frames: the same camera positions, particles and random draws.
// The benchmark runs on it; anything that needs a fixed frame sequence can.
#pragma once
#include <cstdint>

constexpr int kSyntheticFramesPerSecond = 60;

// The reading of frame k (k = 1 for the first frame after the start).
uint64_t syntheticReading(uint64_t startMs, uint64_t frame);

// The clock as one sequence: start it once, then take one reading per frame.
void startSyntheticClock(uint64_t startMs);
uint64_t nextSyntheticReading();
