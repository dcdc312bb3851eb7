// The program's own options, GNU style, read before GLUT sees the command
// line: GLUT's options (-display, -geometry, ...) are left in argv for
// glutInit, everything else of the program's is taken out.
#pragma once
#include <string>

#include "app/swap_interval.h"

struct Options {
  bool windowed = false;  // start in a window instead of full screen
  int windowWidth = 0;    // the window's size; 0 until the parser sets it
  int windowHeight = 0;
  std::string dataFolder;    // looked in first for the data files; empty for none
  bool sound = true;         // false: the sound device is never opened
  int benchmarkSeconds = 0;  // > 0: measure this long after the fade-in, report, exit
  // Screen-saver mode: draw into a window someone else made, a locker's.
  bool root = false;           // the locker's window (XSCREENSAVER_WINDOW) or the root window
  unsigned long windowId = 0;  // > 0: draw into this window
  int framesPerSecond = 0;     // > 0: at most this many frames a second
  VerticalSync verticalSync = VerticalSync::DriverDefault;
  // GLUT's options that screen-saver mode, which opens the display itself,
  // honours too; they stay in argv for glutInit as well.
  std::string display;         // -display NAME; empty: DISPLAY's
  bool synchronousX = false;   // -sync: every X request waits for its answer
  bool indirectGl = false;     // -indirect: GL through the X server
  bool benchmarkLength = false;  // SECONDS was given
  unsigned passesLeftOut = 0;  // drawing passes not rasterised, one bit each (gfx/draw_passes)
  std::string recordPath;    // write a replay log of the run here; empty for none
  std::string replayPath;    // replay this log instead of taking real input; empty for none
  std::string benchmarkLogPath;  // each measured frame's time as CSV; empty for none
};

enum class CommandLineAction { Run, Exit, Fail };

struct CommandLine {
  CommandLineAction action = CommandLineAction::Run;
  int exitStatus = 0;  // for Exit and Fail
  std::string output;  // what to print: help or version on stdout, an error on stderr
  Options options;
};

// An X window id, decimal or 0x hexadecimal; false for anything else.
bool parseWindowId(const char* text, unsigned long& id);

// Reads argv[1..argc-1]; on Run, argc and argv keep only argv[0] and GLUT's options.
CommandLine parseCommandLine(int& argc, char** argv, const char* version);
