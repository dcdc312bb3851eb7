// Colour arithmetic shared by the procedural pictures and the icon: colours
// as floats in 0..255 that may overshoot while they are mixed and lit, and
// rounded and clamped to bytes only at the end.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "image.h"

struct Color {
  float r, g, b;
};

inline Color operator*(Color c, float k) { return {c.r * k, c.g * k, c.b * k}; }
inline Color operator+(Color a, Color b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }

inline Color mix(Color a, Color b, float t) { return a * (1 - t) + b * t; }

inline float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

inline float smoothstep(float edge0, float edge1, float v) {
  const float t = clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

inline uint8_t toByte(float v) {
  return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f)));
}

inline Rgb toRgb(Color c) { return {toByte(c.r), toByte(c.g), toByte(c.b)}; }
