// The built-in benchmark: a set number of frames after a warm-up, each
// timed as it is drawn, then a short report on standard output (window
// size, GL renderer and version, frames, mean frames per second, median,
// 95th and 99th percentile and worst frame time, the final state hash) and,
// if asked, every frame's time as CSV. The fly-through runs on the
// synthetic clock, so every machine draws the same frames; a replay
// draws a replay log's frames.
#pragma once
#include <cstdio>
#include <string>

// The fly-through: after the two-second fade-in, seconds x 60 frames of the
// synthetic clock.
void startFlyThroughBenchmark(int simulatedSeconds);
// A replay as fast as it goes: every frame of a replay log after its first.
void startReplayBenchmark(const std::string& logName, int logFrames);
// One CSV line per measured frame (frame number, milliseconds) into path,
// written with the report. The file is opened and its header line written
// now; false, said on standard error, when it cannot be.
bool setBenchmarkLog(const char* path);

// The size of the window the frames are drawn into, as the window reports
// it; the report names it.
void noteWindowSize(int width, int height);

bool benchmarkRunning();
// The frames of the whole run, warm-up included.
int benchmarkTotalFrames();
// Called once per displayed frame, after the swap; true after the last
// measured frame.
bool benchmarkFrameDone();
// Writes the report of the frames measured so far, and the CSV log; false,
// said on standard error, when the CSV log could not be written.
bool printBenchmarkReport(std::FILE* out);
bool benchmarkReported();

// The figures of a set of frame times in milliseconds (sorted in place).
struct FrameTimeSummary {
  double median;
  double p95;
  double p99;
  double worst;
};
FrameTimeSummary summarizeFrameTimes(float* milliseconds, int count);
