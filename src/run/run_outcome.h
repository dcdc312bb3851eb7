// How a run ends, and what its end owes: the replay log's end line, the
// benchmark's report, the replay's verdict, and the exit status they come
// to. The one way out of a run (scene/run_end) asks for it.
#pragma once

enum class RunEnd {
  Quit,          // the fade after ESC ended, inside a frame
  LogFinished,   // a replay's log holds no further frame
  Diverged,      // a replay's state differs from its log
  Measured,      // the benchmark measured its last frame
  Stopped,       // a stop signal, or the window went away
};

// Writes what the end owes and gives the exit status; once: a later call
// writes nothing and gives the first status.
int concludeRun(RunEnd how);
// For an exit that comes some other way (GLUT ends the process when its
// window is closed): registered with atexit at the start of the run, it
// concludes the run if nothing did and replaces the exit status when the
// verdict needs another.
void concludeAtExit();
