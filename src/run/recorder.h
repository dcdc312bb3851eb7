// Writing a replay log while the program runs: the header, every input
// event as it arrives, each frame's clock reading, a state hash every 60
// frames and at the end. Lines go into a fixed buffer that is written out
// at least once a second of clock time, when it fills, and at exit; a
// SIGTERM, SIGINT or SIGHUP writes out the whole lines buffered so far and
// an end line before the signal ends the process. A write error gives one
// line on standard error and stops the recording; the run goes on. A
// recording that ends well says so in one line: frames, time and file.
#pragma once
#include <cstdint>

#include "run/replay_log.h"

// Opens the log and writes the header with the run's settings; false, with
// a line on standard error, when it cannot be written.
bool startRecording(const char* path, const char* programVersion, const RunSettings& settings);
bool recording();
void recordEvent(const LogRecord& event);
// Before a frame runs: its clock reading.
void recordFrame(uint64_t clockReading);
// After a frame ran: a state hash every kCheckInterval frames.
void recordFrameDone();
// Writes the end line with the final state hash, flushes and closes; false
// when any of the log could not be written. Does nothing more once done.
bool finishRecording();
