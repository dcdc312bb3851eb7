#include "app/frame.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

#include "app/camera.h"
#include "app/oscillators.h"
#include "app/scene.h"
#include "app/settings.h"
#include "app/window.h"
#include "game/combat.h"
#include "gfx/easing.h"
#include "gfx/lights.h"
#include "gfx/random.h"
#include "gfx/stars.h"
#include "input/keyboard.h"
#include "text/help_screen.h"
#include "text/text_renderer.h"
#include "text/title_caption.h"
#include "world/camera_path.h"

uint32_t nowMs = 0;
float seconds = 0.0f;
float delta = 0.0f;
double lastSeconds = 0.0;
int frameCount = 0;
double nextSecond = 1.0;
int framesPerSecond = 30;

float fadeLevel = 1.0f;
int quitting = 0;

namespace {
constexpr double kReseedChance = 0.1;
constexpr double kFadeInSeconds = 2.0;
constexpr float kFadeOutRate = 0.5f;  // fadeLevel lost per second while quitting
constexpr float kFadeOutEnd = 0.1f;
constexpr float kCaptionSeconds = 10.0f;

void drawUniverse() {
  glPushMatrix();
  glRotatef(static_cast<float>(oscillatorValue(1, 0.01, 720.0, -360.0)), 0.0f, 1.0f, 0.0f);
  glRotatef(static_cast<float>(oscillatorValue(2, 0.01, 720.0, -360.0)), 1.0f, 0.0f, 0.0f);
  glRotatef(static_cast<float>(oscillatorValue(3, 0.01, 720.0, -360.0)), 0.0f, 0.0f, 1.0f);
  universeStars.drawStars();
  glPopMatrix();
}
}  // namespace

void advanceClock() {
  seconds = static_cast<float>(nowMs * 0.001);
  delta = static_cast<float>(seconds - lastSeconds);
  // A long gap is a stall. A backwards step (the 32-bit millisecond count
  // wraps after 49.7 days) is treated the same way, never as negative time.
  if (delta > kMaxDelta || delta < 0.0f) delta = kStallDelta;
  lastSeconds = seconds;
}

void sampleFrameRate() {
  frameCount += 1;
  if (seconds >= nextSecond) {
    nextSecond += 1.0;
    framesPerSecond = frameCount;
    frameCount = 0;
  }
}

void fadeIn() {
  if (seconds < kFadeInSeconds) {
    fadeLevel = static_cast<float>(cosineBlend(0.0f, 1.0f, static_cast<float>(seconds * 0.5)));
  }
}

bool fadeOutFinished() {
  if (quitting == 0) return false;
  fadeLevel -= delta * kFadeOutRate;
  return fadeLevel < kFadeOutEnd;
}

bool runFrame() {
  if (randomValue(1.0) < kReseedChance) seedRandom(nowMs);
  glClearColor(0.0f, 0.0f, static_cast<float>(oscillatorValue(11, 3.0, 0.1, 0.0)), 1.0f);
  advanceClock();
  advanceOscillators(kOscillatorsInUse, delta, settings, paused);
  if (paused == 0) updateLights(1, 0.5f, 0.5f, 0.9f, fadeLevel, 10.0f);
  sampleFrameRate();
  fadeIn();
  applyCamera();
  applyView();
  if (settings.blanking != 0) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (settings.universe != 0) drawUniverse();
  gameStep();
  if (screenText.messageExpiry != 0.0) screenText.drawMessage();
  if (settings.frameClock != 0) screenText.drawFrameRate(framesPerSecond);
  if (helpScreen != 0) drawHelpScreen();
  if (fadeOutFinished()) {
    shutdownScene();
    std::exit(0);
  }
  if (seconds < kCaptionSeconds) {
    drawTitleCaption(kProductName, static_cast<int16_t>(windowWidth * 0.1),
                     static_cast<int16_t>(windowHeight * 0.2), 60.0f,
                     1.0f - std::sqrt(seconds / kCaptionSeconds));
  }
  screenText.drawGlError();
  return true;
}
