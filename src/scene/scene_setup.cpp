#include "scene/scene_setup.h"

#include <GL/gl.h>

#include "scene/projection.h"
#include "scene/resources.h"
#include "core/frame_clock.h"
#include "core/oscillators.h"
#include "core/random.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "gfx/fog.h"
#include "gfx/lights.h"
#include "gfx/stars.h"
#include "gfx/textures.h"
#include "input/reset.h"
#include "platform/sound.h"

namespace {
constexpr int kShininess = 5;
constexpr int kStarCount = 660;
constexpr float kStarOuter = 20.0f;
constexpr float kStarInner = 15.0f;
constexpr int kStarShellCube = 1;

void fixGlState() {
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
  glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, kShininess);
  glShadeModel(GL_SMOOTH);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glAlphaFunc(GL_GREATER, 0.0f);
  glDisable(GL_DITHER);
  setUpFog();
}
}  // namespace

bool PreInit() {
  seedRandomFromClock(nowMs);
  return true;
}

void setUpScene() {
  resetParameters();
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  applyCamera();
  fixGlState();
  randomizeOscillators(kOscillatorsInUse);
  setupLights(1, 0.5f, 0.8f);
  universeStars.buildStars(kStarCount, kStarOuter, kStarInner, kStarShellCube);
  loadResources();
}

void shutdownScene() {
  universeStars.releaseStars();
  if (textureSet.count != 0) glDeleteTextures(textureSet.count, textureSet.names);
  shutdownSound();
}
