#include "run/recorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/output_check.h"
#include "platform/stop_signals.h"
#include "run/state_hash.h"

namespace {
constexpr size_t kBufferBytes = 64 * 1024;
constexpr uint64_t kFlushIntervalMs = 1000;
constexpr char kSignalEnd[] = "end -\n";

std::string logPath;
int logFile = -1;
char buffer[kBufferBytes];
// Bytes of whole lines in the buffer. The signal handler writes exactly
// these, so it is set only after a line is complete.
volatile std::sig_atomic_t buffered = 0;
off_t logBytes = 0;  // written to the log so far
uint64_t startReading = 0;
uint64_t lastReading = 0;
uint64_t lastFlushMs = 0;
int frames = 0;
bool failed = false;  // a write failed and the recording stopped
bool haveMotion = false;
LogRecord lastMotion{RecordKind::Motion};

void stopRecording(const char* problem) {
  std::fprintf(stderr, "cryptwell: %s: %s; recording stopped\n", logPath.c_str(), problem);
  close(logFile);
  logFile = -1;
  failed = true;
}

// The bytes written, all of them unless a write failed (errno says why).
size_t writeAll(const char* bytes, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t written = write(logFile, bytes + done, size - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) break;
    done += static_cast<size_t>(written);
  }
  return done;
}

void flush() {
  if (logFile < 0) return;
  // A stop signal in the middle would write the same lines a second time.
  const sigset_t stops = stopSignalSet();
  sigset_t previous;
  sigprocmask(SIG_BLOCK, &stops, &previous);
  const size_t size = static_cast<size_t>(buffered);
  const size_t written = writeAll(buffer, size);
  buffered = 0;
  logBytes += static_cast<off_t>(written);
  if (written < size) {
    // A full disk took part of a line: the log is cut back to end on a whole one.
    const char* problem = std::strerror(errno);
    const void* newline = memrchr(buffer, '\n', written);
    const size_t whole = newline == nullptr ? 0 : static_cast<const char*>(newline) - buffer + 1;
    if (ftruncate(logFile, logBytes - static_cast<off_t>(written - whole)) != 0) {
      // The log then ends in part of a line, which a replay leaves out.
    }
    stopRecording(problem);
  }
  sigprocmask(SIG_SETMASK, &previous, nullptr);
}

void append(const char* line, size_t length) {
  if (logFile < 0) return;
  if (static_cast<size_t>(buffered) + length > kBufferBytes) flush();
  if (logFile < 0) return;
  std::memcpy(buffer + buffered, line, length);
  buffered = static_cast<std::sig_atomic_t>(buffered + static_cast<std::sig_atomic_t>(length));
}

void appendRecord(const LogRecord& record) {
  char line[kMaxLogLine];
  append(line, static_cast<size_t>(formatRecord(record, line)));
}

// Only async-signal-safe calls: the whole lines so far, the end line, then
// the signal's usual effect.
void onStopSignal(int signal) {
  if (logFile >= 0) {
    if (write(logFile, buffer, static_cast<size_t>(buffered)) >= 0) {
      if (write(logFile, kSignalEnd, sizeof kSignalEnd - 1) < 0) {
        // Nothing more can be done inside a handler.
      }
    }
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}
}  // namespace

bool startRecording(const char* path, const char* programVersion, const RunSettings& settings) {
  logPath = path;
  logFile = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (logFile < 0) {
    reportWriteError(path, errno);
    return false;
  }
  buffered = 0;
  logBytes = 0;
  frames = 0;
  failed = false;
  haveMotion = false;
  startReading = settings.startMs;
  lastReading = settings.startMs;
  lastFlushMs = settings.startMs;
  const std::string header = formatLogHeader(programVersion, settings);
  append(header.data(), header.size());
  // Written now, so that a full disk is found before the run.
  flush();
  if (logFile < 0) return false;
  for (int s : kStopSignals) std::signal(s, onStopSignal);
  return true;
}

bool recording() { return logFile >= 0; }

void recordEvent(const LogRecord& event) {
  if (event.kind != RecordKind::Motion) {
    appendRecord(event);
    return;
  }
  // Nearly every frame's pointer re-centring comes back as the same motion.
  if (haveMotion && event.a == lastMotion.a && event.b == lastMotion.b) {
    append(kSamePlaceMotion, sizeof kSamePlaceMotion - 1);
    return;
  }
  haveMotion = true;
  lastMotion = event;
  appendRecord(event);
}

void recordFrame(uint64_t clockReading) {
  LogRecord frame{RecordKind::Frame};
  frame.value = clockReading - lastReading;
  lastReading = clockReading;
  frames += 1;
  appendRecord(frame);
  if (clockReading - lastFlushMs >= kFlushIntervalMs) {
    lastFlushMs = clockReading;
    flush();
  }
}

void recordFrameDone() {
  if (frames % kCheckInterval != 0) return;
  LogRecord check{RecordKind::Check};
  check.value = static_cast<uint64_t>(frames);
  check.hash = simulationStateHash();
  appendRecord(check);
}

bool finishRecording() {
  if (logFile < 0) return !failed;
  LogRecord end{RecordKind::End};
  end.hash = simulationStateHash();
  end.hasHash = true;
  appendRecord(end);
  flush();
  if (logFile >= 0 && close(logFile) != 0) {
    reportWriteError(logPath.c_str(), errno);
    failed = true;
  }
  logFile = -1;
  for (int s : kStopSignals) std::signal(s, SIG_DFL);
  if (failed) return false;
  std::fprintf(stderr, "cryptwell: recorded %d frames, %.1f s, in %s\n", frames,
               static_cast<double>(lastReading - startReading) / 1000.0, logPath.c_str());
  return true;
}
