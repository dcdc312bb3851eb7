// What the command line asks of a run: its settings, and the rest that
// shapes nothing the run simulates: where the data files are, sound, the
// screen-saver window, vertical sync, the benchmark, recording and replay.
#pragma once
#include <string>

#include "gfx/swap_interval.h"
#include "run/run_settings.h"

struct Options {
  RunSettings run;           // what shapes the run (start clock and pictures aside)
  RunSettingMask given = 0;  // the settings the command line gave
  std::string dataFolder;    // looked in first for the data files; empty for none
  bool sound = true;         // false: the sound device is never opened
  int benchmarkSeconds = 0;  // > 0: measure this long after the fade-in, report, exit
  // Screen-saver mode: draw into a window someone else made, a locker's.
  bool root = false;           // the locker's window (XSCREENSAVER_WINDOW) or the root window
  unsigned long windowId = 0;  // > 0: draw into this window
  VerticalSync verticalSync = VerticalSync::DriverDefault;
  // GLUT's options that screen-saver mode, which opens the display itself,
  // honours too; they stay in argv for glutInit as well.
  std::string display;        // -display NAME; empty: DISPLAY's
  bool synchronousX = false;  // -sync: every X request waits for its answer
  bool indirectGl = false;    // -indirect: GL through the X server
  bool benchmarkLength = false;  // SECONDS was given
  unsigned passesLeftOut = 0;  // drawing passes not rasterised, one bit each (gfx/draw_passes)
  std::string recordPath;    // write a replay log of the run here; empty for none
  std::string replayPath;    // replay this log instead of taking real input; empty for none
  std::string benchmarkLogPath;  // each measured frame's time as CSV; empty for none
};
