// Cryptwell: a walk through two underground rooms joined by a corridor, with
// fire, smoke, hovering alien targets and a laser. This is the entry: start
// the clock, open the window, set up the scene and run the GLUT loop.
#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

#include "app/frame.h"
#include "app/scene.h"
#include "app/window.h"
#include "platform/clock.h"

int main(int argc, char** argv) {
  startClock();
  nowMs = nowMilliseconds();
  if (!PreInit()) {
    std::printf("App cannot PreInit()\n");
    std::exit(0);
  }

  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(windowWidth, windowHeight);
  glutCreateWindow(kProductName);
  glutReshapeFunc(onReshape);
  glutDisplayFunc(onDisplay);
  glutIdleFunc(onIdle);

  if (!Init()) {
    std::printf("App cannot initialize.\n");
    std::exit(0);
  }
  glutMainLoop();
  return 0;
}
