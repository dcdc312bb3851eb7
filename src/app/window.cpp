#include "app/window.h"

#include <GL/freeglut.h>

#include "app/frame.h"
#include "gfx/random.h"
#include "platform/clock.h"

int windowWidth = 0;
int windowHeight = 0;

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
