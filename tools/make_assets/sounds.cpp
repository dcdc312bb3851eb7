// Sound synthesis. Both effects ramp in over a few milliseconds and out to
// exact silence, so they start and stop without clicks, and are normalised
// to kPeak so no sample reaches full scale.
#include "sounds.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPeak = 0.85;          // of full scale
constexpr double kFadeSeconds = 0.004;  // click-free start and end
constexpr double kFullScale = 32767;

// Linear fade in over the first few ms and out over the last few ms.
double edgeFade(size_t i, size_t count) {
  const double fadeSamples = kFadeSeconds * kSampleRate;
  const double in = std::min(1.0, i / fadeSamples);
  const double out = std::min(1.0, (count - 1 - i) / fadeSamples);
  return std::min(in, out);
}

std::vector<int16_t> normalise(const std::vector<double>& signal) {
  double peak = 0;
  for (double v : signal) peak = std::max(peak, std::fabs(v));
  const double gain = peak > 0 ? kPeak * kFullScale / peak : 0;
  std::vector<int16_t> samples;
  samples.reserve(signal.size());
  for (double v : signal) samples.push_back(static_cast<int16_t>(std::lround(v * gain)));
  return samples;
}

}  // namespace

std::vector<int16_t> makeLaserShot() {
  constexpr double kSeconds = 0.24;
  constexpr double kStartHz = 2200;
  constexpr double kEndHz = 180;
  constexpr double kDecayPerSecond = 14;
  const size_t count = static_cast<size_t>(kSeconds * kSampleRate);
  std::vector<double> signal(count);
  double phase = 0;
  for (size_t i = 0; i < count; ++i) {
    const double t = double(i) / kSampleRate;
    // Exponential sweep sounds like an even fall in pitch.
    const double hz = kStartHz * std::pow(kEndHz / kStartHz, t / kSeconds);
    phase += kTwoPi * hz / kSampleRate;
    // A little third harmonic gives the tone its buzzy edge.
    const double tone = std::sin(phase) + 0.3 * std::sin(3 * phase);
    signal[i] = tone * std::exp(-kDecayPerSecond * t) * edgeFade(i, count);
  }
  return normalise(signal);
}

std::vector<int16_t> makeExplosion() {
  constexpr double kSeconds = 1.0;
  constexpr double kDecayPerSecond = 3.5;
  constexpr double kRumbleStartHz = 70;
  constexpr double kRumbleEndHz = 32;
  constexpr uint64_t kSeed = 1;
  const size_t count = static_cast<size_t>(kSeconds * kSampleRate);
  std::vector<double> signal(count);
  Rng rng(kSeed);
  double lowPassed = 0;
  double phase = 0;
  for (size_t i = 0; i < count; ++i) {
    const double t = double(i) / kSampleRate;
    // The noise filter closes over time: a bright crack that turns into
    // a dull roar.
    const double cutoffHz = 200 + 3800 * std::exp(-6 * t);
    const double alpha = 1 - std::exp(-kTwoPi * cutoffHz / kSampleRate);
    lowPassed += alpha * ((rng.uniform() * 2 - 1) - lowPassed);
    const double hz = kRumbleEndHz + (kRumbleStartHz - kRumbleEndHz) * std::exp(-3 * t);
    phase += kTwoPi * hz / kSampleRate;
    const double rumble = 0.8 * std::sin(phase);
    signal[i] = (lowPassed * 2.5 + rumble) * std::exp(-kDecayPerSecond * t) * edgeFade(i, count);
  }
  return normalise(signal);
}
