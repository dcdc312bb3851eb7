// Combat rules: laser bolts against targets, kills and the growth of the
// number of targets, alien shots against the player, deaths, new lives and
// health regeneration. The messages are drawn text, so these run with a GL
// context; sounds find no audio device here and stay silent.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "scene/projection.h"
#include "core/frame_clock.h"
#include "core/input_state.h"
#include "core/settings.h"
#include "game/camera_path.h"
#include "game/combat.h"
#include "game/player.h"
#include "gfx/lights.h"
#include "gl/gl_support.h"
#include "particles/particles.h"
#include "support/state.h"
#include "text/text_renderer.h"

namespace {
constexpr float kFrameStep = 0.02f;

class CombatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreProgramState();
    seconds = 3.0f;
    delta = kFrameStep;
    // Shots placed by hand are not held back by the rate limits.
    particleSystem.emitInterval[LaserBolt] = 0.0f;
    particleSystem.emitInterval[AlienShot] = 0.0f;
  }
  void TearDown() override {
    glDisable(GL_DEPTH_TEST);  // left on by the game step's bolt drawing
    restoreProgramState();
  }
};

const Particle* firstLive(int kind) {
  for (const Particle& p : particleSystem.slots) {
    if (p.active != 0 && p.kind == kind) return &p;
  }
  return nullptr;
}

void placeShot(int kind, float x, float y, float z) {
  ASSERT_GE(particleSystem.emit(kind, x, y, z, seconds, 1.0f), 0);
}

// Target i gets its own spot on the corridor axis.
void placeTarget(int i, float health) {
  targets[i] = Target{0.0f, 0.5f, static_cast<float>(i), health, 1};
}

// One bolt into a target that the hit destroys.
void killTarget(int i) {
  placeTarget(i, 0.3f);
  placeShot(LaserBolt, targets[i].x, targets[i].y, targets[i].z);
  checkLaserHits();
  ASSERT_EQ(targets[i].active, 0);
}

void shootPlayer() {
  placeShot(AlienShot, static_cast<float>(player.x), static_cast<float>(player.y),
            static_cast<float>(player.z));
  checkAlienHit();
}
}  // namespace

TEST_F(CombatTest, ThreeHitsDestroyATarget) {
  placeTarget(0, 1.0f);
  for (int hit = 1; hit <= 2; ++hit) {
    placeShot(LaserBolt, 0.0f, 0.5f, 0.0f);
    checkLaserHits();
    EXPECT_EQ(targets[0].active, 1);
    EXPECT_EQ(liveCount(LaserBolt), 0);  // each hit consumes its bolt
  }
  EXPECT_NEAR(targets[0].health, 0.32f, 1e-6);
  EXPECT_EQ(kills, 0);
  placeShot(LaserBolt, 0.0f, 0.5f, 0.0f);
  checkLaserHits();
  EXPECT_EQ(targets[0].active, 0);
  EXPECT_EQ(kills, 1);
}

TEST_F(CombatTest, LaserHitsInsideAnOpenCubeOfHalfEdge0075) {
  targets[0] = Target{0.0f, 0.0f, 0.0f, 1.0f, 1};  // at the origin the offsets are exact
  // Exactly 0.075 off along any one axis is a miss.
  placeShot(LaserBolt, 0.075f, 0.0f, 0.0f);
  placeShot(LaserBolt, 0.0f, 0.075f, 0.0f);
  placeShot(LaserBolt, 0.0f, 0.0f, -0.075f);
  checkLaserHits();
  EXPECT_EQ(liveCount(LaserBolt), 3);
  EXPECT_FLOAT_EQ(targets[0].health, 1.0f);

  placeShot(LaserBolt, 0.07f, 0.07f, -0.07f);
  checkLaserHits();
  EXPECT_EQ(liveCount(LaserBolt), 3);
  EXPECT_FLOAT_EQ(targets[0].health, 0.66f);

  targets[0].active = 0;  // a dead target is not hit
  placeShot(LaserBolt, 0.0f, 0.0f, 0.0f);
  checkLaserHits();
  EXPECT_EQ(liveCount(LaserBolt), 4);
}

