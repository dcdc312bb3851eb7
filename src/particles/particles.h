// The particle pool: 640 camera-facing textured squares for fire, smoke,
// laser bolts, alien shots and explosion flames. Each kind has its own row
// of emitter values; emit takes the lowest free slot below activeCount.
#pragma once
#include <GL/gl.h>

#include "gfx/textures.h"

enum ParticleKind { Flame = 0, Smoke = 1, LaserBolt = 3, AlienShot = 4 };

constexpr int kParticleKinds = 5;  // kind 2 is reserved: a cloud nothing emits
constexpr int kCloudKind = 2;
constexpr int kParticleSlots = 640;
// The kinds in play, in the order the game step updates and draws them.
constexpr int kGameKinds[4] = {Flame, Smoke, LaserBolt, AlienShot};

struct Particle {
  float position[3];
  float velocity[3];
  float angle;  // roll about the view axis, degrees
  float spin;   // degrees per second
  float size;   // half the edge before the size scale
  float color[3];
  float lifetime;    // seconds
  double birthTime;  // clock seconds: times are doubles, so they stay exact
  double deathTime;  // to the millisecond however long the program runs
  int kind;
  int active;
};

class ParticleSystem {
 public:
  ParticleSystem();
  virtual ~ParticleSystem() {}

  // Slot of the new particle, or -1 (rate-limited, pool full, unknown kind).
  int emit(int kind, float x, float y, float z, double now, float timeScale);
  // Gives a just-emitted particle its velocity and spin and moves it once.
  void launch(int slot, float vx, float vy, float vz, float spin, float dt);
  void update(int kind, double now, float dt, float timeScale);
  // Draws the kind's live particles, under the fog when GL_FOG is on.
  void draw(int kind, float sizeScale, float alpha, float pitch, float heading, double now);
  // Seconds since the kind last emitted, at the precision of its interval.
  float sinceLastEmission(int kind, double now) const;
  // Frees the first live particle of the kind inside the cube of half-edge
  // radius about (x, y, z) and returns 1; 0 when there is none.
  int hitTest(int kind, float x, float y, float z, float radius);
  void clear();  // all 640 slots, also those at or above activeCount

  Particle slots[kParticleSlots];
  int activeCount;
  GLuint smokeTexture;
  GLuint sphereTexture;
  // How far from the centre, in texture units, each texture has texels of
  // each alpha and above (spriteRadii); set when the textures are loaded.
  // Billboards in filled mode are drawn as octagons around the disc whose
  // texels can survive the alpha test at the particle's own alpha, instead
  // of squares: the picture stays as it is, and the dark corners and the
  // faint rim of a fading particle cost no fill.
  float smokeSpriteRadii[kAlphaLevels];
  float sphereSpriteRadii[kAlphaLevels];
  double lastEmitTime[kParticleKinds];  // clock seconds
  float emitInterval[kParticleKinds];
  float gravity[kParticleKinds];
  float spread[kParticleKinds];
  float baseSize[kParticleKinds];
  float lifeSpan[kParticleKinds];
  float growth[kParticleKinds];
  float windX[kParticleKinds];
  float windY[kParticleKinds];
  float windZ[kParticleKinds];
  float attraction;
  float colorScaleR[kParticleKinds];
  float colorScaleG[kParticleKinds];
  float colorScaleB[kParticleKinds];
};

extern ParticleSystem particleSystem;

// Brightness of a fire, smoke or cloud particle at age fraction t of its life.
float particleEnvelope(int kind, float t);

constexpr float kParticleAlphaCutoff = 0.1f;  // fragments at or below this alpha are dropped
