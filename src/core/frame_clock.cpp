#include "core/frame_clock.h"

#include <algorithm>

namespace {
constexpr uint64_t kMsPerSecond = 1000;
constexpr int kFirstFrameRate = 30;  // shown until the first sample

uint64_t longestLivedGapMs = kMaxStepMs;  // a longer gap is a stall
bool capped = false;
}  // namespace

uint64_t clockMs = 0;
uint32_t nowMs = 0;
double seconds = 0.0;
float delta = 0.0f;
uint64_t lastClockMs = 0;
uint64_t stepStartMs = 0;
int frameCount = 0;
uint64_t nextSampleMs = kMsPerSecond;
int framesPerSecond = kFirstFrameRate;

uint64_t worldStepMs(uint64_t gap) { return gap > longestLivedGapMs ? kStallStepMs : gap; }

void setClockMs(uint64_t ms) {
  clockMs = ms;
  nowMs = static_cast<uint32_t>(ms);
}

// A run that begins at a large reading takes its first step and its first
// rate sample from there, not from zero.
void startFrameClock(uint64_t ms) {
  setClockMs(ms);
  seconds = clockSeconds();
  delta = 0.0f;
  lastClockMs = ms;
  stepStartMs = ms;
  frameCount = 0;
  nextSampleMs = ms + kMsPerSecond;
  framesPerSecond = kFirstFrameRate;
}

double clockSeconds() { return static_cast<double>(clockMs) / kMsPerSecond; }

void setFrameCapInterval(uint64_t ms) {
  capped = ms > 0;
  longestLivedGapMs = capped ? std::max(kMaxStepMs, kCapIntervalsLived * ms) : kMaxStepMs;
}

int stepsToClock() {
  const uint64_t gap = clockMs - lastClockMs;
  if (!capped || gap > longestLivedGapMs) return 1;
  return static_cast<int>(std::max<uint64_t>(1, (gap + kCappedStepMs - 1) / kCappedStepMs));
}

void advanceClock() {
  seconds = clockSeconds();
  // In whole milliseconds, so that a gap of exactly 100 ms is not a stall. The
  // count never runs backwards; if a reading did, the unsigned gap would be
  // huge and count as a stall, never as negative time.
  const uint64_t gap = clockMs - lastClockMs;
  delta = static_cast<float>(static_cast<double>(worldStepMs(gap)) / kMsPerSecond);
  stepStartMs = lastClockMs;
  lastClockMs = clockMs;
}

void sampleFrameRate() {
  frameCount += 1;
  if (clockMs >= nextSampleMs) {
    nextSampleMs += kMsPerSecond;
    framesPerSecond = frameCount;
    frameCount = 0;
  }
}
