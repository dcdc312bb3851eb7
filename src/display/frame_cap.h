// Frame pacing: an optional cap on the frame rate. Each frame starts at an
// absolute deadline on the monotonic clock, one frame interval after the
// previous one; the wait sleeps, it never spins. A frame that comes late
// starts at once and the deadlines move on from it, so a stall is never
// followed by a burst of frames to catch up.
#pragma once
#include <cstdint>


// The deadline arithmetic, apart from any clock, in nanoseconds.
struct FrameCap {
  int64_t intervalNs = 0;  // 0: no cap
  int64_t nextStartNs = 0;
  bool started = false;
};

FrameCap frameCapOf(int framesPerSecond);  // 0 gives no cap
// When the frame asked for at `nowNs` starts: the pending deadline, or now
// for the first frame, a late one or without a cap. Moves the deadline on.
int64_t takeFrameStart(FrameCap& cap, int64_t nowNs);

// The program's cap; without setFrameRateCap frames run back to back.
void setFrameRateCap(int framesPerSecond);
bool frameRateCapped();
// Sleeps until the next frame is due, or until the file `wakeFd` (the
// display connection; -1 for none) has input or a signal arrives. True when
// the frame is due: it starts now. False when woken early: the deadline
// stands and the next call waits for the rest.
bool waitForFrameDue(int wakeFd);
// Sleeps until `fd` has input or a signal arrives, for at most `timeoutNs`
// (-1: no limit); true when woken by input or a signal. Every signal is let
// in while it sleeps, so a signal held blocked between waits cannot slip in
// between the caller's check and the sleep.
bool waitForInput(int fd, int64_t timeoutNs);
int64_t monotonicNs();
