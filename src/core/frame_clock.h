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
// Under a frame cap a gap of up to two of its intervals (one frame late) is
// time the world lives through, in steps no longer than at 60 frames a
// second (16 or 17 whole milliseconds); only a longer gap is a stall.
constexpr uint64_t kCappedStepMs = 17;
constexpr uint64_t kCapIntervalsLived = 2;

// The milliseconds a gap between two readings moves the world on: the gap,
// or kStallStepMs after a stall.
uint64_t worldStepMs(uint64_t gap);
void setClockMs(uint64_t ms);       // clockMs and nowMs from one reading
void startFrameClock(uint64_t ms);  // the run begins at this reading
double clockSeconds();              // clockMs in seconds, exact to the millisecond
void setFrameCapInterval(uint64_t ms);  // the frame cap's interval; 0 (the default): no cap
// The steps the world takes from the previous frame to clockMs: 1, but
// under a cap one per kCappedStepMs of a gap that is not a stall.
int stepsToClock();
void advanceClock();                // seconds and the clamped delta
void sampleFrameRate();
