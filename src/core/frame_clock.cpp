#include "core/frame_clock.h"

uint32_t nowMs = 0;
float seconds = 0.0f;
float delta = 0.0f;
double lastSeconds = 0.0;
int frameCount = 0;
double nextSecond = 1.0;
int framesPerSecond = 30;

void advanceClock() {
  seconds = static_cast<float>(nowMs * 0.001);
  delta = static_cast<float>(seconds - lastSeconds);
  // A long gap is a stall. A backwards step (the 32-bit millisecond count
  // wraps after 49.7 days) is treated the same way, never as negative time.
  if (delta > kMaxDelta || delta < 0.0f) delta = kStallDelta;
  lastSeconds = seconds;
}

void sampleFrameRate() {
  frameCount += 1;
  if (seconds >= nextSecond) {
    nextSecond += 1.0;
    framesPerSecond = frameCount;
    frameCount = 0;
  }
}
