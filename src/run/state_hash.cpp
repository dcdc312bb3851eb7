#include "run/state_hash.h"

#include "core/fnv_hash.h"
#include "core/frame_clock.h"
#include "core/input_state.h"
#include "core/oscillators.h"
#include "core/random.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "game/camera_path.h"
#include "game/combat.h"
#include "game/player.h"
#include "input/keyboard.h"
#include "particles/particles.h"
#include "text/text_renderer.h"

namespace {
class Hasher {
 public:
  // Values one by one, never whole structs: padding bytes hold no state.
  template <typename T>
  void add(const T& value) {
    hash_ = fnvHash(hash_, &value, sizeof value);
  }
  template <typename T, size_t N>
  void add(const T (&values)[N]) {
    for (const T& v : values) add(v);
  }
  uint64_t value() const { return hash_; }

 private:
  uint64_t hash_ = kFnvOffsetBasis;
};

void addSettings(Hasher& h, const SceneSettings& s) {
  h.add(s.fov), h.add(s.letterbox), h.add(s.universe), h.add(s.blanking);
  h.add(s.spotLights), h.add(s.textures), h.add(s.polyMode), h.add(s.cameraMode);
  h.add(s.particleOption), h.add(s.frameClock), h.add(s.rotateSpeed), h.add(s.movementSpeed);
  h.add(s.cameraZ), h.add(s.objectSize), h.add(s.effectScale), h.add(s.lightRotateSpeed);
  h.add(s.health);
}

void addParticles(Hasher& h, const ParticleSystem& ps) {
  for (const Particle& p : ps.slots) {
    h.add(p.active);
    if (p.active == 0) continue;  // a free slot's leftovers are never read
    h.add(p.position), h.add(p.velocity), h.add(p.angle), h.add(p.spin), h.add(p.size);
    h.add(p.color), h.add(p.lifetime), h.add(p.birthTime), h.add(p.deathTime), h.add(p.kind);
  }
  h.add(ps.activeCount), h.add(ps.lastEmitTime), h.add(ps.emitInterval), h.add(ps.gravity);
  h.add(ps.spread), h.add(ps.baseSize), h.add(ps.lifeSpan), h.add(ps.growth), h.add(ps.windX);
  h.add(ps.windY), h.add(ps.windZ), h.add(ps.attraction);
}
}  // namespace

uint64_t simulationStateHash() {
  Hasher h;
  h.add(randomState());
  h.add(clockMs), h.add(seconds), h.add(delta), h.add(lastClockMs), h.add(frameCount);
  h.add(nextSampleMs), h.add(framesPerSecond);
  h.add(oscillators.phase), h.add(oscillators.rate), h.add(oscillators.targetRate);
  h.add(oscillators.running);
  h.add(fadeLevel), h.add(quitting), h.add(paused), h.add(helpScreen), h.add(letterboxStep);
  h.add(arrowKeys), h.add(mouseDX), h.add(mouseDY), h.add(mouseMoved), h.add(fireHeld);
  addSettings(h, settings);
  h.add(player.x), h.add(player.y), h.add(player.z), h.add(player.pitch), h.add(player.heading);
  h.add(player.deaths);
  h.add(pathFrom), h.add(pathTo), h.add(pathT);
  addParticles(h, particleSystem);
  for (int i = 0; i < kMaxTargets; ++i) {
    const Target& t = targets[i];
    h.add(t.x), h.add(t.y), h.add(t.z), h.add(t.health), h.add(t.active);
  }
  h.add(targetCount), h.add(kills);
  h.add(screenText.messageExpiry);
  return h.value();
}
