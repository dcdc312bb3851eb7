#include "app/run_inputs.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/benchmark.h"
#include "app/recorder.h"
#include "app/replayer.h"
#include "app/scene.h"
#include "app/synthetic_clock.h"
#include "app/window.h"
#include "input/keyboard.h"
#include "input/pointer.h"
#include "platform/clock.h"

namespace {
ClockSource source = ClockSource::System;
bool insideFrame = false;  // between beginFrame and endFrame
bool finished = false;     // the replay's verdict is out
std::chrono::steady_clock::time_point replayStart;

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

// Prints the verdict once; returns the exit status it means.
int replayVerdict(bool matches) {
  finished = true;
  if (benchmarkRunning() && !benchmarkReported()) printBenchmarkReport(stdout);
  const int frames = replayedFrames();
  if (!matches) {
    std::printf("replay: diverged at frame %d\n", frames);
    return 1;
  }
  if (!replayLog().ended) {
    std::fprintf(stderr, "cryptwell: the replay log was cut short; replayed its %d whole frames\n",
                 frames);
  }
  std::printf("replay: %d frames, matches\n", frames);
  return 0;
}

void endReplay(bool matches) {
  const int status = replayVerdict(matches);
  shutdownScene();
  std::exit(status);
}
}  // namespace

void setClockSource(ClockSource s) {
  source = s;
  replayStart = std::chrono::steady_clock::now();
  if (s == ClockSource::Synthetic) startSyntheticClock(clockStartMs);
}

ClockSource clockSource() { return source; }

uint64_t beginFrame() {
  uint64_t reading = 0;
  switch (source) {
    case ClockSource::System:
      reading = clockMilliseconds();
      if (recording()) recordFrame(reading);
      break;
    case ClockSource::Replay:
      if (!replayNextFrame(&reading)) endReplay(replayEndMatches());
      // Watched, a replay keeps the recorded pace; the timedemo draws flat out.
      if (!benchmarkRunning()) {
        std::this_thread::sleep_until(replayStart +
                                      std::chrono::milliseconds(reading - replayLog().startMs));
      }
      break;
    case ClockSource::Synthetic: reading = nextSyntheticReading(); break;
  }
  insideFrame = true;
  return reading;
}

void endFrame() {
  insideFrame = false;
  if (recording()) recordFrameDone();
  if (source == ClockSource::Replay && !replayFrameMatches()) endReplay(false);
}

void finishRun() {
  if (recording()) finishRecording();
  if (source != ClockSource::Replay || finished) return;
  const bool last = replayedFrames() == replayLog().frames;
  int status = 0;
  if (insideFrame) {
    // The frame ended the program (the fade after ESC). So did the recorded
    // run's last frame, if the two are alike.
    status = replayVerdict(last && replayLog().ended && replayEndMatches());
  } else if (last) {
    status = replayVerdict(replayEndMatches());  // the timedemo's report is out
  } else {
    std::printf("replay: stopped after frame %d of %d\n", replayedFrames(), replayLog().frames);
    status = 1;
  }
  // Already inside exit, which must not be called again; its status is
  // replaced only when the verdict needs another.
  if (status != 0) {
    std::fflush(nullptr);
    std::_Exit(status);
  }
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
  // A replay takes the window's size from its log.
  if (source == ClockSource::Replay) return;
  record(RecordKind::Window, width, height);
  onReshape(width, height);
}
