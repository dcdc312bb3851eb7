// The browser's swap interval: frames come from requestAnimationFrame, one
// for each refresh of the display, and a page cannot change that.
#include "gfx/swap_interval.h"

void applyVerticalSync(VerticalSync) {}

int swapIntervalInForce() { return 1; }
