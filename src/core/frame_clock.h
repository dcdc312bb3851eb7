// The frame clock: the time base every subsystem reads. The display callback
// refreshes nowMs before each frame; advanceClock turns it into seconds and
// the frame's clamped step, and sampleFrameRate counts frames per second.
#pragma once
#include <cstdint>

extern uint32_t nowMs;  // milliseconds since start, refreshed before each frame
extern float seconds;   // nowMs * 0.001, the time base of all animation
extern float delta;     // the frame's time step, clamped after a stall
extern double lastSeconds;
extern int frameCount;
extern double nextSecond;
extern int framesPerSecond;

constexpr float kMaxDelta = 0.1f;     // a longer gap counts as a stall ...
constexpr float kStallDelta = 0.05f;  // ... and advances the world by this much

void advanceClock();  // seconds and the clamped delta
void sampleFrameRate();
