#include "core/easing.h"

#include <cmath>

#include "core/oscillators.h"

double cosineBlend(float a, float b, float t) {
  const float s = static_cast<float>((1.0 - std::cos(t * kPi)) * 0.5);
  return (1.0 - s) * a + static_cast<double>(s) * b;
}

double oscillatorValue(int channel, double frequency, double amplitude, double offset) {
  return (std::sin(frequency * oscillators.phase[channel]) * 0.5 + 0.5) * amplitude + offset;
}
