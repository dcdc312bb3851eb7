// The frame driver: the frame clock, the brightness fade and runFrame, which
// does all the work of one displayed frame in a fixed order.
#pragma once
#include <cstdint>

// The frame clock. nowMs is refreshed by the display callback before each frame.
extern uint32_t nowMs;
extern float seconds;  // nowMs * 0.001, the time base of all animation
extern float delta;    // the frame's time step, clamped after a stall
extern double lastSeconds;
extern int frameCount;
extern double nextSecond;
extern int framesPerSecond;

extern float fadeLevel;  // global brightness 0..1
extern int quitting;     // set by ESC; the frame fades out, then exits

constexpr float kMaxDelta = 0.1f;     // a longer gap counts as a stall ...
constexpr float kStallDelta = 0.05f;  // ... and advances the world by this much

// Frame steps with logic of their own, run by runFrame in this order.
void advanceClock();  // seconds and the clamped delta
void sampleFrameRate();
void fadeIn();           // the brightness ramp of the first two seconds
bool fadeOutFinished();  // while quitting: lowers fadeLevel, true once it is dark

bool runFrame();
