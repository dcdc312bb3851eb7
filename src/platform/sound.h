// The two sound effects, played through SDL2_mixer on one mixer channel, so
// that a new sound cuts off the one still playing.
// startSound opens the device and loads both files on a loader thread, so no
// frame ever waits for the sound system; playSound only starts a sound that
// is already loaded. No device or a missing file means silence, decided once
// and not retried on every shot, and nothing is ever printed.
#pragma once

enum SoundEffect { LaserSound, BoomSound, kSoundEffects };

// Starts loading in the background and returns at once; paths are indexed
// by SoundEffect. A second call while sound is started does nothing.
void startSound(const char* const paths[kSoundEffects]);
// Blocks until the loader has finished; true when the device is open.
bool waitForSound();
// Plays a loaded effect; silent while loading, without a device or a file.
void playSound(SoundEffect effect);
// Waits for the loader, stops playback and closes the device; startSound may
// then be called again.
void shutdownSound();
