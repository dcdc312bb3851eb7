// Cryptwell: a walk through two underground rooms joined by a corridor, with
// fire, smoke, hovering alien targets and a laser. This is the entry: start
// the clock, open the window, set up the scene and run the GLUT loop.
#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

#include "app/scene.h"
#include "app/window.h"
#include "core/frame_clock.h"
#include "core/run_state.h"
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
  // Leaving full screen, GLUT restores the size the window had before it went
  // full screen, overriding a size asked for at the same moment; so the window
  // starts at the windowed size that key F asks for. Without a window manager
  // GLUT's full screen keeps the window's corner where it was, so that is the
  // screen's corner.
  glutInitWindowPosition(0, 0);
  glutInitWindowSize(kWindowedSize, kWindowedSize);
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
