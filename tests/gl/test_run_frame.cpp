// The frame driver run on a real context with chosen clock values: the
// background pulse, the order of the fade-in and the quit fade-out, the exit
// at the end of the fade, and a steady frame that allocates nothing.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "scene/frame_driver.h"
#include "display/glut_window.h"
#include "core/easing.h"
#include "core/frame_clock.h"
#include "core/input_state.h"
#include "core/oscillators.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "game/combat.h"
#include "gl/gl_support.h"
#include "input/keyboard.h"
#include "particles/particles.h"
#include "platform/clock.h"
#include "support/state.h"
#include "text/text_renderer.h"

// Counts calls of the global operator new while counting is switched on.
// It replaces operator new for the whole gl_tests binary, so it stays a
// plain pass-through to malloc. Only operator new is counted: Mesa and the
// other C libraries allocate with malloc, which says nothing about the
// program's own code.
namespace {
bool countingNews = false;
long newCalls = 0;

void* countedAllocation(std::size_t size) {
  if (countingNews) ++newCalls;
  return std::malloc(size == 0 ? 1 : size);
}

// Kept out of line: inlined into a caller, free would meet the pointer
// from operator new there, and the compiler would take it for a mismatch.
[[gnu::noinline]] void release(void* p) noexcept { std::free(p); }
}  // namespace

void* operator new(std::size_t size) {
  void* p = countedAllocation(size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return countedAllocation(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return countedAllocation(size);
}
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }

namespace {
constexpr int kTestWidth = 640;
constexpr int kTestHeight = 480;
constexpr int kBackgroundChannel = 11;

class RunFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    restoreProgramState();
    resizeTestWindow(kTestWidth, kTestHeight);
    loadTestResources();
  }
  void TearDown() override {
    clearToBlack();  // full viewport again; a frame leaves the bolts' depth test on
    glDisable(GL_DEPTH_TEST);
    restoreProgramState();
  }
};

// One frame at the given clock reading, as the display callback runs it.
void frameAt(uint64_t ms) {
  setClockMs(ms);
  runFrame();
}

// The clock reading of the frame before the next one.
void previousFrameAt(uint64_t ms) { lastClockMs = ms; }

// An exit test's child is judged by its exit status alone. It leaves through
// exit, where the GL dispatch unloads the driver before the exit-time leak
// check, so the driver's buffers would turn the status into a leak report.
// Leaks are still looked for in the parent run.
void judgeChildByExitStatusOnly() {
  const char* current = std::getenv("ASAN_OPTIONS");
  const std::string options = std::string(current != nullptr ? current : "") + ":detect_leaks=0";
  setenv("ASAN_OPTIONS", options.c_str(), 1);
}

double rampAt(double s) { return (1.0 - std::cos(kPi * s * 0.5)) * 0.5; }

std::vector<int> actionsRun;
void firstAction() { actionsRun.push_back(1); }
void secondAction() { actionsRun.push_back(2); }
}  // namespace

