#include "app/window.h"

#include <GL/freeglut.h>
#include <GL/glx.h>

#include <cstdio>
#include <cstdlib>

#include "app/benchmark.h"
#include "app/frame.h"
#include "app/frame_pacing.h"
#include "app/run_inputs.h"
#include "app/scene.h"
#include "core/frame_clock.h"
#include "core/random.h"
#include "core/run_state.h"

namespace {
constexpr int kAfterFirstFrameActions = 2;
void (*afterFirstFrame[kAfterFirstFrameActions])() = {};
int afterFirstFrameCount = 0;
}  // namespace

void runAfterFirstFrame(void (*action)()) {
  if (afterFirstFrameCount < kAfterFirstFrameActions) {
    afterFirstFrame[afterFirstFrameCount++] = action;
  }
}

bool PreInit() {
  seedRandom(nowMs);
  return true;
}

void onReshape(int width, int height) {
  windowWidth = width;
  windowHeight = height;
  glViewport(0, 0, width, height);
}

void onDisplay() {
  setClockMs(beginFrame());
  runFrame();
  glutSwapBuffers();
  endFrame();
  for (int i = 0; i < afterFirstFrameCount; ++i) afterFirstFrame[i]();
  afterFirstFrameCount = 0;
  if (benchmarkRunning() && benchmarkFrameDone()) {
    printBenchmarkReport(stdout);
    shutdownScene();
    std::exit(0);
  }
}

void onIdle() {
  if (!frameRateCapped()) {
    glutPostRedisplay();
    return;
  }
  // Events that arrive while waiting for the deadline are handled at once.
  Display* display = glXGetCurrentDisplay();
  if (XPending(display) == 0 && waitForFrameDue(ConnectionNumber(display))) glutPostRedisplay();
}

void onWindowStatus(int state) {
  // Nobody sees the frames of a hidden or fully covered window: without an
  // idle callback GLUT sleeps until the next event instead of drawing them.
  const bool seen = state != GLUT_HIDDEN && state != GLUT_FULLY_COVERED;
  glutIdleFunc(seen ? onIdle : nullptr);
  if (seen) glutPostRedisplay();
}
