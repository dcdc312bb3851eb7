// Asynchronous WAV playback for the two sound effects.
// playSound starts a file playing and returns at once; a new sound cuts off
// the one still playing. A missing or unreadable file, or a machine without
// a sound device, is silent, and nothing is ever printed.
#pragma once

void playSound(const char* path);
// Stops playback and closes the audio device (safe to call when none is open);
// the next playSound opens it again, or tries to.
void shutdownSound();
