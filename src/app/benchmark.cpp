#include "app/benchmark.h"

#include <GL/gl.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "core/run_state.h"

namespace {
using Clock = std::chrono::steady_clock;

constexpr double kWarmUpSeconds = 2.0;     // the fade-in is not measured
constexpr int kMaxFramesPerSecond = 2000;  // the buffer's room per second

int measureSeconds = 0;
std::vector<float> frameTimes;  // milliseconds; reserved before the first frame
bool measuring = false;
Clock::time_point lastFrame;
Clock::time_point firstFrame;
double measuredSeconds = 0.0;
double firstFrameCpu = 0.0;
double measuredCpu = 0.0;

// Seconds of processor time of the whole process, the renderer's threads
// included: on a busy machine this counts the frames' work, not the waiting.
double processorSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double since(Clock::time_point then, Clock::time_point now) {
  return std::chrono::duration<double>(now - then).count();
}

// The value below which share p of the sorted times lie (nearest rank).
double percentile(const float* sorted, int count, double p) {
  const int rank = static_cast<int>(std::ceil(p * count));
  return sorted[std::clamp(rank, 1, count) - 1];
}
}  // namespace

void startBenchmark(int seconds) {
  measureSeconds = seconds;
  frameTimes.clear();
  frameTimes.reserve(static_cast<size_t>(seconds) * kMaxFramesPerSecond);
  measuring = false;
  measuredSeconds = 0.0;
}

bool benchmarkRunning() { return measureSeconds > 0; }

bool benchmarkFrameDone(double clockSeconds) {
  const Clock::time_point now = Clock::now();
  if (!measuring) {
    // The frame that ends the fade-in is the start mark; frames after it count.
    if (clockSeconds < kWarmUpSeconds) return false;
    measuring = true;
    firstFrame = now;
    lastFrame = now;
    firstFrameCpu = processorSeconds();
    return false;
  }
  // A full buffer ends the run early rather than allocate during frames.
  if (frameTimes.size() < frameTimes.capacity()) {
    frameTimes.push_back(static_cast<float>(1000.0 * since(lastFrame, now)));
  }
  lastFrame = now;
  measuredSeconds = since(firstFrame, now);
  measuredCpu = processorSeconds() - firstFrameCpu;
  return measuredSeconds >= measureSeconds || frameTimes.size() == frameTimes.capacity();
}

FrameTimeSummary summarizeFrameTimes(float* milliseconds, int count) {
  if (count == 0) return {0.0, 0.0, 0.0, 0.0};
  std::sort(milliseconds, milliseconds + count);
  return {percentile(milliseconds, count, 0.5), percentile(milliseconds, count, 0.95),
          percentile(milliseconds, count, 0.99), milliseconds[count - 1]};
}

void printBenchmarkReport(std::FILE* out) {
  const int frames = static_cast<int>(frameTimes.size());
  const FrameTimeSummary s = summarizeFrameTimes(frameTimes.data(), frames);
  const auto text = [](GLenum name) {
    const GLubyte* value = glGetString(name);
    return value != nullptr ? reinterpret_cast<const char*>(value) : "unknown";
  };
  std::fprintf(out, "Cryptwell benchmark: %.1f s of fly-through after the fade-in\n",
               measuredSeconds);
  std::fprintf(out, "window:      %d x %d\n", windowWidth, windowHeight);
  std::fprintf(out, "renderer:    %s\n", text(GL_RENDERER));
  std::fprintf(out, "GL version:  %s\n", text(GL_VERSION));
  std::fprintf(out, "frames:      %d\n", frames);
  std::fprintf(out, "mean:        %.1f frames/s\n",
               measuredSeconds > 0.0 ? frames / measuredSeconds : 0.0);
  std::fprintf(out, "frame time:  median %.2f ms, 95th %.2f ms, 99th %.2f ms, worst %.2f ms\n",
               s.median, s.p95, s.p99, s.worst);
  std::fprintf(out, "processor:   %.2f ms a frame\n", frames > 0 ? 1000.0 * measuredCpu / frames : 0.0);
}
