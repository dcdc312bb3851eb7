// The reset of the settings and of the run state, and what it leaves alone.
#include <gtest/gtest.h>

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
#include "input/reset.h"
#include "particles/particles.h"
#include "support/state.h"
#include "unit/reference_random.h"

namespace {

class Settings : public ::testing::Test {
 protected:
  void SetUp() override { restoreProgramState(); }
  void TearDown() override { restoreProgramState(); }

  // Every setting away from its reset value.
  static void scribbleSettings() {
    settings.fov = 4;
    settings.letterbox = 6;
    settings.universe = 0;
    settings.blanking = 0;
    settings.spotLights = 0;
    settings.textures = 0;
    settings.polyMode = 2;
    settings.cameraMode = 1;
    settings.particleOption = 0;
    settings.frameClock = 1;
    settings.rotateSpeed = 0.5f;
    settings.movementSpeed = 9.0f;
    settings.cameraZ = -3.0f;
    settings.objectSize = 0.1f;
    settings.effectScale = 4.0f;
    settings.lightRotateSpeed = 0.25f;
    settings.health = 0.0f;
  }
};

TEST_F(Settings, ResetGivesEverySettingItsStartValue) {
  scribbleSettings();
  resetParameters();
  EXPECT_EQ(settings.fov, 70);
  EXPECT_EQ(settings.letterbox, 0);
  EXPECT_EQ(settings.universe, 1);
  EXPECT_EQ(settings.blanking, 1);
  EXPECT_EQ(settings.spotLights, 1);
  EXPECT_EQ(settings.textures, 1);
  EXPECT_EQ(settings.polyMode, 0);
  EXPECT_EQ(settings.cameraMode, 0);
  EXPECT_EQ(settings.particleOption, 2);
  EXPECT_EQ(settings.frameClock, 0);
  EXPECT_FLOAT_EQ(settings.rotateSpeed, 3.0f);
  EXPECT_FLOAT_EQ(settings.movementSpeed, 1.0f);
  EXPECT_FLOAT_EQ(settings.cameraZ, 0.0f);
  EXPECT_FLOAT_EQ(settings.objectSize, 1.0f);
  EXPECT_FLOAT_EQ(settings.effectScale, 1.0f);
  EXPECT_FLOAT_EQ(settings.lightRotateSpeed, 1.0f);
  EXPECT_FLOAT_EQ(settings.health, 1.0f);
}

TEST_F(Settings, ResetCancelsAQuitAndRestoresTheRunState) {
  quitting = 1;
  fadeLevel = 0.2f;
  paused = 1;
  resetParameters();
  EXPECT_EQ(quitting, 0);
  EXPECT_FLOAT_EQ(fadeLevel, 1.0f);
  EXPECT_EQ(paused, 0);
}

TEST_F(Settings, ResetReseedsTheGeneratorFromTheClock) {
  setClockMs(4242);
  seedRandom(1);
  nextRandom();
  resetParameters();
  ReferenceRandom reference(4242);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(nextRandom(), reference.next());
}

TEST_F(Settings, ResetMovesThePlayerAndClearsTheScoreButKeepsItsView) {
  player = Player{3.0, 0.1, -2.0, 12.0, 99.0, 4};
  targetCount = 7;
  kills = 9;
  resetParameters();
  EXPECT_DOUBLE_EQ(player.x, 0.0);
  EXPECT_DOUBLE_EQ(player.y, 0.5);
  EXPECT_DOUBLE_EQ(player.z, 13.0);
  EXPECT_DOUBLE_EQ(player.pitch, 12.0);
  EXPECT_DOUBLE_EQ(player.heading, 99.0);
  EXPECT_EQ(player.deaths, 0);
  EXPECT_EQ(targetCount, 1);
  EXPECT_EQ(kills, 0);
}

TEST_F(Settings, ResetEmptiesTheWholeParticlePoolButKeepsItsSize) {
  particleSystem.activeCount = 20;
  for (int slot : {0, 19, 20, 300, kParticleSlots - 1}) particleSystem.slots[slot].active = 1;
  resetParameters();
  for (int i = 0; i < kParticleSlots; ++i) ASSERT_EQ(particleSystem.slots[i].active, 0) << i;
  EXPECT_EQ(particleSystem.activeCount, 20);
}

TEST_F(Settings, ResetLeavesWindowInputPathAndOscillatorsAlone) {
  helpScreen = 1;
  fullScreen = 0;
  letterboxStep = -3;
  arrowKeys = ArrowLeft | ArrowDown;
  mouseDX = 7;
  mouseDY = -4;
  mouseMoved = 1;
  fireHeld = 1;
  pathFrom = 5;
  pathTo = 6;
  pathT = 0.25f;
  oscillators.phase[0] = 12.5;
  oscillators.phase[30] = 99.0;
  targets[0] = Target{1.0f, 2.0f, 3.0f, 0.66f, 1};
  resetParameters();
  EXPECT_EQ(helpScreen, 1);
  EXPECT_EQ(fullScreen, 0);
  EXPECT_EQ(letterboxStep, -3);
  EXPECT_EQ(arrowKeys, ArrowLeft | ArrowDown);
  EXPECT_EQ(mouseDX, 7);
  EXPECT_EQ(mouseDY, -4);
  EXPECT_EQ(mouseMoved, 1);
  EXPECT_EQ(fireHeld, 1);
  EXPECT_EQ(pathFrom, 5);
  EXPECT_EQ(pathTo, 6);
  EXPECT_FLOAT_EQ(pathT, 0.25f);
  EXPECT_DOUBLE_EQ(oscillators.phase[0], 12.5);
  EXPECT_DOUBLE_EQ(oscillators.phase[30], 99.0);
  EXPECT_FLOAT_EQ(targets[0].health, 0.66f);
  EXPECT_EQ(targets[0].active, 1);
}

}  // namespace