TEST_F(CombatTest, TargetsJoinAtThreeKillsPerTargetInPlay) {
  killTarget(0);
  killTarget(0);
  EXPECT_EQ(targetCount, 1);
  EXPECT_EQ(kills, 2);
  killTarget(0);
  EXPECT_EQ(targetCount, 2);
  EXPECT_EQ(kills, 0);
  EXPECT_STREQ(screenText.lastText, "Targets:   2");

  for (int k = 1; k <= 5; ++k) killTarget(k % 2);
  EXPECT_EQ(targetCount, 2);
  EXPECT_EQ(kills, 5);
  killTarget(1);
  EXPECT_EQ(targetCount, 3);
  EXPECT_STREQ(screenText.lastText, "Targets:   3");
}

TEST_F(CombatTest, CountStopsAtNineteenWithoutMessageAndKeepsKills) {
  targetCount = 18;
  kills = 53;
  killTarget(0);
  EXPECT_EQ(targetCount, 19);
  EXPECT_EQ(kills, 0);
  EXPECT_STREQ(screenText.lastText, "Targets:  19");

  screenText.showMessage("before");
  kills = 56;
  killTarget(0);
  EXPECT_EQ(targetCount, 19);
  EXPECT_EQ(kills, 57);
  EXPECT_STREQ(screenText.lastText, "before");
}

TEST_F(CombatTest, KillsCarriedOverADeathCanGrowTheCountByMoreThanOne) {
  targetCount = 3;
  kills = 7;
  settings.health = 0.05f;
  shootPlayer();
  ASSERT_EQ(player.deaths, 1);
  EXPECT_EQ(targetCount, 2);
  EXPECT_EQ(kills, 7);

  for (int k = 8; k <= 11; ++k) {
    killTarget(0);
    EXPECT_EQ(targetCount, 2) << "kills " << k;
  }
  killTarget(1);  // kills 12, a multiple of 3 x 2
  EXPECT_EQ(targetCount, 5);
  EXPECT_EQ(kills, 0);
  EXPECT_STREQ(screenText.lastText, "Targets:   5");
}

TEST_F(CombatTest, DestroyedTargetBurstsIntoEightFlames) {
  particleSystem.emitInterval[Flame] = 0.1f;
  particleSystem.spread[Flame] = 0.2f;
  particleSystem.lifeSpan[Flame] = 2.0f;
  particleSystem.lastEmitTime[Flame] = seconds;  // the room fire just emitted
  settings.effectScale = 2.0f;
  targets[0] = Target{0.3f, 0.6f, 7.0f, 0.1f, 1};
  placeShot(LaserBolt, 0.3f, 0.6f, 7.0f);
  checkLaserHits();

  EXPECT_EQ(liveCount(Flame), 8);
  float widest = 0.0f;
  for (const Particle& p : particleSystem.slots) {
    if (p.active == 0 || p.kind != Flame) continue;
    EXPECT_FLOAT_EQ(p.position[0], 0.3f);
    EXPECT_FLOAT_EQ(p.position[1], 0.6f);
    EXPECT_FLOAT_EQ(p.position[2], 7.0f);
    EXPECT_FLOAT_EQ(p.lifetime, 2.0f);  // time scale 1 whatever the effect scale
    EXPECT_LE(std::fabs(p.velocity[0]), 2.0f);
    EXPECT_LE(std::fabs(p.velocity[1]), 2.0f);
    EXPECT_LE(std::fabs(p.velocity[2]), 0.4f);
    widest = std::fmax(widest, std::fabs(p.velocity[0]));
  }
  EXPECT_GT(widest, 0.1f);  // wider than the room fire's spread allows
  EXPECT_FLOAT_EQ(particleSystem.emitInterval[Flame], 0.1f);
  EXPECT_FLOAT_EQ(particleSystem.spread[Flame], 0.2f);
}

