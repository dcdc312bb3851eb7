#include "display/glut_window.h"

#include <GL/freeglut.h>
#include <GL/glx.h>

#include <cstdio>
#include <cstdlib>

#include "core/frame_clock.h"
#include "core/run_state.h"
#include "display/frame_cap.h"
#include "gfx/draw_passes.h"
#include "run/benchmark.h"
#include "run/input_source.h"
#include "scene/frame_driver.h"
#include "scene/resources.h"
#include "scene/run_end.h"
#include "scene/scene_setup.h"
#include "text/text_renderer.h"

namespace {
constexpr int kAfterFirstFrameActions = 2;
void (*afterFirstFrame[kAfterFirstFrameActions])() = {};
int afterFirstFrameCount = 0;

void hidePointer() { glutSetCursor(GLUT_CURSOR_NONE); }
}  // namespace

void runInGlutWindow(int* argc, char** argv, const Options& options,
                     const RunSettings& settings) {
  // The benchmark measures the picture alone, so it runs without sound.
  // Loading the sound (SDL, the sound server's client, the effects) waits
  // for the first frame: started sooner, it takes the process's locks and
  // the processor from the main thread while that loads GL and draws.
  if (options.sound && options.benchmarkSeconds == 0) runAfterFirstFrame(startSoundEffects);
  passesLeftOut = options.passesLeftOut;

  // Leaving full screen, GLUT restores the size the window had before it went
  // full screen, overriding a size asked for at the same moment; so the window
  // starts at the windowed size that key F asks for. Without a window manager
  // GLUT's full screen keeps the window's corner where it was, so that is the
  // screen's corner. Set before glutInit, so that -geometry can override both.
  glutInitWindowPosition(0, 0);
  glutInitWindowSize(static_cast<int>(settings.windowWidth),
                     static_cast<int>(settings.windowHeight));
  glutInit(argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
  glutCreateWindow(kProductName);
  glutReshapeFunc(onReshape);
  glutDisplayFunc(onDisplay);
  glutIdleFunc(onIdle);
  glutWindowStatusFunc(onWindowStatus);
  applyVerticalSync(options.verticalSync);
  setFrameRateCap(static_cast<int>(settings.framesPerSecond));

  if (!Init()) {
    std::printf("App cannot initialize.\n");
    std::exit(0);
  }
  glutMainLoop();
  std::exit(0);
}

bool Init() {
  // Through the run's input routing, which records or replays them.
  glutKeyboardFunc(keyEvent);
  glutSpecialFunc(specialKeyDownEvent);
  glutSpecialUpFunc(specialKeyUpEvent);
  glutMouseFunc(mouseButtonEvent);
  glutPassiveMotionFunc(mouseMotionEvent);
  glutMotionFunc(mouseMotionEvent);

  if (fullScreen != 0) glutFullScreen();
  setUpScene();
  screenText.showMessage("Press ? key for Help Screen");
  // After the first frame: hiding the pointer has X look for a themed
  // cursor on disk, which the first picture need not wait for.
  runAfterFirstFrame(hidePointer);
  return true;
}

void runAfterFirstFrame(void (*action)()) {
  if (afterFirstFrameCount < kAfterFirstFrameActions) {
    afterFirstFrame[afterFirstFrameCount++] = action;
  }
}

void onReshape(int width, int height) {
  reshapeEvent(width, height);
  glViewport(0, 0, width, height);
}

void onDisplay() {
  uint64_t reading = 0;
  if (!beginFrame(&reading)) endRun(RunEnd::LogFinished);
  setClockMs(reading);
  runFrame();
  glutSwapBuffers();
  if (!endFrame()) endRun(RunEnd::Diverged);
  for (int i = 0; i < afterFirstFrameCount; ++i) afterFirstFrame[i]();
  afterFirstFrameCount = 0;
  if (benchmarkRunning() && benchmarkFrameDone()) endRun(RunEnd::Measured);
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
