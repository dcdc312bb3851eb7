// The icon, built from the same pieces as the program's pictures: the rock
// of the ceiling texture for the stone, periodic noise for the flames. The
// shapes are laid out on a 128-unit square as signed distances in units
// (negative inside), so every edge is smoothed over one unit; the picture is
// drawn at two pixels a unit and each size is averaged down from it.
#include "icon.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "color.h"
#include "noise.h"
#include "textures.h"

namespace {
constexpr int kDesignSize = 128;  // units across
constexpr float kPixelsPerUnit = float(kIconMasterSize) / kDesignSize;
constexpr float kCentre = kDesignSize / 2.0f;

// The rounded square the icon fills.
constexpr float kTileInset = 4;
constexpr float kTileCorner = 20;
constexpr float kTileRim = 3;  // dark outline, so the tile stands out on light backgrounds

// The tunnel mouth: a half circle on top of straight sides down to the
// bottom edge, framed by a ring of lighter arch stones.
constexpr float kArchSpring = 60;  // y where the half circle meets the sides
constexpr float kArchRadius = 32;
constexpr float kArchRing = 11;
constexpr int kArchStones = 9;  // stones across the half circle
constexpr float kSideStoneHeight = 14;
constexpr float kJointWidth = 1.2f;

// The fire at the foot of the tunnel.
constexpr float kFireBaseY = 118;
constexpr float kFireHeight = 62;
constexpr float kFireHalfWidth = 24;
constexpr float kGlowRadius = 46;
constexpr uint32_t kFlameSeed = 5;

float coverage(float distance) { return clamp01(0.5f - distance); }

float roundedSquare(float x, float y) {
  const float half = kCentre - kTileInset - kTileCorner;
  const float dx = std::max(std::fabs(x - kCentre) - half, 0.0f);
  const float dy = std::max(std::fabs(y - kCentre) - half, 0.0f);
  return std::hypot(dx, dy) - kTileCorner;
}

float opening(float x, float y) {
  if (y < kArchSpring) return std::hypot(x - kCentre, y - kArchSpring) - kArchRadius;
  return std::fabs(x - kCentre) - kArchRadius;
}

// 1 on the joints between the arch stones, 0 elsewhere.
float archJoint(float x, float y, float d) {
  const float outer = coverage(std::fabs(d - kArchRing) - kJointWidth / 2);
  if (y >= kArchSpring) {
    const float course = std::fmod(y - kArchSpring, kSideStoneHeight);
    const float across = std::min(course, kSideStoneHeight - course);
    return std::max(outer, coverage(across - kJointWidth / 2));
  }
  const float pi = 3.14159265f;
  const float angle = std::atan2(kArchSpring - y, x - kCentre);  // 0 .. pi over the arch
  const float step = pi / kArchStones;
  const float nearest = std::round(angle / step) * step;
  const float across = std::fabs(angle - nearest) * (kArchRadius + d);
  return std::max(outer, coverage(across - kJointWidth / 2));
}

// Heat of one flame standing at `centreX`, 0 (none) to about 1 (white-hot
// core): a body that narrows upward into tongues the noise splits apart.
float flameHeat(float x, float y, float centreX, float height, float halfWidth) {
  const float up = (kFireBaseY - y) / height;  // 0 at the base, 1 at the tips
  if (up < -0.1f || up > 1) return 0;
  const float flicker = periodicFbm(x / 14, y / 10, 16, 3, kFlameSeed);
  const float across = std::fabs(x - centreX + 5 * flicker * up) / halfWidth;
  const float width = (1 - up) * (0.8f + 0.5f * flicker);
  const float body = 1 - smoothstep(width * 0.3f, width, across);
  return body * (1 - smoothstep(0.6f, 1.0f, up)) * smoothstep(-0.1f, 0.05f, up) * (1.1f - up);
}

// A tall flame in the middle and a smaller one on each side.
float fireHeat(float x, float y) {
  return std::max(
      {flameHeat(x, y, kCentre, kFireHeight, kFireHalfWidth),
       0.8f * flameHeat(x, y, kCentre - 14, kFireHeight * 0.55f, kFireHalfWidth * 0.6f),
       0.8f * flameHeat(x, y, kCentre + 15, kFireHeight * 0.6f, kFireHalfWidth * 0.6f)});
}

Color fireColor(float heat) {
  const Color ember{140, 20, 4}, orange{240, 100, 12}, yellow{255, 205, 70}, white{255, 248, 215};
  if (heat < 0.35f) return ember * (heat / 0.35f);
  if (heat < 0.6f) return mix(ember, orange, (heat - 0.35f) / 0.25f);
  if (heat < 0.85f) return mix(orange, yellow, (heat - 0.6f) / 0.25f);
  return mix(yellow, white, clamp01((heat - 0.85f) / 0.2f));
}
}  // namespace

