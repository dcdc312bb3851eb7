// Replaying a run from its log: each frame's clock reading and the input
// events before it come from the log, fed to the same input handlers the
// window's events reach, and the state hash after every checked frame is
// compared with the logged one.
#pragma once
#include <cstdint>
#include <string>

#include "run/replay_log.h"

// Reads and checks the whole log; false with a one-line message
// ("FILE:LINE: problem") when it cannot be replayed.
bool loadReplay(const char* path, std::string* message);
const ReplayLog& replayLog();
bool replaying();

// Feeds the events before the next frame and gives its clock reading;
// false when the log holds no further frame.
bool replayNextFrame(uint64_t* clockReading);
// After a frame ran: false when the log's state hash for it differs.
bool replayFrameMatches();
int replayedFrames();
// After the last frame: feeds the events that followed it; false when the
// final state differs from the end line's hash.
bool replayEndMatches();
