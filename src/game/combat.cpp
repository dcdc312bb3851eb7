#include "game/combat.h"

#include <GL/freeglut.h>

#include <cmath>

#include "core/easing.h"
#include "core/frame_clock.h"
#include "core/input_state.h"
#include "core/random.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "game/player.h"
#include "game/player_status.h"
#include "gfx/draw_passes.h"
#include "gfx/sphere.h"
#include "particles/particles.h"
#include "platform/sound.h"
#include "text/text_renderer.h"
#include "world/regions.h"

namespace {
constexpr double kDrawDistance = 19.0;  // regions whose corner is farther are skipped
constexpr float kLaserDrop = 0.1f;      // the bolt starts this far below the eye
constexpr float kShotSpeed = 20.0f;
constexpr float kShotSpin = 5000.0f;
constexpr float kLaserHitRadius = 0.075f;
constexpr float kAlienHitRadius = 0.1f;
constexpr float kLaserDamage = 0.34f;
constexpr float kAlienDamage = 0.05f;
constexpr float kRegeneration = 0.05f;  // health per second
constexpr double kTargetRadius = 0.075;
constexpr int kTargetDetail = 10;     // slices and stacks
constexpr double kRespawnRate = 0.1;  // chance per second
constexpr double kFireRate = 10.0;    // chance per second
constexpr double kFiringZone = 1.0;   // targets fire while |player x| < this
constexpr int kFirstTargetChannel = 15;
constexpr int kExplosionFlames = 8;
constexpr float kExplosionSpread = 4.0f;
constexpr int kKillsPerTarget = 3;

void destroyTarget(Target& t) {
  playSound(BoomSound);
  kills += 1;
  if (kills % (kKillsPerTarget * targetCount) == 0) {
    targetCount = kills / kKillsPerTarget + 1;
    if (targetCount > kMaxTargets) {
      targetCount = kMaxTargets;  // kills keep counting toward multiples of 57
    } else {
      screenText.showMessage("Targets: %3d", targetCount);
      kills = 0;
    }
  }
  t.active = 0;

  // A burst of flames with no rate limit and a wide spread, then the room
  // fire's values come back.
  const float savedInterval = particleSystem.emitInterval[Flame];
  const float savedSpread = particleSystem.spread[Flame];
  particleSystem.emitInterval[Flame] = 0.0f;
  particleSystem.spread[Flame] = kExplosionSpread;
  for (int i = 0; i < kExplosionFlames; ++i) {
    particleSystem.emit(Flame, t.x, t.y, t.z, seconds, 1.0f);
  }
  particleSystem.emitInterval[Flame] = savedInterval;
  particleSystem.spread[Flame] = savedSpread;
}

void drawTarget(const Target& t) {
  glColor3f(1.0f, 0.5f, 0.25f);
  glPushMatrix();
  glTranslatef(t.x, t.y, t.z);
  // Key S turns the spotlight off: the target then shows its flat colour.
  if (settings.spotLights != 0) glEnable(GL_LIGHTING);
  drawSphere(kTargetRadius, kTargetDetail, kTargetDetail, 1.0, 1.0, 0.0, 0.0);
  glDisable(GL_LIGHTING);
  glPopMatrix();
}

void respawn(Target& t) {
  t.active = 1;
  t.health = 1.0f;
  t.x = static_cast<float>(randomValue(0.8) - 0.4);
  t.y = static_cast<float>(randomValue(0.5) + 0.25);
  t.z = static_cast<float>(randomValue(16.0) - 2.0);
}

// Aims one alien shot at the player's eye as it is now.
void alienFire(const Target& t) {
  const int slot = particleSystem.emit(AlienShot, t.x, t.y, t.z, seconds, settings.effectScale);
  if (slot < 0) return;
  const double dx = player.x - t.x;
  const double dy = player.y - t.y;
  const double dz = player.z - t.z;
  const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
  if (d == 0.0) {
    // Fired from the eye itself, the shot has no direction to fly in: it
    // stays on the eye rather than taking a velocity of 0 / 0.
    particleSystem.launch(slot, 0.0f, 0.0f, 0.0f, kShotSpin, delta);
    return;
  }
  particleSystem.launch(slot, static_cast<float>(kShotSpeed * dx / d),
                        static_cast<float>(kShotSpeed * dy / d),
                        static_cast<float>(kShotSpeed * dz / d), kShotSpin, delta);
}

// How far the eye is across the floor from a region's rectangle; 0 inside it.
double floorDistance(const WorldObject& r) {
  const double dx = std::fmax(0.0, std::fmax(r.xMin - player.x, player.x - r.xMax));
  const double dz = std::fmax(0.0, std::fmax(r.zMin - player.z, player.z - r.zMax));
  return std::sqrt(dx * dx + dz * dz);
}

void drawParticles() {
  const float sizeScale = settings.objectSize * settings.effectScale;
  const float pitch = static_cast<float>(player.pitch);
  const float heading = static_cast<float>(player.heading);
  for (int kind : kGameKinds) {
    particleSystem.draw(kind, sizeScale, fadeLevel, pitch, heading, seconds);
  }
}
}  // namespace

