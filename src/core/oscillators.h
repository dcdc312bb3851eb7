// The oscillator bank: 99 channels of randomly wandering phase that drive
// every slow motion of the scene (sky, background pulse, spotlight, wall
// drift, targets, caption jitter). Channels are read through oscillatorValue.
#pragma once

class SceneSettings;

constexpr int kOscillatorChannels = 99;
constexpr int kOscillatorsInUse = 60;  // channels 0..59 are advanced and randomised

struct OscillatorBank {
  double phase[kOscillatorChannels];
  double rate[kOscillatorChannels];
  double targetRate[kOscillatorChannels];
  int running[kOscillatorChannels];
};

extern OscillatorBank oscillators;

// Sets channels 1..count-1 to a random phase and a rate in [0.02, 0.04).
void randomizeOscillators(int count);
// Advances channels 0..count-1 by dt seconds; while paused, channels 1..9
// neither move nor draw random numbers.
void advanceOscillators(int count, float dt, const SceneSettings& settings, int paused);
