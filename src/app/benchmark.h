// The built-in benchmark: after the fade-in, the time of every displayed
// frame for a set number of seconds, then a short report on standard output
// (window size, GL renderer and version, the swap interval, frames, mean
// frames per second, median, 95th and 99th percentile and worst frame time).
#pragma once
#include <cstdio>

// Reserves the frame-time buffer; frames are measured from then on.
void startBenchmark(int seconds);
bool benchmarkRunning();
// Called once per displayed frame, after the swap, with the frame clock's
// seconds since start; true once the measured time is over.
bool benchmarkFrameDone(double clockSeconds);
// Writes the report of the frames measured so far.
void printBenchmarkReport(std::FILE* out);

// The figures of a set of frame times in milliseconds (sorted in place).
struct FrameTimeSummary {
  double median;
  double p95;
  double p99;
  double worst;
};
FrameTimeSummary summarizeFrameTimes(float* milliseconds, int count);
