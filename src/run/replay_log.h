// The replay log: a run's settings and inputs as text, one record a line, so
// a person can read and diff it. The header comes first:
//
//   cryptwell-replay 2        the format and its version
//   program 1.0.0             the version of the program that wrote it
//   start 0                   the clock reading at start, in milliseconds
//   setting NAME VALUE        each of the run's settings (run/run_settings)
//   picture NAME SIZE HASH    each picture's size and hash, or NAME - when
//                             the run found none
//
// (A version 1 log has the first three lines alone; it replays with the
// settings of the command line.)
//
// then, in the order they happened:
//
//   window W H                the window's size (the first one and every change)
//   key C                     a character key, C its code 0..255
//   down K                    a special key (arrows, F-keys) pressed, K GLUT's code
//   up K                      ... released
//   button B S X Y            a mouse button B went down (S 0) or up (S 1) at X, Y
//   m X Y                     the pointer moved to X, Y
//   m                         ... to where the last m line put it
//   f D                       a frame ran, D milliseconds after the previous
//                             reading (the first frame: after the start)
//   check N HASH              the state hash after frame N (every 60 frames)
//   end HASH                  the run ended here, HASH the final state hash, or
//                             - when a signal ended it and no state was taken
//
// Events belong to the next frame line. A log without its end line was cut
// short; whatever follows its last whole line is ignored. The two records
// of nearly every frame have one-letter names: the program re-centres the
// pointer every frame, which comes back as a motion to the same place, so
// an hour at a hundred frames a second stays near three megabytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "run/run_settings.h"

constexpr const char* kLogFormat = "cryptwell-replay";
constexpr int kLogVersion = 2;
constexpr int kCheckInterval = 60;  // frames between two state hashes
constexpr char kSamePlaceMotion[] = "m\n";
// No line the recorder writes is longer; a longer one is refused as soon as
// it is read, so a file that is no log costs neither memory nor time.
constexpr size_t kMaxLogLine = 128;

enum class RecordKind { Window, Key, SpecialDown, SpecialUp, Button, Motion, Frame, Check, End };

struct LogRecord {
  RecordKind kind;
  int a = 0;  // key or button, x, width
  int b = 0;  // state, y, height
  int c = 0;  // button x
  int d = 0;  // button y
  uint64_t value = 0;     // frame step in ms, or check frame number
  uint64_t hash = 0;      // check and end
  bool hasHash = false;   // an end line with a hash
};

// What a log says of itself: its header, and after a whole reading how
// many frames it holds and whether it has its end line.
struct ReplayLog {
  std::string program;
  RunSettings settings;          // startMs always; the rest as held
  RunSettingMask held = 0;       // the settings the header names
  bool picturesHeld = false;     // the header names the pictures
  int frames = 0;       // frame records
  bool ended = false;   // the end line is there
};

struct LogProblem {
  int line = 0;  // 1-based
  std::string message;  // any field of the log in it is quoted (core/quoted_text)
};

// The header's lines.
std::string formatLogHeader(const char* programVersion, const RunSettings& settings);
// One record as a line, newline included, into out (at least kMaxLogLine
// bytes); returns its length. A motion is written with its place; the
// short "m" is the recorder's to choose.
int formatRecord(const LogRecord& record, char* out);

// Reads a log a line at a time from an open file, in constant memory: the
// header first, then one record a call.
class LogReader {
 public:
  explicit LogReader(std::FILE* file) : file_(file) {}
  // Fills the header's part of log; false with the problem.
  bool readHeader(ReplayLog* log, LogProblem* problem);
  enum class Next { Record, Finished, Bad };
  // The next record; Finished after the last whole line.
  Next nextRecord(LogRecord* record, LogProblem* problem);
  int frames() const { return frames_; }
  bool ended() const { return ended_; }

 private:
  enum class Line { Whole, None, TooLong, Unreadable };
  Line readLine();
  bool lineProblem(Line line, const char* beforeWhat, LogProblem* problem);
  bool fail(LogProblem* problem, const std::string& message) const;
  Next bad(LogProblem* problem, const std::string& message) const;

  std::FILE* file_;
  char buffer_[16 * 1024];  // read a block at a time; lines are found in it
  size_t begin_ = 0;        // where the next line starts
  size_t end_ = 0;          // where the bytes read end
  const char* line_ = buffer_;  // the last line read, without its newline
  size_t length_ = 0;
  int lineNumber_ = 0;
  bool lineKept_ = false;  // the header read the first record's line
  int frames_ = 0;
  bool ended_ = false;
  bool haveMotion_ = false;
  LogRecord lastMotion_{RecordKind::Motion};
};

// Reads a whole log through: its header, and that every line after it is
// a record; false with the problem when it is not a log.
bool scanReplayLog(std::FILE* file, ReplayLog* log, LogProblem* problem);
