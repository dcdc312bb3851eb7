#include "run/replayer.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "run/state_hash.h"
#include "core/run_state.h"
#include "input/keyboard.h"
#include "input/pointer.h"

namespace {
ReplayLog log;
bool loaded = false;
size_t next = 0;  // the next record
int frames = 0;
uint64_t reading = 0;

void feed(const LogRecord& r) {
  switch (r.kind) {
    case RecordKind::Window: setWindowSize(r.a, r.b); break;
    case RecordKind::Key: onKey(static_cast<unsigned char>(r.a), 0, 0); break;
    case RecordKind::SpecialDown: onSpecialKeyDown(r.a, 0, 0); break;
    case RecordKind::SpecialUp: onSpecialKeyUp(r.a, 0, 0); break;
    case RecordKind::Button: onMouseButton(r.a, r.b, r.c, r.d); break;
    case RecordKind::Motion: onMouseMotion(r.a, r.b); break;
    default: break;
  }
}

// Feeds the events up to the next frame or end line, passing over checks.
void feedEvents() {
  while (next < log.records.size() && log.records[next].kind != RecordKind::Frame &&
         log.records[next].kind != RecordKind::End) {
    feed(log.records[next++]);
  }
}
}  // namespace

bool loadReplay(const char* path, std::string* message) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *message = std::string(path) + ": " + std::strerror(errno);
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  LogProblem problem;
  if (!parseReplayLog(text.str(), &log, &problem)) {
    *message = std::string(path) + ":" +
               (problem.line > 0 ? std::to_string(problem.line) + ":" : "") + " " +
               problem.message;
    return false;
  }
  loaded = true;
  next = 0;
  frames = 0;
  reading = log.settings.startMs;
  return true;
}

const ReplayLog& replayLog() { return log; }

bool replaying() { return loaded; }

bool replayNextFrame(uint64_t* clockReading) {
  if (frames == log.frames) return false;
  feedEvents();
  reading += log.records[next++].value;  // the frame line
  frames += 1;
  *clockReading = reading;
  return true;
}

bool replayFrameMatches() {
  if (next == log.records.size() || log.records[next].kind != RecordKind::Check) return true;
  return log.records[next++].hash == simulationStateHash();
}

int replayedFrames() { return frames; }

bool replayEndMatches() {
  feedEvents();
  if (next == log.records.size()) return true;  // cut short: nothing to compare
  const LogRecord& end = log.records[next];
  return !end.hasHash || end.hash == simulationStateHash();
}