TEST_F(RunFrameTest, BackgroundPulsesWithChannelElevenBeforeItAdvances) {
  oscillators.phase[kBackgroundChannel] = 0.3;
  // A fast channel: the value after this frame's advance would differ a lot.
  oscillators.rate[kBackgroundChannel] = 40.0;
  oscillators.targetRate[kBackgroundChannel] = 40.0;
  oscillators.running[kBackgroundChannel] = 1;
  const double expected = 0.1 * (0.5 + 0.5 * std::sin(3.0 * 0.3));
  settings.letterbox = 6;  // bars that only the clear colour fills
  previousFrameAt(11950);
  frameAt(12000);
  ASSERT_GT(std::fabs(oscillators.phase[kBackgroundChannel] - 0.3), 1.0);

  GLfloat clear[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_FLOAT_EQ(clear[0], 0.0f);
  EXPECT_FLOAT_EQ(clear[1], 0.0f);
  EXPECT_NEAR(clear[2], expected, 1e-6);
  EXPECT_FLOAT_EQ(clear[3], 1.0f);
  const Rgb bar = pixelAt(5, 5);
  EXPECT_EQ(bar.r, 0);
  EXPECT_EQ(bar.g, 0);
  EXPECT_NEAR(bar.b, expected * 255.0, 1.0);
}

TEST_F(RunFrameTest, TheFirstFrameAtANewSizeClearsEvenInHyperspace) {
  settings.blanking = 0;
  settings.polyMode = 1;  // thin lines: the cleared background shows around them
  settings.universe = 0;
  frameAt(12000);
  // What a new drawable may hold: white, and a depth nothing is drawn over.
  const auto fillWhite = [](GLbitfield buffers) {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClearDepth(0.0);
    glClear(buffers);
    glClearDepth(1.0);
  };
  const auto whiteShare = [] {
    const std::vector<uint8_t> rgb = readRegion(0, 600, 0, 440);
    size_t white = 0;
    for (size_t i = 0; i < rgb.size(); i += 3) white += rgb[i] == 255 && rgb[i + 2] == 255;
    return static_cast<double>(white) / (rgb.size() / 3);
  };
  resizeTestDrawable(600, 440);
  fillWhite(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  frameAt(12020);
  EXPECT_LT(whiteShare(), 0.2) << "the new buffers are cleared";
  fillWhite(GL_COLOR_BUFFER_BIT);
  frameAt(12040);
  EXPECT_GT(whiteShare(), 0.8) << "later frames draw over the last one again";
  resizeTestDrawable(kTestWidth, kTestHeight);  // the size the other tests draw at
}

TEST_F(RunFrameTest, SceneFadesInOverTheFirstTwoSeconds) {
  frameAt(1000);
  EXPECT_NEAR(fadeLevel, 0.5, 1e-6);
  frameAt(1500);
  EXPECT_NEAR(fadeLevel, rampAt(1.5), 1e-6);
  frameAt(2500);  // late: the first frame past the ramp ends it at full brightness
  EXPECT_FLOAT_EQ(fadeLevel, 1.0f);
  fadeLevel = 0.7f;
  frameAt(2600);  // from then on the ramp leaves it alone
  EXPECT_FLOAT_EQ(fadeLevel, 0.7f);
}

TEST_F(RunFrameTest, QuitFadeOutFollowsTheFadeInRamp) {
  quitting = 1;
  previousFrameAt(1450);
  frameAt(1500);
  // The ramp sets the level first; the fade-out then takes half the step.
  EXPECT_NEAR(fadeLevel, rampAt(1.5) - 0.5 * 0.05, 1e-5);
  frameAt(1550);
  EXPECT_NEAR(fadeLevel, rampAt(1.55) - 0.5 * 0.05, 1e-5);
}

TEST_F(RunFrameTest, QuitDuringTheFirstMomentsEndsAtOnce) {
  quitting = 1;
  previousFrameAt(250);
  judgeChildByExitStatusOnly();
  EXPECT_EXIT(frameAt(300), ::testing::ExitedWithCode(0), "");
}

TEST_F(RunFrameTest, FadeOutTakesAboutOnePointEightSecondsThenExits) {
  onKey(kEscapeKey, 0, 0);
  previousFrameAt(5000);
  uint32_t ms = 5000;
  // 89 frames of 20 ms: 1.78 s of fading leaves about 0.11.
  for (int i = 0; i < 89; ++i) frameAt(ms += 20);
  EXPECT_NEAR(fadeLevel, 0.11f, 1e-4);
  judgeChildByExitStatusOnly();
  EXPECT_EXIT(
      {
        frameAt(ms + 20);
        frameAt(ms + 40);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(RunFrameTest, DarkSceneWithoutQuittingKeepsRunning) {
  fadeLevel = 0.05f;
  previousFrameAt(4980);
  frameAt(5000);
  EXPECT_FLOAT_EQ(fadeLevel, 0.05f);

  quitting = 1;
  fadeLevel = 0.2f;
  frameAt(5050);
  EXPECT_NEAR(fadeLevel, 0.175f, 1e-6);
}

TEST_F(RunFrameTest, ResetDuringTheFadeOutKeepsTheProgramRunning) {
  onKey(kEscapeKey, 0, 0);
  fadeLevel = 0.11f;
  onKey('r', 0, 0);
  previousFrameAt(5950);
  frameAt(6000);  // would have ended the process without the reset
  EXPECT_EQ(quitting, 0);
  EXPECT_FLOAT_EQ(fadeLevel, 1.0f);
}

TEST_F(RunFrameTest, SteadyFramesAllocateNothing) {
  // Everything switched on that a frame can do: manual camera, laser held,
  // a live target, help, frame-rate readout, a status message, the caption.
  settings.cameraMode = 1;
  settings.frameClock = 1;
  helpScreen = 1;
  fireHeld = 1;
  targets[0] = Target{0.0f, 0.5f, 10.0f, 1.0f, 1};
  uint64_t ms = 3000;
  setClockMs(ms);
  screenText.showMessage("Counting");
  // Warm-up: the first sound opens the audio device, and the renderer
  // compiles its programs the first time each kind of particle shows, which
  // for new-born fire, invisible at first, is a few frames in.
  for (int i = 0; i < 30; ++i) frameAt(ms += 16);

  newCalls = 0;
  countingNews = true;
  for (int i = 0; i < 50; ++i) frameAt(ms += 16);
  countingNews = false;
  EXPECT_EQ(newCalls, 0);
  // The frames did run: bolts flew and the clock moved.
  EXPECT_FLOAT_EQ(seconds, ms * 0.001f);
  EXPECT_GT(particleSystem.lastEmitTime[LaserBolt], 3.0f);
}

// What waits for the first frame (the sound, hiding the pointer) runs once,
// in the order given, after that frame's swap, and never with a later frame.
TEST_F(RunFrameTest, WorkLeftForAfterTheFirstFrameRunsOnceAfterItInOrder) {
  actionsRun.clear();
  startClockAt(0);  // the display callback reads the monotonic clock
  runAfterFirstFrame(firstAction);
  runAfterFirstFrame(secondAction);
  EXPECT_TRUE(actionsRun.empty());
  onDisplay();
  EXPECT_EQ(actionsRun, (std::vector<int>{1, 2}));
  onDisplay();
  EXPECT_EQ(actionsRun, (std::vector<int>{1, 2}));
}
