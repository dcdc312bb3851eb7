// Scene set-up before the first frame and the release of GL objects after
// the last one.
#pragma once

// Resets the parameters, registers the input callbacks, goes full screen,
// fixes the GL state that never changes, builds the stars, loads the
// textures and shows the first message. Always succeeds.
bool Init();
// Deletes the star list and the textures; the frame driver calls it just
// before the process exits.
void shutdownScene();
