#include "run/progress.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kRedrawInterval = std::chrono::milliseconds(250);
constexpr char kClearLine[] = "\r\033[K";

bool shown = false;
int total = 0;
int done = 0;
Clock::time_point start;
Clock::time_point lastDrawn;

// Minutes and seconds, rounded down.
void printDuration(double seconds) {
  const long whole = static_cast<long>(seconds);
  std::fprintf(stderr, "%ld:%02ld", whole / 60, whole % 60);
}
}  // namespace

void startProgress(int totalFrames) {
  shown = totalFrames > 0 && isatty(STDERR_FILENO) == 1;
  total = totalFrames;
  done = 0;
  start = Clock::now();
  lastDrawn = start;
}

void progressFrameDone() {
  if (!shown) return;
  done += 1;
  const Clock::time_point now = Clock::now();
  if (now - lastDrawn < kRedrawInterval) return;
  lastDrawn = now;
  const double elapsed = std::chrono::duration<double>(now - start).count();
  std::fprintf(stderr, "%sframe %d of %d, ", kClearLine, done, total);
  printDuration(elapsed);
  std::fputs(" taken, ", stderr);
  printDuration(elapsed * std::max(total - done, 0) / done);
  std::fputs(" left", stderr);
}

void clearProgress() {
  if (!shown) return;
  shown = false;
  std::fputs(kClearLine, stderr);
}
