// Scene set-up before the first frame and the release of GL objects after
// the last one.
#pragma once

// Seeds the random generator from the clock, before any window opens.
bool PreInit();
// What every window needs before its first frame: resets the parameters,
// fixes the GL state that never changes, builds the stars and loads the
// textures, for the GL context current now.
void setUpScene();
// Deletes the star list and the textures and stops the sound; the way out
// of the run (scene/run_end) calls it just before the process exits.
void shutdownScene();
