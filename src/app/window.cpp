#include "app/window.h"

#include <GL/freeglut.h>

#include "app/frame.h"
#include "core/frame_clock.h"
#include "core/random.h"
#include "core/run_state.h"
#include "platform/clock.h"

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
  nowMs = nowMilliseconds();
  runFrame();
  glutSwapBuffers();
}

void onIdle() { glutPostRedisplay(); }
