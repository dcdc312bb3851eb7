// Procedural pictures. Surface textures are built as a height field from
// periodic noise, lit from one side for relief, then coloured; the glow
// sprites are radial falloffs that reach zero before the borders, because
// the program derives alpha from brightness and draws them as squares.
#include "textures.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "color.h"
#include "noise.h"

namespace {

constexpr int kSpriteSize = 128;
constexpr int kWallSize = 256;
constexpr int kDirtSize = 128;
constexpr int kCeilingSize = 256;

// A square field of floats that wraps at its edges, for height maps.
class Field {
 public:
  explicit Field(int size) : size_(size), values_(size * size) {}
  float& at(int x, int y) { return values_[index(x, y)]; }
  float at(int x, int y) const { return values_[index(x, y)]; }

 private:
  int index(int x, int y) const {
    x = (x % size_ + size_) % size_;
    y = (y % size_ + size_) % size_;
    return y * size_ + x;
  }
  int size_;
  std::vector<float> values_;
};

Field makeField(int size, const std::function<float(float, float)>& height) {
  Field field(size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) field.at(x, y) = height(float(x) / size, float(y) / size);
  return field;
}

// Diffuse light on the height field from the upper left, with wrapped
// differences so the lighting tiles too. `relief` scales the slopes.
float lightAt(const Field& h, int x, int y, float relief) {
  const float dx = (h.at(x + 1, y) - h.at(x - 1, y)) * relief;
  const float dy = (h.at(x, y + 1) - h.at(x, y - 1)) * relief;
  const float lx = -0.5f, ly = -0.5f, lz = 0.7071f;
  const float len = std::sqrt(dx * dx + dy * dy + 1);
  return std::max(0.0f, (-dx * lx - dy * ly + lz) / len);
}

// Radial distance from the sprite centre, 1 at the middle of an edge.
float spriteRadius(int x, int y) {
  const float half = kSpriteSize / 2.0f;
  return std::hypot(x + 0.5f - half, y + 0.5f - half) / half;
}

}  // namespace

Image makeSmokePuff() {
  constexpr uint32_t kSeed = 7;
  constexpr float kOuterRadius = 0.78f;  // radius where the puff reaches black
  constexpr float kWobble = 0.15f;       // how far the outline bulges in and out
  constexpr float kSmokePeak = 255.0f;   // brightest texel
  Image image(kSpriteSize, kSpriteSize);
  for (int y = 0; y < kSpriteSize; ++y) {
    for (int x = 0; x < kSpriteSize; ++x) {
      const float u = float(x) / kSpriteSize * 4;
      const float v = float(y) / kSpriteSize * 4;
      // Bulging the radius with noise gives a billowy outline; since
      // the wobble shrinks r by at most 1 - kWobble, the puff is black
      // beyond kOuterRadius / (1 - kWobble) < 1, well inside the edges.
      const float bulge = periodicFbm(u, v, 4, 3, kSeed);
      const float r = spriteRadius(x, y) * (1 + kWobble * bulge);
      const float falloff = 1 - smoothstep(0, kOuterRadius, r);
      const float billow = 1 - std::fabs(periodicFbm(u * 1.5f, v * 1.5f, 6, 4, kSeed + 10));
      // Dim and streaky rather than solid: twenty of these overlap in
      // the fire, and their sum should keep its tongues, not go white.
      const float wisps = 0.35f + 0.65f * billow * billow;
      const uint8_t grey = toByte(kSmokePeak * falloff * std::sqrt(falloff) * wisps);
      image.at(x, y) = {grey, grey, grey};
    }
  }
  return image;
}

