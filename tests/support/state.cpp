#include "support/state.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "core/frame_clock.h"
#include "core/input_state.h"
#include "core/oscillators.h"
#include "core/random.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "game/camera_path.h"
#include "game/combat.h"
#include "game/player.h"
#include "gfx/draw_passes.h"
#include "gfx/stars.h"
#include "gfx/textures.h"
#include "input/keyboard.h"
#include "input/reset.h"
#include "particles/particles.h"
#include "platform/clock.h"
#include "text/text_renderer.h"
#include "world/regions.h"

void restoreProgramState() {
  clockStartMs = 0;
  clockMs = 0;
  nowMs = 0;
  seconds = 0.0;
  delta = 0.0f;
  lastClockMs = 0;
  frameCount = 0;
  nextSampleMs = 1000;
  framesPerSecond = 30;
  setFrameCapInterval(0);
  fadeLevel = 1.0f;
  quitting = 0;
  paused = 0;
  helpScreen = 0;
  fullScreen = 1;
  letterboxStep = 0;
  arrowKeys = 0;
  mouseDX = 0;
  mouseDY = 0;
  mouseMoved = 0;
  fireHeld = 0;
  pathFrom = 0;
  pathTo = 1;
  pathT = 0.0f;
  oscillators = OscillatorBank{};
  player = Player{};
  std::memset(targets, 0, sizeof targets);
  passesLeftOut = 0;
  worldObjectCount = kWorldObjectSlots;
  for (WorldObject& w : worldObjects) {
    w.draw = nullptr;
    w.feed = nullptr;
  }

  const GLuint font = screenText.fontTexture;
  screenText = TextRenderer{};
  screenText.fontTexture = font;  // a GL test's loaded font stays usable
  const ParticleSystem loaded = particleSystem;  // a GL test's textures stay usable
  particleSystem = ParticleSystem{};
  particleSystem.smokeTexture = loaded.smokeTexture;
  particleSystem.sphereTexture = loaded.sphereTexture;
  std::copy(std::begin(loaded.smokeSpriteRadii), std::end(loaded.smokeSpriteRadii),
            particleSystem.smokeSpriteRadii);
  std::copy(std::begin(loaded.sphereSpriteRadii), std::end(loaded.sphereSpriteRadii),
            particleSystem.sphereSpriteRadii);

  seedRandom(0);
  resetParameters();
}
