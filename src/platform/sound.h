// The two sound effects, played through SDL2's audio device with one voice,
// so that a new sound cuts off the one still playing.
// startSound opens the device and loads both files on a loader thread, so no
// frame ever waits for the sound system; playSound only starts a sound that
// is already loaded. No device or a missing file means silence, decided once
// and not retried on every shot, and nothing is ever printed. A file that is
// not a WAV of effect size is refused before it is read.
#pragma once

enum SoundEffect { LaserSound, BoomSound, kSoundEffects };

// Starts loading in the background and returns at once; paths are indexed
// by SoundEffect. A second call while sound is started does nothing.
void startSound(const char* const paths[kSoundEffects]);
// Blocks until the loader, or a close that shutdownSound began, has
// finished; true when the device is open.
bool waitForSound();
// Plays a loaded effect; silent while loading, without a device or a file.
void playSound(SoundEffect effect);
// Stops playback and closes the device; once waitForSound has returned,
// startSound may be called again. Never waits for the loader: while it
// still opens the device, the device is left to it to close. Closing an
// open device waits a second at most, for a sound server that has stopped
// answering, and is otherwise finished in the background.
void shutdownSound();