Image makeGlowSphere() {
  constexpr float kGlowRadius = 0.9f;   // black from here outwards
  constexpr float kCoreRadius = 0.14f;  // width of the white-hot centre
  constexpr float kCoreHeat = 2.0f;
  constexpr float kGlowHeat = 1.5f;
  // Soft saturation of the summed heat: a white centre without a rim.
  const float fullHeat = 1 - std::exp(-(kCoreHeat + kGlowHeat));
  Image image(kSpriteSize, kSpriteSize);
  for (int y = 0; y < kSpriteSize; ++y) {
    for (int x = 0; x < kSpriteSize; ++x) {
      const float r = spriteRadius(x, y);
      const float core = std::exp(-(r / kCoreRadius) * (r / kCoreRadius));
      const float glow = std::pow(clamp01(1 - r / kGlowRadius), 3.0f);
      const float heat = kCoreHeat * core + kGlowHeat * glow;
      const uint8_t grey = toByte(255 * (1 - std::exp(-heat)) / fullHeat);
      image.at(x, y) = {grey, grey, grey};
    }
  }
  return image;
}

Image makeAlienWall() {
  constexpr uint32_t kSeed = 31;
  const Field height = makeField(kWallSize, [](float s, float t) {
    // Warp the cell lattices so cells and veins look grown, not gridded.
    const float warpX = 0.45f * periodicFbm(s * 3, t * 3, 3, 3, kSeed);
    const float warpY = 0.45f * periodicFbm(s * 3, t * 3, 3, 3, kSeed + 5);
    const CellDistances bulbs =
        periodicCells(s * 7 + warpX * 2.5f, t * 7 + warpY * 2.5f, 7, kSeed + 11);
    const CellDistances veins = periodicCells(s * 3 + warpX, t * 3 + warpY, 3, kSeed + 17);
    // Rounded domes: rise steeply from the cell border, bulge at the centre.
    const float rise = std::sqrt(smoothstep(0, 0.7f, bulbs.second - bulbs.nearest));
    const float bulb = rise * (1 - 0.4f * bulbs.nearest);
    const float vein = 1 - smoothstep(0, 0.1f, veins.second - veins.nearest);
    const float grain = periodicFbm(s * 16, t * 16, 16, 3, kSeed + 23);
    return 0.75f * bulb + 0.8f * vein + 0.08f * grain;
  });

  const Color green{105, 160, 75};
  const Color purple{150, 100, 165};
  const Color crevice{85, 55, 38};
  const Color veinRed{200, 85, 130};
  Image image(kWallSize, kWallSize);
  for (int y = 0; y < kWallSize; ++y) {
    for (int x = 0; x < kWallSize; ++x) {
      const float s = float(x) / kWallSize;
      const float t = float(y) / kWallSize;
      const float h = height.at(x, y);
      const float hue = smoothstep(-0.4f, 0.4f, periodicFbm(s * 2, t * 2, 2, 3, kSeed + 29));
      Color c = mix(green, purple, hue);
      c = mix(crevice, c, smoothstep(0.0f, 0.4f, h));
      c = mix(c, veinRed, smoothstep(0.7f, 1.05f, h));
      const float light = lightAt(height, x, y, 12);
      // Wet sheen on the raised parts only, not in the crevices.
      const float shine = std::pow(light, 16.0f) * 90 * smoothstep(0.3f, 0.6f, h);
      c = c * (0.62f + 0.75f * light) + Color{shine, shine, shine * 0.85f};
      image.at(x, y) = toRgb(c);
    }
  }
  return image;
}

