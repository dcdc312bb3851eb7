#include "particles/particles.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>

#include "core/easing.h"
#include "core/random.h"
#include "gfx/fog.h"

ParticleSystem particleSystem;

namespace {
constexpr float kMoveScale = 0.2f;    // a velocity of 1 moves 0.2 units per second
constexpr float kLaunchScale = 5.0f;  // ... and launch moves by the full velocity
constexpr float kSpinRange = 40.0f;   // initial spin in [-20, 20)
constexpr float kFadeInEnd = 0.1f;    // fire and smoke: share of life spent brightening
constexpr float kFullUntil = 0.2f;    // ... and at full brightness
constexpr float kCloudFadeInEnd = 0.3f;

bool usesSphereTexture(int kind) { return kind == LaserBolt || kind == AlienShot; }

// The texel alpha (0 to 255) at or below which no fragment of a particle of
// vertex alpha a passes the alpha test: the fragment's alpha is a times the
// filtered texel alpha, and a, the filtering and the product may each be
// rounded to 8 bits on the way. kAlphaLevels - 1 or more: nothing passes.
int hiddenTexelAlpha(float a) {
  constexpr double kLevel = 1.0 / 255.0;
  if (a <= 0.0f) return kAlphaLevels - 1;
  const double passing = (kParticleAlphaCutoff - kLevel) / (a + kLevel) * 255.0 - 1.0;
  return static_cast<int>(std::clamp(std::floor(passing), 0.0, kAlphaLevels - 1.0));
}
}  // namespace

ParticleSystem::ParticleSystem()
    : slots{},
      activeCount(kParticleSlots),
      smokeTexture(0),
      sphereTexture(0),
      lastEmitTime{},
      emitInterval{0.1f, 0.05f, 0.05f, 0.2f, 0.2f},
      gravity{0.0f, 0.0f, 0.01f, 0.1f, 0.1f},
      spread{0.004f, 0.006f, 0.4f, 0.0f, 0.0f},
      baseSize{0.1f, 0.1f, 0.0075f, 0.03f, 0.03f},
      lifeSpan{30.0f, 30.0f, 2.25f, 4.0f, 4.0f},
      growth{},
      windX{0.0f, 0.01f, 0.0f, 0.0f, 0.0f},
      windY{0.02f, 0.02f, 0.0f, 0.0f, 0.0f},
      windZ{},
      attraction(2.0f),
      colorScaleR{1.0f, 1.0f, 1.0f, 1.0f, 1.0f},
      colorScaleG{1.0f, 1.0f, 1.0f, 1.0f, 1.0f},
      colorScaleB{1.0f, 1.0f, 1.0f, 1.0f, 1.0f} {
  std::fill(std::begin(smokeSpriteRadii), std::end(smokeSpriteRadii), kWholeSquare);
  std::fill(std::begin(sphereSpriteRadii), std::end(sphereSpriteRadii), kWholeSquare);
}

float ParticleSystem::sinceLastEmission(int kind, double now) const {
  // Rounded to float like the interval, so that a gap of exactly 50 ms meets
  // an interval of 0.05.
  return static_cast<float>(now - lastEmitTime[kind]);
}

int ParticleSystem::emit(int kind, float x, float y, float z, double now, float timeScale) {
  if (kind < 0 || kind >= kParticleKinds) return -1;
  if (sinceLastEmission(kind, now) < emitInterval[kind]) return -1;
  const float half = spread[kind] * 0.5f;
  int slot = 0;
  while (slot < activeCount && slots[slot].active != 0) ++slot;
  if (slot == activeCount) return -1;

  // Random draws in a fixed order: velocity x, y, z, then size, then colour.
  Particle& p = slots[slot];
  switch (kind) {
    case Flame:
    case Smoke: {
      p.velocity[0] = static_cast<float>(randomValue(spread[kind]) - half);
      p.velocity[1] = static_cast<float>(randomValue(spread[kind]) - half);
      p.velocity[2] = static_cast<float>((randomValue(spread[kind]) - half) * 0.2);
      p.size = static_cast<float>(randomValue(baseSize[kind]) + baseSize[kind]);
      const float grey = 0.66f;
      const float flame[3] = {1.0f, 0.5f, 0.25f};
      for (int c = 0; c < 3; ++c) p.color[c] = kind == Flame ? flame[c] : grey;
      break;
    }
    case kCloudKind:
      p.velocity[0] = -attraction * x;
      p.velocity[1] = 0.0f;
      p.velocity[2] = -attraction * z;
      p.size = 0.0f;
      for (float& c : p.color) c = static_cast<float>(randomValue(0.7) + 0.3);
      break;
    default: {  // LaserBolt (violet-white) and AlienShot (red)
      const double blueRange = kind == LaserBolt ? 0.1 : 0.2;
      const double blueBase = kind == LaserBolt ? 0.9 : 0.2;
      p.velocity[0] = p.velocity[1] = p.velocity[2] = 0.0f;
      p.size = baseSize[kind];
      p.color[0] = static_cast<float>(randomValue(0.1) + 0.9);
      p.color[1] = static_cast<float>(randomValue(0.2) + 0.2);
      p.color[2] = static_cast<float>(randomValue(blueRange) + blueBase);
      break;
    }
  }

  lastEmitTime[kind] = now;
  p.active = 1;
  p.kind = kind;
  p.position[0] = x;
  p.position[1] = y;
  p.position[2] = z;
  p.angle = static_cast<float>(randomValue(360.0));
  p.spin = static_cast<float>(randomValue(kSpinRange) - kSpinRange * 0.5f);
  p.birthTime = now;
  p.lifetime = lifeSpan[kind] / timeScale;
  p.deathTime = now + p.lifetime;
  return slot;
}

