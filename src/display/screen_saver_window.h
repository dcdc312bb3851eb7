// The second window back end: screen-saver mode, drawing into a window that
// someone else made, usually a screen locker's, through plain X11 and GLX
// (GLUT cannot adopt a window it did not create). It runs the automatic
// fly-through alone: no input, no pointer, no sound. Frames are capped (30 a
// second unless the options say otherwise) and stop while nobody can see the
// window. A stop signal (SIGTERM, SIGINT, SIGHUP) or the window's end finish
// the run quietly with status 0. GLUT's -display, -sync and -indirect hold
// here as in the GLUT window.
#pragma once
#include "cli/command_line.h"

constexpr int kSaverFramesPerSecond = 30;
constexpr const char* kLockerWindowVariable = "XSCREENSAVER_WINDOW";

// True when the options ask for screen-saver mode.
bool wantsScreenSaverWindow(const Options& options);
// The first thing screen-saver mode does: from here on a stop signal ends
// the run with status 0 and nothing printed, during the start-up too.
void catchStopSignals();
// Runs until the end and returns the exit status when the window cannot be
// drawn into: 1 (one line on standard error), 2 for a malformed
// XSCREENSAVER_WINDOW. Once frames run, a stop signal or the window's going
// away ends the run with status 0, by the run's one way out.
int runInScreenSaverWindow(const Options& options, const RunSettings& settings);
