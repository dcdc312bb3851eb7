// The one way out of a run, whichever back end runs it and whatever ends
// it: the quit fade, a replay's last frame or first difference, the
// benchmark's last frame, a stop signal or the window's end. Writes what the
// end owes (run/run_outcome), releases the scene's GL objects and ends the
// process with the run's status.
#pragma once
#include "run/run_outcome.h"

[[noreturn]] void endRun(RunEnd how);