TEST_F(CombatTest, AlienHitsTakeHealthAndTheTwentiethKills) {
  shootPlayer();
  EXPECT_FLOAT_EQ(settings.health, 0.95f);
  for (int hit = 2; hit <= 19; ++hit) shootPlayer();
  EXPECT_GT(settings.health, 0.0f);
  EXPECT_EQ(player.deaths, 0);
  shootPlayer();
  EXPECT_EQ(settings.health, 0.0f);
  EXPECT_EQ(player.deaths, 1);
  EXPECT_STREQ(screenText.lastText, "Deaths:   1");
}

TEST_F(CombatTest, AlienShotMustBeWithinATenthOfTheEye) {
  const float x = static_cast<float>(player.x);
  const float y = static_cast<float>(player.y);
  const float z = static_cast<float>(player.z);
  placeShot(AlienShot, x + 0.1f, y, z);
  placeShot(AlienShot, x, y, z - 0.1f);
  checkAlienHit();
  EXPECT_FLOAT_EQ(settings.health, 1.0f);
  placeShot(AlienShot, x + 0.09f, y - 0.09f, z + 0.09f);
  checkAlienHit();
  EXPECT_FLOAT_EQ(settings.health, 0.95f);
  EXPECT_EQ(liveCount(AlienShot), 2);
}

TEST_F(CombatTest, AtMostOneAlienHitCountsPerCall) {
  const float x = static_cast<float>(player.x);
  placeShot(AlienShot, x, 0.5f, 13.0f);
  placeShot(AlienShot, x, 0.5f, 13.0f);
  checkAlienHit();
  EXPECT_FLOAT_EQ(settings.health, 0.95f);
  EXPECT_EQ(liveCount(AlienShot), 1);
}

TEST_F(CombatTest, DeathClearsThePoolAndLosesATarget) {
  targetCount = 4;
  player.deaths = 2;
  settings.health = 0.05f;
  particleSystem.activeCount = 10;
  placeShot(Flame, 0.0f, 0.0f, 0.0f);
  placeShot(LaserBolt, 0.0f, 0.0f, 0.0f);
  particleSystem.slots[300].active = 1;  // frozen above the pool size
  shootPlayer();
  EXPECT_EQ(player.deaths, 3);
  EXPECT_STREQ(screenText.lastText, "Deaths:   3");
  EXPECT_EQ(targetCount, 3);
  for (const Particle& p : particleSystem.slots) EXPECT_EQ(p.active, 0);
}

TEST_F(CombatTest, DeathWithOneTargetKeepsOne) {
  settings.health = 0.05f;
  shootPlayer();
  EXPECT_EQ(player.deaths, 1);
  EXPECT_EQ(targetCount, 1);
}

TEST_F(CombatTest, DeadPlayerIsAskedToClickAndDoesNotRegenerate) {
  settings.health = 0.0f;
  screenText.showMessage("before");
  updatePlayerHealth();
  EXPECT_STREQ(screenText.lastText, "Click for new life");
  EXPECT_EQ(settings.health, 0.0f);
}

TEST_F(CombatTest, HealthRegeneratesAtATwentiethPerSecondUpToFull) {
  delta = 0.1f;
  settings.health = 0.5f;
  screenText.showMessage("before");
  updatePlayerHealth();
  EXPECT_NEAR(settings.health, 0.505f, 1e-6);
  settings.health = 0.999f;
  updatePlayerHealth();
  EXPECT_EQ(settings.health, 1.0f);
  updatePlayerHealth();
  EXPECT_EQ(settings.health, 1.0f);
  settings.health = 1e-30f;  // barely alive is alive: no message
  updatePlayerHealth();
  EXPECT_GT(settings.health, 0.004f);
  EXPECT_STREQ(screenText.lastText, "before");
}

