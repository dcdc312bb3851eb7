// Scene set-up before the first frame and the release of GL objects after
// the last one.
#pragma once

// What every window needs before its first frame: resets the parameters,
// fixes the GL state that never changes, builds the stars and loads the
// textures, for the GL context current now.
void setUpScene();
// For the program's own GLUT window: registers the input callbacks, goes full screen,
// sets the scene up, shows the first message and hides the pointer once the
// first frame is shown.
// Always succeeds.
bool Init();
// Deletes the star list and the textures; the frame driver calls it just
// before the process exits.
void shutdownScene();
