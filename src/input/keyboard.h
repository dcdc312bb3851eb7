// The character-key commands: quit, hyperspace, help, the toggles and cycles
// of the settings, speeds and sizes, full screen, pause and reset. Every key
// is then handed on to onParticleKey.
#pragma once

extern int paused;         // camera path, universe turn and light swing stopped
extern int helpScreen;     // help page drawn every frame
extern int fullScreen;     // 1 full screen, 0 a 512 x 512 window
extern int letterboxStep;  // -5..6; its size is the letterbox, its sign the direction

constexpr int kEscapeKey = 27;
constexpr int kWindowedSize = 512;

void onKey(unsigned char key, int x, int y);
