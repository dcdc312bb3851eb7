#include "run/input_source.h"

#include <chrono>
#include <thread>

#include "core/frame_clock.h"
#include "core/run_state.h"
#include "input/keyboard.h"
#include "input/pointer.h"
#include "platform/clock.h"
#include "run/benchmark.h"
#include "run/progress.h"
#include "run/recorder.h"
#include "run/replayer.h"
#include "run/synthetic_clock.h"

namespace {
ClockSource source = ClockSource::System;
std::chrono::steady_clock::time_point replayStart;
uint64_t lastReplayReading = 0;
// A watched replay's time so far: its recorded steps, each no longer than
// the world can use, so a gap in the log is not waited out.
uint64_t replayPaceMs = 0;

// Real input reaches the simulation only in a live run; the benchmark
// still lets ESC end it.
bool takesRealInput() { return source == ClockSource::System; }

void record(RecordKind kind, int a, int b = 0, int c = 0, int d = 0) {
  if (!recording()) return;
  LogRecord event{kind};
  event.a = a;
  event.b = b;
  event.c = c;
  event.d = d;
  recordEvent(event);
}
}  // namespace

void setClockSource(ClockSource s) {
  source = s;
  replayStart = std::chrono::steady_clock::now();
  lastReplayReading = clockStartMs;
  replayPaceMs = 0;
  if (s == ClockSource::Synthetic) startSyntheticClock(clockStartMs);
}

ClockSource clockSource() { return source; }

bool beginFrame(uint64_t* clockReading) {
  switch (source) {
    case ClockSource::System:
      *clockReading = clockMilliseconds();
      if (recording()) recordFrame(*clockReading);
      break;
    case ClockSource::Replay:
      if (!replayNextFrame(clockReading)) return false;
      replayPaceMs += worldStepMs(*clockReading - lastReplayReading);
      lastReplayReading = *clockReading;
      // Watched, a replay keeps the recorded pace; the benchmark draws flat out.
      if (!benchmarkRunning()) {
        std::this_thread::sleep_until(replayStart + std::chrono::milliseconds(replayPaceMs));
      }
      break;
    case ClockSource::Synthetic: *clockReading = nextSyntheticReading(); break;
  }
  return true;
}

bool endFrame() {
  if (recording()) recordFrameDone();
  progressFrameDone();
  return source != ClockSource::Replay || replayFrameMatches();
}

void keyEvent(unsigned char key, int x, int y) {
  const bool escape = key == kEscapeKey && source == ClockSource::Synthetic;
  if (!takesRealInput() && !escape) return;
  record(RecordKind::Key, key);
  onKey(key, x, y);
}

void specialKeyDownEvent(int key, int x, int y) {
  if (!takesRealInput()) return;
  record(RecordKind::SpecialDown, key);
  onSpecialKeyDown(key, x, y);
}

void specialKeyUpEvent(int key, int x, int y) {
  if (!takesRealInput()) return;
  record(RecordKind::SpecialUp, key);
  onSpecialKeyUp(key, x, y);
}

void mouseButtonEvent(int button, int state, int x, int y) {
  if (!takesRealInput()) return;
  record(RecordKind::Button, button, state, x, y);
  onMouseButton(button, state, x, y);
}

void mouseMotionEvent(int x, int y) {
  if (!takesRealInput()) return;
  record(RecordKind::Motion, x, y);
  onMouseMotion(x, y);
}

void reshapeEvent(int width, int height) {
  noteWindowSize(width, height);
  // A replay takes the window's size from its log.
  if (source == ClockSource::Replay) return;
  record(RecordKind::Window, width, height);
  setWindowSize(width, height);
}
