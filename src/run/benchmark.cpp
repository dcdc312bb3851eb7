#include "run/benchmark.h"

#include <GL/gl.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <vector>

#include "gfx/swap_interval.h"
#include "platform/output_check.h"
#include "run/state_hash.h"
#include "run/synthetic_clock.h"

namespace {
using Clock = std::chrono::steady_clock;

constexpr int kFadeInFrames = 2 * kSyntheticFramesPerSecond;  // not measured

std::string title;
std::string csvPath;
std::FILE* csv = nullptr;  // opened before the run, so a bad path is refused at once
int warmUpFrames = 0;
int measuredFrames = 0;  // > 0 while a benchmark runs
int framesDone = 0;
bool reported = false;
std::vector<float> frameTimes;  // milliseconds; reserved before the first frame
Clock::time_point lastFrame;
Clock::time_point firstFrame;
double drawnSeconds = 0.0;
double firstFrameCpu = 0.0;
double measuredCpu = 0.0;
// Read while the GL context is sure to exist: a run that ends inside a
// frame reports from an exit handler, after GLUT has let the context go.
char renderer[128] = "unknown";
int drawnWidth = 0;
int drawnHeight = 0;
char glVersion[128] = "unknown";

void readGlStrings() {
  const auto copy = [](GLenum name, char* out, size_t size) {
    const GLubyte* value = glGetString(name);
    if (value != nullptr) std::snprintf(out, size, "%s", reinterpret_cast<const char*>(value));
  };
  copy(GL_RENDERER, renderer, sizeof renderer);
  copy(GL_VERSION, glVersion, sizeof glVersion);
}

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

void start(int warmUp, int measured, const std::string& what) {
  title = what;
  warmUpFrames = warmUp;
  measuredFrames = measured;
  framesDone = 0;
  reported = false;
  drawnSeconds = 0.0;
  frameTimes.clear();
  frameTimes.reserve(static_cast<size_t>(measured));
}

bool writeCsv() {
  if (csv == nullptr) return true;
  for (size_t i = 0; i < frameTimes.size(); ++i) {
    std::fprintf(csv, "%zu,%.3f\n", warmUpFrames + i + 1, frameTimes[i]);
  }
  const bool written = closeChecked(csv, csvPath.c_str());
  csv = nullptr;
  return written;
}
}  // namespace

void startFlyThroughBenchmark(int simulatedSeconds) {
  start(kFadeInFrames, simulatedSeconds * kSyntheticFramesPerSecond,
        "Cryptwell benchmark: " + std::to_string(simulatedSeconds) +
            " s of fly-through after the fade-in, " +
            std::to_string(kSyntheticFramesPerSecond) + " frames a simulated second");
}

void startReplayBenchmark(const std::string& logName, int logFrames) {
  // The first frame also uploads the textures; it is not measured.
  start(1, std::max(logFrames - 1, 0), "Cryptwell benchmark: the frames of " + logName);
}

bool setBenchmarkLog(const char* path) {
  csvPath = path;
  csv = openForWriting(path);
  if (csv == nullptr) return false;
  // Written now, so that a full disk is found before the run, not after it.
  std::fputs("frame,milliseconds\n", csv);
  if (flushChecked(csv, path)) return true;
  std::fclose(csv);
  csv = nullptr;
  return false;
}

int benchmarkTotalFrames() { return warmUpFrames + measuredFrames; }

void noteWindowSize(int width, int height) {
  drawnWidth = width;
  drawnHeight = height;
}

bool benchmarkRunning() { return measuredFrames > 0; }

bool benchmarkFrameDone() {
  const Clock::time_point now = Clock::now();
  framesDone += 1;
  if (framesDone <= warmUpFrames) {
    if (framesDone == 1) readGlStrings();
    // The last warm-up frame is the start mark; frames after it count.
    firstFrame = now;
    lastFrame = now;
    firstFrameCpu = processorSeconds();
    return false;
  }
  frameTimes.push_back(static_cast<float>(1000.0 * since(lastFrame, now)));
  lastFrame = now;
  drawnSeconds = since(firstFrame, now);
  measuredCpu = processorSeconds() - firstFrameCpu;
  return static_cast<int>(frameTimes.size()) == measuredFrames;
}

FrameTimeSummary summarizeFrameTimes(float* milliseconds, int count) {
  if (count == 0) return {0.0, 0.0, 0.0, 0.0};
  std::sort(milliseconds, milliseconds + count);
  return {percentile(milliseconds, count, 0.5), percentile(milliseconds, count, 0.95),
          percentile(milliseconds, count, 0.99), milliseconds[count - 1]};
}

bool printBenchmarkReport(std::FILE* out) {
  reported = true;
  const bool csvWritten = writeCsv();  // before the summary sorts the times
  const int frames = static_cast<int>(frameTimes.size());
  const FrameTimeSummary s = summarizeFrameTimes(frameTimes.data(), frames);
  std::fprintf(out, "%s\n", title.c_str());
  std::fprintf(out, "window:      %d x %d\n", drawnWidth, drawnHeight);
  std::fprintf(out, "renderer:    %s\n", renderer);
  std::fprintf(out, "GL version:  %s\n", glVersion);
  const int interval = swapIntervalInForce();
  if (interval < 0) {
    std::fprintf(out, "swap interval: unknown\n");
  } else {
    std::fprintf(out, "swap interval: %d (%s)\n", interval,
                 interval == 0 ? "no vertical sync" : "vertical sync");
  }
  std::fprintf(out, "frames:      %d in %.2f s\n", frames, drawnSeconds);
  std::fprintf(out, "mean:        %.1f frames/s\n", drawnSeconds > 0.0 ? frames / drawnSeconds : 0.0);
  std::fprintf(out, "frame time:  median %.2f ms, 95th %.2f ms, 99th %.2f ms, worst %.2f ms\n",
               s.median, s.p95, s.p99, s.worst);
  std::fprintf(out, "processor:   %.2f ms a frame\n", frames > 0 ? 1000.0 * measuredCpu / frames : 0.0);
  std::fprintf(out, "state hash:  %016" PRIx64 "\n", simulationStateHash());
  return csvWritten;
}

bool benchmarkReported() { return reported; }
