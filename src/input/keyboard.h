// The character-key commands: quit, hyperspace, help, the toggles and cycles
// of the settings, speeds and sizes, full screen, pause and reset. Every key
// is then handed on to onParticleKey.
#pragma once

extern int letterboxStep;  // -5..6; its size is the letterbox, its sign the direction

constexpr int kEscapeKey = 27;

void onKey(unsigned char key, int x, int y);
// The second stage of every key: particle pool size (1..7) and the option (O).
void onParticleKey(unsigned char key);
