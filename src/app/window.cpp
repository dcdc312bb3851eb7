#include "app/window.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

#include "app/benchmark.h"
#include "app/frame.h"
#include "app/run_inputs.h"
#include "app/scene.h"
#include "core/frame_clock.h"
#include "core/random.h"
#include "core/run_state.h"

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
  if (benchmarkRunning() && benchmarkFrameDone()) {
    printBenchmarkReport(stdout);
    shutdownScene();
    std::exit(0);
  }
}

void onIdle() { glutPostRedisplay(); }