RgbaImage makeIcon() {
  const Image rock = makeRockCeiling();  // one texel a pixel of the picture
  const Color tunnel{10, 7, 9};
  const Color warmLight{255, 130, 40};
  RgbaImage icon(kIconMasterSize, kIconMasterSize);
  for (int py = 0; py < kIconMasterSize; ++py) {
    for (int px = 0; px < kIconMasterSize; ++px) {
      const float x = (px + 0.5f) / kPixelsPerUnit, y = (py + 0.5f) / kPixelsPerUnit;
      const Rgb& r = rock.at(px % rock.width(), py % rock.height());
      const Color stone{float(r.r), float(r.g), float(r.b)};
      const float fireDistance = std::hypot(x - kCentre, (y - kFireBaseY) * 0.8f);
      const float glow = std::exp(-(fireDistance / kGlowRadius) * (fireDistance / kGlowRadius));
      const float d = opening(x, y);

      // Outer wall dark, the arch stones lighter, both lit by the fire.
      const float ring = 1 - smoothstep(kArchRing - 0.5f, kArchRing + 0.5f, d);
      Color wall = stone * (0.42f + 0.38f * ring);
      wall = mix(wall, wall * 0.25f, ring * archJoint(x, y, d));
      wall = wall + warmLight * (0.55f * glow * glow);
      wall = mix(wall, Color{0, 0, 0}, 0.8f * smoothstep(-kTileRim, 0, roundedSquare(x, y)));

      // Inside: darkness, warmed near the fire, and the flames over it.
      const float heat = fireHeat(x, y);
      Color inside = tunnel + warmLight * (0.35f * glow);
      inside = mix(inside, fireColor(heat), smoothstep(0.0f, 0.15f, heat));

      const Color c = mix(wall, inside, coverage(d));
      const Rgb out = toRgb(c);
      icon.at(px, py) = {out.r, out.g, out.b, toByte(255 * coverage(roundedSquare(x, y)))};
    }
  }
  return icon;
}

RgbaImage shrinkIcon(const RgbaImage& master, int size) {
  // How much of each master column (or row) falls into each output one: the
  // output pixel spans `ratio` master pixels, which need not be whole.
  const int from = master.width();
  const double ratio = double(from) / size;
  std::vector<std::vector<double>> weights(size, std::vector<double>(from, 0.0));
  for (int o = 0; o < size; ++o)
    for (int m = 0; m < from; ++m) {
      const double overlap = std::min(m + 1.0, (o + 1) * ratio) - std::max(double(m), o * ratio);
      weights[o][m] = std::max(0.0, overlap) / ratio;
    }

  RgbaImage out(size, size);
  for (int oy = 0; oy < size; ++oy)
    for (int ox = 0; ox < size; ++ox) {
      // Colours weighted by their opacity, so transparent pixels add no colour.
      double r = 0, g = 0, b = 0, a = 0;
      for (int my = 0; my < from; ++my) {
        if (weights[oy][my] == 0.0) continue;
        for (int mx = 0; mx < from; ++mx) {
          const double w = weights[oy][my] * weights[ox][mx];
          if (w == 0.0) continue;
          const Rgba& p = master.at(mx, my);
          r += w * p.a * p.r, g += w * p.a * p.g, b += w * p.a * p.b, a += w * p.a;
        }
      }
      out.at(ox, oy) = a == 0 ? Rgba{}
                              : Rgba{toByte(float(r / a)), toByte(float(g / a)),
                                     toByte(float(b / a)), toByte(float(a))};
    }
  return out;
}
