#include "scene/frame_driver.h"

#include <GL/gl.h>

#include <cmath>

#include "scene/projection.h"
#include "scene/run_end.h"
#include "core/easing.h"
#include "core/frame_clock.h"
#include "core/oscillators.h"
#include "core/random.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "game/camera_path.h"
#include "game/combat.h"
#include "gfx/draw_passes.h"
#include "gfx/lights.h"
#include "gfx/stars.h"
#include "text/help_screen.h"
#include "text/text_renderer.h"
#include "text/title_caption.h"

namespace {
constexpr double kReseedChance = 0.1;
constexpr double kFadeInSeconds = 2.0;
constexpr float kFadeOutRate = 0.5f;  // fadeLevel lost per second while quitting
constexpr float kFadeOutEnd = 0.1f;
constexpr double kCaptionSeconds = 10.0;

void drawUniverse() {
  glPushMatrix();
  glRotatef(static_cast<float>(oscillatorValue(1, 0.01, 720.0, -360.0)), 0.0f, 1.0f, 0.0f);
  glRotatef(static_cast<float>(oscillatorValue(2, 0.01, 720.0, -360.0)), 1.0f, 0.0f, 0.0f);
  glRotatef(static_cast<float>(oscillatorValue(3, 0.01, 720.0, -360.0)), 0.0f, 0.0f, 1.0f);
  universeStars.drawStars();
  glPopMatrix();
}
}  // namespace

void fadeIn() {
  if (seconds < kFadeInSeconds) {
    fadeLevel = static_cast<float>(cosineBlend(0.0f, 1.0f, static_cast<float>(seconds * 0.5)));
  } else if (stepStartMs < kFadeInSeconds * 1000 && quitting == 0) {
    // The first frame past the ramp ends it at full brightness, even when no
    // frame fell near its end (a slow start, or a window hidden meanwhile).
    fadeLevel = 1.0f;
  }
}

// Buffers of a new size hold nothing defined (a depth of zero hides
// everything), and hyperspace would never clear them: the first frame at a
// new window size clears in every mode.
bool windowSizeChanged() {
  static int lastWidth = 0;
  static int lastHeight = 0;
  const bool changed = windowWidth != lastWidth || windowHeight != lastHeight;
  lastWidth = windowWidth;
  lastHeight = windowHeight;
  return changed;
}

bool fadeOutFinished() {
  if (quitting == 0) return false;
  fadeLevel -= delta * kFadeOutRate;
  return fadeLevel < kFadeOutEnd;
}

namespace {
// One step of the world, drawn or not. A step nobody sees still runs every
// line of it, so the simulation (random draws, particles fed as the rooms
// are drawn) goes exactly as in a drawn one; GL discards its pictures.
void runStep(bool drawn) {
  leaveOutEveryPass(!drawn);
  if (randomValue(1.0) < kReseedChance) seedRandomFromClock(nowMs);
  glClearColor(0.0f, 0.0f, static_cast<float>(oscillatorValue(11, 3.0, 0.1, 0.0)), 1.0f);
  advanceClock();
  advanceOscillators(kOscillatorsInUse, delta, settings, paused);
  if (paused == 0) updateLights(1, 0.5f, 0.5f, 0.9f, fadeLevel, 10.0f);
  if (drawn) sampleFrameRate();  // the readout counts the frames shown
  fadeIn();
  applyCamera();
  applyView();
  const bool resized = drawn && windowSizeChanged();
  beginPass(DrawPass::Clear);
  if (settings.blanking != 0 || resized) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  beginPass(DrawPass::Stars);
  if (settings.universe != 0) drawUniverse();
  gameStep();  // marks its own passes, from the world to the overlays
  if (screenText.messageExpiry != 0.0) screenText.drawMessage();
  if (settings.frameClock != 0) screenText.drawFrameRate(framesPerSecond);
  if (helpScreen != 0) drawHelpScreen();
  if (fadeOutFinished()) endRun(RunEnd::Quit);
  if (seconds < kCaptionSeconds) {
    drawTitleCaption(kProductName, static_cast<int16_t>(windowWidth * 0.1),
                     static_cast<int16_t>(windowHeight * 0.2), 60.0f,
                     1.0f - std::sqrt(static_cast<float>(seconds / kCaptionSeconds)));
  }
  screenText.drawGlError();
  flushBetweenPasses = false;
}
}  // namespace

// Under a frame cap the time since the last frame may be longer than a step
// at 60 frames a second: the world lives through it in such steps, each at
// its own clock reading, and only the last is drawn.
bool runFrame() {
  const uint64_t frameMs = clockMs;
  const uint64_t fromMs = lastClockMs;
  const int steps = stepsToClock();
  for (int step = 1; step < steps; ++step) {
    setClockMs(fromMs + (frameMs - fromMs) * static_cast<uint64_t>(step) / steps);
    runStep(false);
  }
  setClockMs(frameMs);
  runStep(true);
  return true;
}
