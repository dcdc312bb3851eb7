// The reset of start-up and of key R: every setting, the run state, the
// particle pool, the player's place and the score go back to their start.
#pragma once

void resetParameters();