Image makeDirtFloor() {
  constexpr uint32_t kSeed = 128;
  constexpr int kSpecks = 70;
  constexpr float kSpeckColor = 9;
  const Field height = makeField(kDirtSize, [](float s, float t) {
    // Pebble size drifts across the floor; where it nears zero there are none.
    const CellDistances pebbles = periodicCells(s * 14, t * 14, 14, kSeed);
    const float size = 0.3f * smoothstep(-0.4f, 0.6f, periodicNoise(s * 5, t * 5, 5, kSeed + 1));
    const float pebble = 1 - smoothstep(size * 0.5f, size, pebbles.nearest);
    return 0.6f * periodicFbm(s * 6, t * 6, 6, 4, kSeed + 3) + 0.7f * pebble;
  });

  const Color darkEarth{110, 76, 48};
  const Color lightEarth{172, 128, 82};
  const Color stone{180, 158, 128};
  Rng rng(kSeed);
  Image image(kDirtSize, kDirtSize);
  for (int y = 0; y < kDirtSize; ++y) {
    for (int x = 0; x < kDirtSize; ++x) {
      const float s = float(x) / kDirtSize;
      const float t = float(y) / kDirtSize;
      const float soil = smoothstep(-0.6f, 0.6f, periodicFbm(s * 4, t * 4, 4, 5, kSeed + 7));
      Color c = mix(darkEarth, lightEarth, soil);
      c = mix(c, stone, smoothstep(0.55f, 0.8f, height.at(x, y)));
      const float grain = float(rng.uniform()) * 0.16f + 0.92f;
      image.at(x, y) = toRgb(c * (grain * (0.55f + 0.6f * lightAt(height, x, y, 5))));
    }
  }
  // Each speck is one or two pixels, wrapped at the edges so they tile.
  const Rgb speck = toRgb({kSpeckColor, kSpeckColor * 0.8f, kSpeckColor * 0.6f});
  for (int i = 0; i < kSpecks; ++i) {
    const int x = rng.below(kDirtSize);
    const int y = rng.below(kDirtSize);
    const int nx = (x + rng.below(2)) % kDirtSize;
    const int ny = (y + rng.below(2)) % kDirtSize;
    image.at(x, y) = speck;
    image.at(nx, ny) = speck;
  }
  return image;
}

Image makeRockCeiling() {
  constexpr uint32_t kSeed = 69;
  const Field height = makeField(kCeilingSize, [](float s, float t) {
    // A gentle warp hides the noise lattice, which ridges make visible.
    const float ws = s + 0.04f * periodicFbm(s * 4, t * 4, 4, 2, kSeed + 30);
    const float wt = t + 0.04f * periodicFbm(s * 4, t * 4, 4, 2, kSeed + 31);
    // Ridged noise: folding each octave at zero leaves sharp creases.
    float ridges = 0;
    float amplitude = 0.5f;
    for (int octave = 0, period = 4; octave < 5; ++octave, period *= 2, amplitude *= 0.5f)
      ridges += amplitude *
                (1 - std::fabs(periodicNoise(ws * period, wt * period, period, kSeed + octave)));
    // Pits only where a coarse noise allows, so they stay scattered.
    const CellDistances pits = periodicCells(s * 7, t * 7, 7, kSeed + 9);
    const float depth = smoothstep(-0.2f, 0.3f, periodicNoise(s * 3, t * 3, 3, kSeed + 12));
    const float pit = depth * (1 - smoothstep(0.05f, 0.3f, pits.nearest));
    return ridges - 0.5f * pit;
  });

  const Color slate{110, 112, 130};
  const Color ochre{155, 132, 96};
  const Color lichen{105, 135, 120};
  const Color deep{12, 10, 14};
  Image image(kCeilingSize, kCeilingSize);
  for (int y = 0; y < kCeilingSize; ++y) {
    for (int x = 0; x < kCeilingSize; ++x) {
      const float s = float(x) / kCeilingSize;
      const float t = float(y) / kCeilingSize;
      const float h = height.at(x, y);
      const float tint = smoothstep(-0.5f, 0.5f, periodicFbm(s * 3, t * 3, 3, 4, kSeed + 21));
      const float growth = smoothstep(0.2f, 0.6f, periodicFbm(s * 5, t * 5, 5, 4, kSeed + 25));
      Color c = mix(mix(slate, ochre, tint), lichen, growth);
      c = c * (0.55f + 0.8f * lightAt(height, x, y, 14));
      image.at(x, y) = toRgb(mix(deep, c, smoothstep(0.05f, 0.35f, h)));
    }
  }
  return image;
}
