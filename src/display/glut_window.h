// The program's own window, GLUT's: opening it, the scene set-up that only
// this window needs (input callbacks, full screen, the first message, the
// pointer), and its display, idle, reshape and window status callbacks. The
// idle callback keeps to the frame cap, if any; a window nobody can see
// draws nothing.
#pragma once
#include "cli/options.h"

// Opens the window for the run's settings (GLUT's own options in argv
// applied), sets the scene up and runs the GLUT loop until the run ends.
[[noreturn]] void runInGlutWindow(int* argc, char** argv, const Options& options,
                                  const RunSettings& settings);

// Registers the input callbacks, goes full screen, sets the scene up, shows
// the first message and hides the pointer once the first frame is shown.
// Always succeeds.
bool Init();
void onReshape(int width, int height);
void onDisplay();
void onIdle();
void onWindowStatus(int state);
// Runs action once, right after the first frame is on screen, in the order
// given (two at most): work that no frame needs waits there, off the way to
// the first picture.
void runAfterFirstFrame(void (*action)());