TEST_F(CombatTest, ClickWhileDeadGivesANewLifeAndABoltAtOnce) {
  particleSystem.emitInterval[LaserBolt] = 0.05f;
  settings.health = 0.0f;
  fireHeld = 1;
  fireLaser();
  EXPECT_EQ(settings.health, 1.0f);
  EXPECT_EQ(liveCount(LaserBolt), 1);

  settings.health = 0.001f;  // only exactly zero counts as dead
  seconds += 1.0f;
  fireLaser();
  EXPECT_FLOAT_EQ(settings.health, 0.001f);
  EXPECT_EQ(liveCount(LaserBolt), 2);
}

TEST_F(CombatTest, BoltLeavesBelowTheEyeAlongTheView) {
  player.heading = 0.0;
  player.pitch = 0.0;
  fireHeld = 1;
  fireLaser();
  const Particle* bolt = firstLive(LaserBolt);
  ASSERT_NE(bolt, nullptr);
  EXPECT_NEAR(bolt->position[0], 0.0f, 1e-6);
  EXPECT_NEAR(bolt->position[1], 0.4f, 1e-6);
  EXPECT_NEAR(bolt->position[2], 13.0f - 20.0f * kFrameStep, 1e-5);
  EXPECT_NEAR(bolt->velocity[2], -20.0f, 1e-5);
  EXPECT_FLOAT_EQ(bolt->spin, 5000.0f);

  // Turned and tilted: x and z from the heading alone, not normalised.
  particleSystem.clear();
  player.heading = 90.0;
  player.pitch = 30.0;
  fireLaser();
  bolt = firstLive(LaserBolt);
  ASSERT_NE(bolt, nullptr);
  EXPECT_NEAR(bolt->velocity[0], 20.0f, 1e-4);
  EXPECT_NEAR(bolt->velocity[1], -10.0f, 1e-4);
  EXPECT_NEAR(bolt->velocity[2], 0.0f, 1e-4);
  EXPECT_NEAR(bolt->position[0], 20.0f * kFrameStep, 1e-5);
}

TEST_F(CombatTest, LaserFiresAtMostOnceEveryTwentiethOfASecond) {
  particleSystem.emitInterval[LaserBolt] = 0.05f;
  fireLaser();
  EXPECT_EQ(liveCount(LaserBolt), 0);  // button not held
  fireHeld = 1;
  seconds = 1.0f;
  fireLaser();
  EXPECT_EQ(liveCount(LaserBolt), 1);
  seconds = 1.04f;
  fireLaser();
  EXPECT_EQ(liveCount(LaserBolt), 1);
  seconds = 1.06f;
  fireLaser();
  EXPECT_EQ(liveCount(LaserBolt), 2);
}

TEST_F(CombatTest, TargetsFireOnlyWhileThePlayerIsInsideTheCorridorWidth) {
  // With delta 0.1 the fire chance 10 x delta is certain.
  delta = 0.1f;
  particleSystem.emitInterval[AlienShot] = 0.2f;
  struct Case {
    double x;
    int shots;
  };
  const Case cases[] = {{0.0, 1}, {0.999, 1}, {-0.999, 1}, {1.0, 0}, {-1.0, 0}, {1.5, 0}};
  for (const Case& c : cases) {
    particleSystem.clear();
    seconds += 1.0f;
    placeTarget(0, 1.0f);
    player.x = c.x;
    updateTargets();
    EXPECT_EQ(liveCount(AlienShot), c.shots) << "player x " << c.x;
  }
}

TEST_F(CombatTest, TargetsHoldFireAtADeadPlayer) {
  delta = 0.1f;
  settings.health = 0.0f;
  placeTarget(0, 1.0f);
  updateTargets();
  EXPECT_EQ(liveCount(AlienShot), 0);
}

