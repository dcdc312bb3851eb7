// Replaying a run from its log: each frame's clock reading and the input
// events before it come from the log, fed to the same input handlers the
// window's events reach, and the state hash after every checked frame is
// compared with the logged one. The log is read twice, a line at a time,
// so memory stays the same for a log of any length: once through when it
// is loaded, to refuse a bad one before anything starts, and again as it
// is replayed.
#pragma once
#include <cstdint>
#include <string>

#include "run/replay_log.h"

// Opens the log and reads it through; false with a one-line message
// ("FILE:LINE: problem", or "FILE: problem" for a file that is no log at
// all) when it cannot be replayed.
bool loadReplay(const char* path, std::string* message);
// The log's header, its frame count and whether it has its end line.
const ReplayLog& replayLog();
bool replaying();

// Feeds the events before the next frame and gives its clock reading;
// false when the log holds no further frame.
bool replayNextFrame(uint64_t* clockReading);
// After a frame ran: false when the log's state hash for it differs.
bool replayFrameMatches();
int replayedFrames();
// After the last frame: feeds the events that followed it; false when the
// final state differs from the end line's hash, or the log changed since
// it was loaded (said on standard error).
bool replayEndMatches();
