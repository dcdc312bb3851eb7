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
#include <string>
#include <vector>

#include "run/run_settings.h"

constexpr const char* kLogFormat = "cryptwell-replay";
constexpr int kLogVersion = 2;
constexpr int kCheckInterval = 60;  // frames between two state hashes
constexpr char kSamePlaceMotion[] = "m\n";

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

struct ReplayLog {
  std::string program;
  RunSettings settings;          // startMs always; the rest as held
  RunSettingMask held = 0;       // the settings the header names
  bool picturesHeld = false;     // the header names the pictures
  std::vector<LogRecord> records;
  int frames = 0;       // frame records
  bool ended = false;   // the end line is there
};

struct LogProblem {
  int line = 0;  // 1-based; 0 when the problem is not on one line
  std::string message;
};

// The header's lines.
std::string formatLogHeader(const char* programVersion, const RunSettings& settings);
// One record as a line, newline included, into out (at least kMaxLogLine
// bytes); returns its length. A motion is written with its place; the
// short "m" is the recorder's to choose.
constexpr size_t kMaxLogLine = 64;
int formatRecord(const LogRecord& record, char* out);

// Reads a whole log; false with the problem when it is not one.
bool parseReplayLog(const std::string& text, ReplayLog* log, LogProblem* problem);
