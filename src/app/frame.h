// The frame driver: runFrame does all the work of one displayed frame in a
// fixed order; the brightness fade-in and fade-out are its steps with logic
// of their own.
#pragma once
#include <cstdint>

// Frame steps with logic of their own, run by runFrame.
void fadeIn();           // the brightness ramp of the first two seconds
bool fadeOutFinished();  // while quitting: lowers fadeLevel, true once it is dark
// For a window that shows again after frames were skipped while nobody could
// see it: if the clock (now `nowMs`) has passed the fade-in meanwhile, the
// brightness is where the skipped frames would have left it, full.
void finishSkippedFadeIn(uint64_t nowMs);

bool runFrame();
