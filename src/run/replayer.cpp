#include "run/replayer.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "run/state_hash.h"
#include "core/run_state.h"
#include "input/keyboard.h"
#include "input/pointer.h"

namespace {
ReplayLog log;
std::string logPath;
std::FILE* file = nullptr;
std::optional<LogReader> reader;
std::optional<LogRecord> readAhead;  // read, but belonging to what comes next
bool changed = false;  // the second reading found what the first did not
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

std::string located(const LogProblem& problem) {
  return logPath + ":" + std::to_string(problem.line) + ": " + problem.message;
}

// The next record of the second reading; false at the log's end, or when
// the file was changed underneath into something that is no log.
bool nextRecord(LogRecord* record) {
  if (readAhead) {
    *record = *readAhead;
    readAhead.reset();
    return true;
  }
  LogProblem problem;
  const LogReader::Next next = reader->nextRecord(record, &problem);
  if (next == LogReader::Next::Bad && !changed) {
    changed = true;
    std::fprintf(stderr, "cryptwell: %s (the log changed while it was replayed)\n",
                 located(problem).c_str());
  }
  return next == LogReader::Next::Record;
}

// Feeds the events up to the next frame or end line, which it returns,
// passing over checks.
bool nextFrameOrEnd(LogRecord* record) {
  while (nextRecord(record)) {
    if (record->kind == RecordKind::Frame || record->kind == RecordKind::End) return true;
    feed(*record);
  }
  return false;
}

void closeLog() {
  if (file != nullptr) std::fclose(file);
  file = nullptr;
  reader.reset();
}
}  // namespace

bool loadReplay(const char* path, std::string* message) {
  closeLog();
  logPath = path;
  file = std::fopen(path, "rb");
  struct stat info {};
  if (file == nullptr || fstat(fileno(file), &info) != 0) {
    *message = logPath + ": " + std::strerror(errno);
    closeLog();
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    *message = logPath + ": is a folder, not a replay log";
    closeLog();
    return false;
  }
  LogProblem problem;
  if (!scanReplayLog(file, &log, &problem)) {
    *message = located(problem);
    closeLog();
    return false;
  }
  ReplayLog again;
  reader.emplace(file);
  if (std::fseek(file, 0, SEEK_SET) != 0 || !reader->readHeader(&again, &problem)) {
    *message = logPath + ": cannot be read a second time; a log must be a file, not a pipe";
    closeLog();
    return false;
  }
  readAhead.reset();
  changed = false;
  frames = 0;
  reading = log.settings.startMs;
  return true;
}

const ReplayLog& replayLog() { return log; }

bool replaying() { return reader.has_value(); }

bool replayNextFrame(uint64_t* clockReading) {
  LogRecord record{RecordKind::End};
  if (frames == log.frames || !nextFrameOrEnd(&record)) return false;
  if (record.kind == RecordKind::End) {
    readAhead = record;
    return false;
  }
  reading += record.value;
  frames += 1;
  *clockReading = reading;
  return true;
}

bool replayFrameMatches() {
  LogRecord record{RecordKind::End};
  if (!nextRecord(&record)) return true;
  if (record.kind == RecordKind::Check) return record.hash == simulationStateHash();
  readAhead = record;
  return true;
}

int replayedFrames() { return frames; }

bool replayEndMatches() {
  LogRecord record{RecordKind::End};
  const bool found = nextFrameOrEnd(&record);
  if (changed) return false;
  if (!found || record.kind != RecordKind::End) return true;  // cut short: nothing to compare
  return !record.hasHash || record.hash == simulationStateHash();
}
