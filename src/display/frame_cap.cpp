#include "display/frame_cap.h"

#include <poll.h>
#include <time.h>

#include <csignal>

#include "core/frame_clock.h"

namespace {
constexpr int64_t kNsPerSecond = 1000000000;
constexpr int64_t kNsPerMillisecond = 1000000;

FrameCap programCap;
}  // namespace

FrameCap frameCapOf(int framesPerSecond) {
  FrameCap cap;
  if (framesPerSecond > 0) cap.intervalNs = kNsPerSecond / framesPerSecond;
  return cap;
}

int64_t takeFrameStart(FrameCap& cap, int64_t nowNs) {
  if (cap.intervalNs == 0) return nowNs;
  if (!cap.started || nowNs > cap.nextStartNs) cap.nextStartNs = nowNs;
  cap.started = true;
  const int64_t start = cap.nextStartNs;
  cap.nextStartNs = start + cap.intervalNs;
  return start;
}

int64_t monotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * kNsPerSecond + now.tv_nsec;
}

void setFrameRateCap(int framesPerSecond) {
  programCap = frameCapOf(framesPerSecond);
  // Frames this far apart are the world's time, not stalls.
  setFrameCapInterval(static_cast<uint64_t>(programCap.intervalNs / kNsPerMillisecond));
}

bool frameRateCapped() { return programCap.intervalNs != 0; }

bool waitForInput(int fd, int64_t timeoutNs) {
  const timespec timeout{static_cast<time_t>(timeoutNs / kNsPerSecond),
                         static_cast<long>(timeoutNs % kNsPerSecond)};
  pollfd input{fd, POLLIN, 0};
  sigset_t open;
  sigemptyset(&open);
  // Ready input, or -1 with EINTR for a signal: the caller deals with either.
  return ppoll(&input, fd >= 0 ? 1 : 0, timeoutNs >= 0 ? &timeout : nullptr, &open) != 0;
}

bool waitForFrameDue(int wakeFd) {
  if (programCap.intervalNs == 0) return true;
  const int64_t now = monotonicNs();
  if (programCap.started && now < programCap.nextStartNs) {
    if (waitForInput(wakeFd, programCap.nextStartNs - now)) return false;
    takeFrameStart(programCap, programCap.nextStartNs);
    return true;
  }
  takeFrameStart(programCap, now);
  return true;
}
