// A run recorded with random input and replayed from its log: the same
// state hash at every check and the same last picture; a log with one event
// changed is caught at the first check after it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "scene/frame_driver.h"
#include "run/recorder.h"
#include "run/replayer.h"
#include "run/input_source.h"
#include "core/frame_clock.h"
#include "core/oscillators.h"
#include "gfx/lights.h"
#include "gl/gl_support.h"
#include "platform/clock.h"
#include "support/state.h"

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFrames = 400;
constexpr uint64_t kStartMs = 1234;
// Keys that change the simulation and leave the window alone (no F, no ESC).
constexpr unsigned char kKeys[] = {'v', 'v', 'w', 'c', ' ', '[', ']', '=', '-', ',', '.',
                                   '1', '7', 'o', 'l', 'p', 'u', 'r', '?'};
constexpr int kArrows[] = {100, 101, 102, 103};

class Replay : public ::testing::Test {
 protected:
  void SetUp() override {
    resizeTestWindow(kWidth, kHeight);
    path_ = ::testing::TempDir() + "replay_test_" + std::to_string(getpid()) + ".log";
  }
  void TearDown() override {
    unlink(path_.c_str());
    clearToBlack();
    restoreProgramState();
  }

  // The state the program is in before its first frame.
  static void startRun() {
    restoreProgramState();
    loadTestResources();
    startClockAt(kStartMs);
    randomizeOscillators(kOscillatorsInUse);
    setupLights(1, 0.5f, 0.8f);
  }

  std::string path_;
};

// Between frames, maybe one random event, through the window's callbacks.
void randomEvent(std::mt19937& random) {
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  switch (pick(8)) {
    case 0: keyEvent(kKeys[pick(static_cast<int>(sizeof kKeys))], 0, 0); break;
    case 1: specialKeyDownEvent(kArrows[pick(4)], 0, 0); break;
    case 2: specialKeyUpEvent(kArrows[pick(4)], 0, 0); break;
    case 3: mouseButtonEvent(0, pick(2), 300 + pick(300), 200 + pick(300)); break;
    case 4:
    case 5: mouseMotionEvent(400 + pick(100), 300 + pick(100)); break;
    default: break;  // most frames have no event
  }
}

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}
}  // namespace

TEST_F(Replay, ARecordedRunReplaysExactlyAndAChangedEventIsCaught) {
  startRun();
  RunSettings settings;
  settings.startMs = kStartMs;
  ASSERT_TRUE(startRecording(path_.c_str(), "test", settings));
  reshapeEvent(kWidth, kHeight);
  std::mt19937 random(16);
  uint64_t ms = kStartMs;
  for (int frame = 1; frame <= kFrames; ++frame) {
    randomEvent(random);
    ms += 5 + random() % 40;
    recordFrame(ms);
    setClockMs(ms);
    runFrame();
    recordFrameDone();
  }
  finishRecording();
  const std::vector<uint8_t> recorded = readRegion(0, kWidth, 0, kHeight);
  const std::string log = readFile(path_);

  // The replay, from the same start: every check and the end agree.
  startRun();
  std::string problem;
  ASSERT_TRUE(loadReplay(path_.c_str(), &problem)) << problem;
  EXPECT_EQ(replayLog().frames, kFrames);
  uint64_t reading = 0;
  while (replayNextFrame(&reading)) {
    setClockMs(reading);
    runFrame();
    ASSERT_TRUE(replayFrameMatches()) << "frame " << replayedFrames();
  }
  EXPECT_TRUE(replayEndMatches());
  EXPECT_EQ(readRegion(0, kWidth, 0, kHeight), recorded) << "the last picture differs";

  // One key after frame 100 turned into another: the check after it fails.
  size_t at = log.find("\nf ");
  for (int frame = 1; frame < 100; ++frame) at = log.find("\nf ", at + 1);
  at = log.find("\nkey ", at);
  ASSERT_NE(at, std::string::npos);
  const int changedFrame = [&] {
    int frames = 0;
    for (size_t f = log.find("\nf "); f < at; f = log.find("\nf ", f + 1)) ++frames;
    return frames + 1;  // the key belongs to the next frame
  }();
  const size_t end = log.find('\n', at + 1);
  const std::string original = log.substr(at, end - at);
  std::string changed = log;
  changed.replace(at, end - at, original == "\nkey 93" ? "\nkey 91" : "\nkey 93");  // ] or [
  std::ofstream(path_) << changed;

  startRun();
  ASSERT_TRUE(loadReplay(path_.c_str(), &problem)) << problem;
  int diverged = 0;
  while (diverged == 0 && replayNextFrame(&reading)) {
    setClockMs(reading);
    runFrame();
    if (!replayFrameMatches()) diverged = replayedFrames();
  }
  EXPECT_EQ(diverged, (changedFrame + kCheckInterval - 1) / kCheckInterval * kCheckInterval)
      << "changed " << original.substr(1) << " before frame " << changedFrame;
}
