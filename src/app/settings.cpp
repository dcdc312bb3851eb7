#include "app/settings.h"

#include <GL/gl.h>

#include "app/frame.h"
#include "game/combat.h"
#include "game/particles.h"
#include "game/player.h"
#include "gfx/random.h"
#include "input/keyboard.h"
#include "text/text_renderer.h"

namespace {
constexpr int kParticleOptions = 3;
const char* const kParticleOptionTexts[kParticleOptions] = {"No Options", "Option 1/2: Cloud",
                                                            "Option 2/2: Random Color Cloud"};
}  // namespace

void resetParameters() {
  seedRandom(nowMs);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  quitting = 0;

  settings.fov = 70;
  settings.letterbox = 0;
  settings.universe = 1;
  settings.blanking = 1;
  settings.spotLights = 1;
  settings.textures = 1;
  settings.polyMode = 0;
  settings.cameraMode = 0;
  settings.particleOption = 2;
  settings.frameClock = 0;
  settings.rotateSpeed = 3.0f;
  settings.movementSpeed = 1.0f;
  settings.cameraZ = 0.0f;
  settings.objectSize = 1.0f;
  settings.effectScale = 1.0f;
  settings.lightRotateSpeed = 1.0f;
  settings.health = 1.0f;

  fadeLevel = 1.0f;
  paused = 0;
  particleSystem.clear();
  resetPlayerPosition();
  targetCount = 1;
  kills = 0;
  player.deaths = 0;
}

void onParticleKey(unsigned char key) {
  if (key >= '1' && key <= '7') {
    // Keys 1..7 give 10, 20, 40, ... 640 particles.
    particleSystem.activeCount = 10 << (key - '1');
    screenText.showMessage("%d particles", particleSystem.activeCount);
    return;
  }
  if (key == 'o' || key == 'O') {
    // The option cycles 0, 1, 2, 0, ...; after a reset (2) the next press shows "No Options".
    settings.particleOption = (settings.particleOption + 1) % kParticleOptions;
    screenText.showMessage(kParticleOptionTexts[settings.particleOption]);
  }
}