void ParticleSystem::launch(int slot, float vx, float vy, float vz, float spin, float dt) {
  Particle& p = slots[slot];
  p.velocity[0] = vx;
  p.velocity[1] = vy;
  p.velocity[2] = vz;
  p.spin = spin;
  const float step = dt * kMoveScale * kLaunchScale;
  p.position[0] += (p.velocity[0] + windX[p.kind]) * step;
  p.position[1] += (p.velocity[1] + windY[p.kind]) * step;
  p.position[2] += (p.velocity[2] + windZ[p.kind]) * step;
}

void ParticleSystem::update(int kind, double now, float dt, float timeScale) {
  const float step = dt * kMoveScale * timeScale;
  for (int i = 0; i < activeCount; ++i) {
    Particle& p = slots[i];
    if (p.active == 0 || p.kind != kind) continue;
    if (now > p.deathTime) {
      p.active = 0;  // still live at exactly its death time
      continue;
    }
    if (kind == kCloudKind) continue;
    p.position[0] += (p.velocity[0] + windX[kind]) * step;
    p.position[1] += (p.velocity[1] + windY[kind]) * step;
    p.position[2] += (p.velocity[2] + windZ[kind]) * step;
    p.velocity[1] += gravity[kind];
    p.angle += dt * p.spin;
    p.size += dt * growth[kind];
  }
}

float particleEnvelope(int kind, float t) {
  if (kind == kCloudKind) {
    return t < kCloudFadeInEnd ? static_cast<float>(cosineBlend(0.0f, 1.0f, t / kCloudFadeInEnd))
                               : 1.0f;
  }
  if (t < kFadeInEnd) return static_cast<float>(cosineBlend(0.0f, 1.0f, t / kFadeInEnd));
  if (t <= kFullUntil) return 1.0f;
  return static_cast<float>(cosineBlend(1.0f, 0.0f, (t - kFullUntil) / (1.0f - kFullUntil)));
}

namespace {
// The viewer's turn undone: the world directions of a square's x and y axes
// before its roll, Ry(-heading) Rx(-pitch) applied to the unit axes. The same
// for every particle of one draw.
struct ViewFacing {
  float xAxis[3];
  float yAxis[3];
};

ViewFacing viewFacing(float pitch, float heading) {
  const double p = -pitch / kDegreesPerRadian;
  const double h = -heading / kDegreesPerRadian;
  return {{static_cast<float>(std::cos(h)), 0.0f, static_cast<float>(-std::sin(h))},
          {static_cast<float>(std::sin(p) * std::sin(h)), static_cast<float>(std::cos(p)),
           static_cast<float>(std::sin(p) * std::cos(h))}};
}

// The billboard's right and up directions for a square rolled by angle degrees.
void billboardAxes(const ViewFacing& view, float angle, float right[3], float up[3]) {
  const double a = angle / kDegreesPerRadian;
  const float c = static_cast<float>(std::cos(a));
  const float s = static_cast<float>(std::sin(a));
  for (int i = 0; i < 3; ++i) {
    right[i] = c * view.xAxis[i] + s * view.yAxis[i];
    up[i] = -s * view.xAxis[i] + c * view.yAxis[i];
  }
}

// Corners of the drawn shape in texture coordinates, counter-clockwise: the
// whole square, or an octagon around the disc that holds every visible texel.
struct SpriteOutline {
  float s[8];
  float t[8];
  int corners;
};

// The octagon's corners as seen from its centre, for a disc of radius 1:
// its edges touch the disc.
struct UnitOctagon {
  float s[8];
  float t[8];
  UnitOctagon() : s{}, t{} {
    const double cornerDistance = 1.0 / std::cos(kPi / 8.0);
    for (int i = 0; i < 8; ++i) {
      const double theta = (i + 0.5) * kPi / 4.0 - kPi;
      s[i] = static_cast<float>(cornerDistance * std::cos(theta));
      t[i] = static_cast<float>(cornerDistance * std::sin(theta));
    }
  }
};

SpriteOutline spriteOutline(float radius, bool filled) {
  static const UnitOctagon octagon;
  SpriteOutline o{};
  // Lines and points show the shape's edges and corners, so there it stays the square.
  if (!filled || radius >= 0.5f) {
    const float square[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
      o.s[i] = square[i][0];
      o.t[i] = square[i][1];
    }
    o.corners = 4;
    return o;
  }
  for (int i = 0; i < 8; ++i) {
    o.s[i] = 0.5f + radius * octagon.s[i];
    o.t[i] = 0.5f + radius * octagon.t[i];
  }
  o.corners = 8;
  return o;
}

// One particle's shape: four corners of a quad in line and point modes, a
// fan of separate triangles in filled mode, so one glBegin holds them all.
void emitSprite(const SpriteOutline& o, bool filled, const float centre[3], const float right[3],
                const float up[3], float halfSize) {
  float x[8][3];
  for (int i = 0; i < o.corners; ++i) {
    const float u = (2.0f * o.s[i] - 1.0f) * halfSize;
    const float v = (2.0f * o.t[i] - 1.0f) * halfSize;
    for (int k = 0; k < 3; ++k) x[i][k] = centre[k] + u * right[k] + v * up[k];
  }
  if (!filled) {
    for (int i = 0; i < o.corners; ++i) {
      glTexCoord2f(o.s[i], o.t[i]);
      glVertex3fv(x[i]);
    }
    return;
  }
  for (int i = 1; i + 1 < o.corners; ++i) {
    for (int corner : {0, i, i + 1}) {
      glTexCoord2f(o.s[corner], o.t[corner]);
      glVertex3fv(x[corner]);
    }
  }
}
}  // namespace

