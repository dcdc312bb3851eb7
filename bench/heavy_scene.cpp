// The program at its heaviest, for the frame-rate benchmark: the real start-up
// and frame, with the whole particle pool in use, the laser held down, all 19
// targets alive and the help page on. Nothing is added to the program itself:
// this harness links its modules and keeps that state up before each frame.
#include <GL/freeglut.h>

#include "scene/scene_setup.h"
#include "display/glut_window.h"
#include "core/frame_clock.h"
#include "core/input_state.h"
#include "core/run_state.h"
#include "game/combat.h"
#include "particles/particles.h"
#include "platform/clock.h"

namespace {
void keepHeavy() {
  particleSystem.activeCount = kParticleSlots;
  fireHeld = 1;
  helpScreen = 1;
  targetCount = kMaxTargets;
  for (Target& t : targets) {
    t.active = 1;
    t.health = 1.0f;
  }
}

void display() {
  keepHeavy();
  onDisplay();
}
}  // namespace

int main(int argc, char** argv) {
  startClock();
  nowMs = nowMilliseconds();
  PreInit();
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
  glutCreateWindow(kProductName);
  glutReshapeFunc(onReshape);
  glutDisplayFunc(display);
  glutIdleFunc(onIdle);
  Init();
  glutMainLoop();
  return 0;
}