void drawWorld() {
  // The regions near the eye feed their particles in map order, which fixes
  // the order of the random draws; then they are drawn nearest first, so the
  // depth test drops the hidden parts of the farther ones before they are
  // textured. Only the order changes, and with it no pixel of the picture.
  int order[kWorldObjectSlots];
  double distance[kWorldObjectSlots];
  int count = 0;
  for (int i = 0; i < worldObjectCount; ++i) {
    const WorldObject& r = worldObjects[i];
    const bool near = std::fabs(player.x - r.xMin) < kDrawDistance &&
                      std::fabs(player.z - r.zMin) < kDrawDistance;
    if (!near) continue;
    if (r.feed != nullptr) r.feed();
    if (r.draw == nullptr) continue;
    // Insertion by distance from the eye to the floor rectangle; ties keep map order.
    const double d = floorDistance(r);
    int at = count++;
    for (; at > 0 && distance[at - 1] > d; --at) {
      order[at] = order[at - 1];
      distance[at] = distance[at - 1];
    }
    order[at] = i;
    distance[at] = d;
  }
  for (int k = 0; k < count; ++k) worldObjects[order[k]].draw();
}

void fireLaser() {
  if (fireHeld == 0) return;
  if (settings.health == 0.0f) settings.health = 1.0f;  // a click gives a new life
  const int slot = particleSystem.emit(LaserBolt, static_cast<float>(player.x),
                                       static_cast<float>(player.y) - kLaserDrop,
                                       static_cast<float>(player.z), seconds, settings.effectScale);
  if (slot < 0) return;
  // Along the view: x and z from the heading alone, the vertical part from
  // the pitch; the vector is deliberately not normalised.
  const double h = player.heading / kDegreesPerRadian;
  const double p = player.pitch / kDegreesPerRadian;
  particleSystem.launch(slot, static_cast<float>(kShotSpeed * std::sin(h)),
                        static_cast<float>(-kShotSpeed * std::sin(p)),
                        static_cast<float>(-kShotSpeed * std::cos(h)), kShotSpin, delta);
  playSound(LaserSound);
}

void updateTargets() {
  glEnable(GL_DEPTH_TEST);
  for (int i = 0; i < targetCount; ++i) {
    Target& t = targets[i];
    if (t.active != 0) {
      const int channel = kFirstTargetChannel + 3 * i;
      t.x = static_cast<float>(oscillatorValue(channel, 30.0, 2.0, -1.0));
      t.y = static_cast<float>(oscillatorValue(channel + 1, 30.0, 0.5, 0.25));
      t.z = static_cast<float>(oscillatorValue(channel + 2, 4.0, 16.0, -2.0));
      drawTarget(t);
    } else if (randomValue(1.0) < delta * kRespawnRate) {
      respawn(t);  // drawn from the next frame on, at its oscillator position
    }
    if (t.active != 0) {
      const bool fires = randomValue(1.0) < kFireRate * delta;
      if (fires && settings.health > 0.0f && -kFiringZone < player.x && player.x < kFiringZone) {
        alienFire(t);
      }
    }
  }
  glDisable(GL_DEPTH_TEST);
}

void updatePlayerHealth() {
  if (settings.health == 0.0f) {
    screenText.showMessage("Click for new life");
  } else if (settings.health < 1.0f) {
    settings.health += delta * kRegeneration;
    if (settings.health > 1.0f) settings.health = 1.0f;
  }
}

void checkAlienHit() {
  const float x = static_cast<float>(player.x);
  const float y = static_cast<float>(player.y);
  const float z = static_cast<float>(player.z);
  if (particleSystem.hitTest(AlienShot, x, y, z, kAlienHitRadius) != 1) return;
  settings.health -= kAlienDamage;
  if (settings.health > 0.0f) return;
  settings.health = 0.0f;
  player.deaths += 1;
  screenText.showMessage("Deaths: %3d", player.deaths);
  particleSystem.clear();
  if (targetCount > 1) targetCount -= 1;
}

void checkLaserHits() {
  // The bound is read on every pass: a count that grows extends the loop.
  for (int i = 0; i < targetCount; ++i) {
    Target& t = targets[i];
    if (t.active == 0 || particleSystem.hitTest(LaserBolt, t.x, t.y, t.z, kLaserHitRadius) != 1) {
      continue;
    }
    t.health -= kLaserDamage;
    if (t.health <= 0.0f) destroyTarget(t);
  }
}

void gameStep() {
  beginPass(DrawPass::World);
  drawWorld();
  // Only the manual camera looks with the pointer; the fly-through leaves it
  // alone, so in a window it moves out freely.
  if (settings.cameraMode == 1 && mouseMoved != 0) {
    mouseMoved = 0;
    const PointerPoint centre = pointerCentre();
    glutWarpPointer(centre.x, centre.y);
  }
  movePlayer();
  fireLaser();
  glEnable(GL_FOG);
  for (int kind : kGameKinds) {
    particleSystem.update(kind, seconds, delta, settings.effectScale);
  }
  beginPass(DrawPass::Targets);
  updateTargets();
  beginPass(DrawPass::Particles);
  drawParticles();
  glDisable(GL_FOG);
  beginPass(DrawPass::Overlays);
  if (settings.cameraMode == 1) {
    drawPlayerStatus();
    updatePlayerHealth();
    checkAlienHit();
  }
  checkLaserHits();
}
