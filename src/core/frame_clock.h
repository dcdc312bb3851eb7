// The frame clock: the time base every subsystem reads. The display callback
// sets the clock reading before each frame (setClockMs); advanceClock turns it
// into seconds and the frame's clamped step, and sampleFrameRate counts frames
// per second. All time comes from one 64-bit count of milliseconds that never
// wraps, so steps stay exact to the millisecond and every timer compared
// against it keeps working however long the program runs.
#pragma once
#include <cstdint>

extern uint64_t clockMs;       // milliseconds since start, refreshed before each frame
extern uint32_t nowMs;         // its low 32 bits, for the random reseed
extern double seconds;         // clockMs in seconds, the time base of all animation
extern float delta;            // the frame's time step, clamped after a stall
extern uint64_t lastClockMs;   // clockMs of the previous frame; advanceClock moves it on
extern uint64_t stepStartMs;   // after advanceClock: where this frame's step began
extern int frameCount;         // frames since the last rate sample
extern uint64_t nextSampleMs;  // clock reading of the next rate sample
extern int framesPerSecond;

constexpr uint64_t kMaxStepMs = 100;   // a longer gap counts as a stall ...
constexpr uint64_t kStallStepMs = 50;  // ... and advances the world by this much
constexpr float kStallDelta = kStallStepMs / 1000.0f;

// The milliseconds a gap between two readings moves the world on: the gap,
// or kStallStepMs after a stall.
uint64_t worldStepMs(uint64_t gap);
void setClockMs(uint64_t ms);       // clockMs and nowMs from one reading
void startFrameClock(uint64_t ms);  // the run begins at this reading
double clockSeconds();              // clockMs in seconds, exact to the millisecond
void advanceClock();                // seconds and the clamped delta
void sampleFrameRate();
