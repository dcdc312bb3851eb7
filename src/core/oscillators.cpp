#include "core/oscillators.h"

#include "core/random.h"
#include "core/settings.h"

OscillatorBank oscillators = {};

namespace {
constexpr double kMinRate = 0.02;
constexpr double kRateSpread = 0.02;
constexpr double kChangesPerSecond = 0.1;  // chance per second of a toggle or re-target
constexpr double kPositiveTargetChance = 0.45;
constexpr double kRateDrift = 0.001;  // per call, not per second
constexpr double kStoppedDecay = 0.999;
constexpr double kDegreesPerRateUnit = 57.3;

double phaseStep(int channel, double rate, float dt, const SceneSettings& s) {
  if (channel == 0) return dt * s.effectScale;
  if (channel <= 3) return s.rotateSpeed * rate * dt * kDegreesPerRateUnit;
  if (channel <= 6) return s.movementSpeed * rate * dt;
  if (channel <= 49) return s.effectScale * rate * dt;
  return s.lightRotateSpeed * rate * dt;
}
}  // namespace

void randomizeOscillators(int count) {
  for (int i = 1; i < count; ++i) {
    oscillators.phase[i] = randomValue(360.0);
    oscillators.targetRate[i] = randomValue(kRateSpread) + kMinRate;
    oscillators.rate[i] = oscillators.targetRate[i];
    oscillators.running[i] = 1;
  }
}

void advanceOscillators(int count, float dt, const SceneSettings& settings, int paused) {
  for (int i = 0; i < count; ++i) {
    if (paused != 0 && i >= 1 && i <= 9) continue;
    if (kChangesPerSecond * dt > randomValue(1.0)) {
      oscillators.running[i] = oscillators.running[i] == 0 ? 1 : 0;
    }
    if (kChangesPerSecond * dt > randomValue(1.0)) {
      const double magnitude = randomValue(kRateSpread) + kMinRate;
      oscillators.targetRate[i] = randomValue(1.0) < kPositiveTargetChance ? magnitude : -magnitude;
    }
    if (oscillators.running[i] != 0) {
      oscillators.rate[i] += (oscillators.targetRate[i] - oscillators.rate[i]) * kRateDrift;
    } else {
      oscillators.rate[i] *= kStoppedDecay;
    }
    oscillators.phase[i] += phaseStep(i, oscillators.rate[i], dt, settings);
  }
}
