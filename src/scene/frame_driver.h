// The frame driver: runFrame does all the work of one displayed frame in a
// fixed order; the brightness fade-in and fade-out are its steps with logic
// of their own.
#pragma once

// Frame steps with logic of their own, run by runFrame.
void fadeIn();           // the brightness ramp of the first two seconds
bool fadeOutFinished();  // while quitting: lowers fadeLevel, true once it is dark

// The whole frame: under a frame cap, the undrawn steps of the world up to
// the clock reading, then the drawn one. At the end of the quit fade it ends
// the run (scene/run_end) instead of returning.
bool runFrame();