void ParticleSystem::draw(int kind, float sizeScale, float alpha, float pitch, float heading,
                          double now) {
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // additive: overlapping particles glow
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, kParticleAlphaCutoff);
  // The fog as the GL would lay it on, put into each particle's colour: a
  // billboard faces the eye, so its eye depth, and with it the fog's factor,
  // is the same at every corner. With one colour a particle, flat shading
  // spares the renderer interpolating it; with the fog in the colour, it has
  // no fog to work out for each pixel of what is the program's largest fill.
  const bool fogged = glIsEnabled(GL_FOG) == GL_TRUE;
  glDisable(GL_FOG);
  glShadeModel(GL_FLAT);
  float modelView[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, modelView);

  if (kind >= 0 && kind < kParticleKinds) {
    const bool sphere = usesSphereTexture(kind);
    if (sphere) glEnable(GL_DEPTH_TEST);
    const GLuint texture = drawingTexture(sphere ? sphereTexture : smokeTexture);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint polygonMode[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    const bool filled = polygonMode[0] == GL_FILL;
    const float* radii = sphere ? sphereSpriteRadii : smokeSpriteRadii;
    const ViewFacing view = viewFacing(pitch, heading);
    // Every particle of the kind in one batch: the corners are turned to face
    // the viewer here rather than through a matrix per particle.
    glBegin(filled ? GL_TRIANGLES : GL_QUADS);
    for (int i = 0; i < activeCount; ++i) {
      const Particle& p = slots[i];
      if (p.active == 0 || p.kind != kind) continue;
      float a = alpha;
      if (!sphere) a *= particleEnvelope(kind, static_cast<float>(now - p.birthTime) / p.lifetime);
      // Too faint for any fragment to pass the alpha test: nothing to draw.
      const int hidden = hiddenTexelAlpha(a);
      if (hidden >= kAlphaLevels - 1) continue;
      // Colour pre-multiplied by alpha, which the additive blend applies again;
      // the fog darkens the colour only.
      const float fog = fogged ? fogFactorAt(modelView, p.position) : 1.0f;
      // Black added changes nothing: beyond the fog only a particle that
      // writes depth still has something to draw.
      if (fog == 0.0f && !sphere) continue;
      glColor4f(p.color[0] * colorScaleR[kind] * a * fog, p.color[1] * colorScaleG[kind] * a * fog,
                p.color[2] * colorScaleB[kind] * a * fog, a);
      float right[3];
      float up[3];
      billboardAxes(view, p.angle, right, up);
      // Without a picture the whole square shows.
      const float radius = texture == 0 ? kWholeSquare : radii[hidden];
      emitSprite(spriteOutline(radius, filled), filled, p.position, right, up,
                 sizeScale * p.size);
    }
    glEnd();
  }

  glShadeModel(GL_SMOOTH);
  if (fogged) glEnable(GL_FOG);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

int ParticleSystem::hitTest(int kind, float x, float y, float z, float radius) {
  for (int i = 0; i < activeCount; ++i) {
    Particle& p = slots[i];
    if (p.active == 0 || p.kind != kind) continue;
    if (std::fabs(p.position[0] - x) < radius && std::fabs(p.position[1] - y) < radius &&
        std::fabs(p.position[2] - z) < radius) {
      p.active = 0;
      return 1;
    }
  }
  return 0;
}

void ParticleSystem::clear() {
  for (Particle& p : slots) p.active = 0;
}
