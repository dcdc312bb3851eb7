#include "input/reset.h"

#include <GL/gl.h>

#include "core/frame_clock.h"
#include "core/random.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "game/combat.h"
#include "game/player.h"
#include "particles/particles.h"

void resetParameters() {
  seedRandomFromClock(nowMs);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  quitting = 0;
  resetSettings();
  fadeLevel = 1.0f;
  paused = 0;
  particleSystem.clear();
  resetPlayerPosition();
  targetCount = 1;
  kills = 0;
  player.deaths = 0;
}
