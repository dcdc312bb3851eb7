// The fixed part of the view, rebuilt every frame from the settings and the
// window size: polygon mode, letterboxed viewport, perspective projection and
// the eye on the z axis. Leaves GL_MODELVIEW current with the look-at loaded.
#pragma once

struct LetterboxViewport {
  int bottom;
  int top;
};

// The viewport rows that the letterbox setting leaves for the picture.
LetterboxViewport letterboxViewport(int letterbox, int windowHeight);
void applyCamera();