TEST_F(CombatTest, AlienShotIsAimedAtTheEyeAtShotSpeed) {
  delta = 0.1f;
  player.x = 0.25;
  player.y = 0.7;
  player.z = 12.0;
  placeTarget(0, 1.0f);
  updateTargets();
  const Particle* shot = firstLive(AlienShot);
  ASSERT_NE(shot, nullptr);
  const Target& t = targets[0];
  const double toEye[3] = {player.x - t.x, player.y - t.y, player.z - t.z};
  const double d = std::sqrt(toEye[0] * toEye[0] + toEye[1] * toEye[1] + toEye[2] * toEye[2]);
  for (int axis = 0; axis < 3; ++axis) {
    EXPECT_NEAR(shot->velocity[axis], 20.0 * toEye[axis] / d, 1e-4) << axis;
  }
}

TEST_F(CombatTest, AShotFiredFromTheEyeItselfStaysOnTheEye) {
  delta = 0.1f;
  placeTarget(0, 1.0f);
  // Where the oscillators, all at phase 0, put target 0 in the frame.
  player.x = 0.0;
  player.y = 0.5;
  player.z = 6.0;
  updateTargets();
  ASSERT_EQ(targets[0].z, 6.0f);
  const Particle* shot = firstLive(AlienShot);
  ASSERT_NE(shot, nullptr);
  const double eye[3] = {player.x, player.y, player.z};
  for (int axis = 0; axis < 3; ++axis) {
    EXPECT_EQ(shot->velocity[axis], 0.0f) << axis;
    EXPECT_EQ(shot->position[axis], eye[axis]) << axis;
  }
}

TEST_F(CombatTest, AllTargetsShareOneAlienShotRateLimit) {
  delta = 0.1f;
  particleSystem.emitInterval[AlienShot] = 0.2f;
  targetCount = 3;
  for (int i = 0; i < 3; ++i) placeTarget(i, 1.0f);
  updateTargets();
  EXPECT_EQ(liveCount(AlienShot), 1);
  seconds += 0.1f;
  updateTargets();
  EXPECT_EQ(liveCount(AlienShot), 1);
  seconds += 0.15f;
  updateTargets();
  EXPECT_EQ(liveCount(AlienShot), 2);
}

TEST_F(CombatTest, OnlyTheManualCameraCanBeHurt) {
  delta = 0.0f;  // no respawns, no target fire: only the placed shot
  placeShot(AlienShot, 0.0f, 0.5f, 13.0f);
  settings.cameraMode = 0;
  gameStep();
  EXPECT_FLOAT_EQ(settings.health, 1.0f);
  EXPECT_EQ(liveCount(AlienShot), 1);
  settings.cameraMode = 1;
  gameStep();
  EXPECT_FLOAT_EQ(settings.health, 0.95f);
  EXPECT_EQ(liveCount(AlienShot), 0);
}

TEST_F(CombatTest, KeySTurnsTheSpotlightOffAndTheTargetShowsItsFlatColour) {
  resizeTestWindow(640, 480);
  delta = 0.0f;  // no target fire
  glLoadIdentity();
  setupLights(1, 0.5f, 0.8f);
  updateLights(1, 0.5f, 0.5f, 0.9f, 1.0f, 10.0f);
  // At phase 0 target 0 hovers at (0, 0.5, 6): one unit ahead of this eye.
  settings.cameraMode = 1;
  player.z = 7.0;
  applyCamera();
  applyView();
  targets[0] = Target{0.0f, 0.0f, 0.0f, 1.0f, 1};
  const auto centre = [] {
    clearToBlack();
    updateTargets();
    return pixelAt(320, 240);
  };
  const Rgb lit = centre();
  settings.spotLights = 0;
  const Rgb flat = centre();
  EXPECT_NEAR(flat.r, 255, 2);
  EXPECT_NEAR(flat.g, 128, 2);
  EXPECT_NEAR(flat.b, 64, 2);
  EXPECT_GT(std::abs(lit.r - flat.r) + std::abs(lit.g - flat.g) + std::abs(lit.b - flat.b), 30);
}
