// Shared easing and the read-out of an oscillator channel.
#pragma once

constexpr double kPi = 3.141592654;
constexpr double kTwoPi = 6.283185307;
constexpr double kDegreesPerRadian = 57.2958;

// Cosine ease from a (t = 0) to b (t = 1), flat at both ends; t is not clamped.
double cosineBlend(float a, float b, float t);

// (sin(frequency * phase[channel]) * 0.5 + 0.5) * amplitude + offset:
// a value between offset and offset + amplitude.
double oscillatorValue(int channel, double frequency, double amplitude, double offset);
