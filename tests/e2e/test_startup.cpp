// What a person sees when the program starts and when they press ESC: one
// full-screen window titled "Cryptwell", the hint "Press ? key for Help
// Screen" at the top left for three seconds, and at ESC a fade to black and
// the end of the process with status 0 and nothing printed.
#include <X11/keysym.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "e2e/program_test.h"

namespace {
constexpr int kSlowStartMs = 3000;  // the hint's three seconds, replayed slowly
constexpr int kSlowStepMs = 10;
constexpr int kLaterMs = 2000;  // and two seconds without it
constexpr int kLaterStepMs = 16;
constexpr double kReplayEndSeconds = 180.0;
constexpr double kSecondLookDelay = 0.6;
constexpr int kMinMessageWhite = 40;  // the hint measures about 80 white pixels
constexpr double kFadeLookSeconds = 0.9;
constexpr double kStillBrightening = 1.05;  // a picture this much brighter than the last
constexpr int kMaxLooks = 30;  // the fly-through itself may brighten the picture for a while
constexpr double kExitLimitSeconds = 30.0;  // the fade takes 36 frames or more
// At two frames a second the fade's 1.8 s of the world's time take at most
// two more frames and the exit; counted as stalls, its frames took 18 s.
constexpr double kCappedExitSeconds = 8.0;

// Pixels white in both pictures: the still text, not the moving scene.
int whiteInBoth(const ScreenImage& a, const ScreenImage& b, const Box& box) {
  int n = 0;
  for (int y = box.y; y < box.y + box.height; ++y) {
    for (int x = box.x; x < box.x + box.width; ++x)
      n += isWhite(a.at(x, y)) && isWhite(b.at(x, y)) ? 1 : 0;
  }
  return n;
}
}  // namespace

class Startup : public ProgramTest {};

// The hint is judged on a replayed start, whose clock is slow enough for a
// loaded machine: 10 ms a frame for its first three seconds, however long
// each frame takes to draw, and never ahead of the real time. Since a replay
// ends by itself, ESC is tried on a live start below.
std::string writeSlowStart(const std::string& path) {
  std::ofstream log(path);
  log << "cryptwell-replay 1\nprogram test\nstart 0\nwindow " << layout::kWidth << " "
      << layout::kHeight << "\n";
  for (int ms = 0; ms < kSlowStartMs; ms += kSlowStepMs) log << "f " << kSlowStepMs << "\n";
  for (int ms = 0; ms < kLaterMs; ms += kLaterStepMs) log << "f " << kLaterStepMs << "\n";
  log << "end -\n";
  return path;
}

TEST_F(Startup, FullScreenWindowTitledCryptwellShowsTheHintForThreeSeconds) {
  const std::string log = writeSlowStart(::testing::TempDir() + "cryptwell-start-" +
                                         std::to_string(getpid()) + ".log");
  ASSERT_NO_FATAL_FAILURE(startProgram(programFolder(), {"--replay=" + log}));
  EXPECT_EQ(x_->windowTitle(window_), "Cryptwell");
  const WindowGeometry g = windowGeometry();
  EXPECT_EQ(g.x, 0);
  EXPECT_EQ(g.y, 0);
  EXPECT_EQ(g.width, kScreenWidth);
  EXPECT_EQ(g.height, kScreenHeight);

  // Two pictures in a row with the hint in the same place: a frame drawn
  // while the window grew to full screen can put other text in its box.
  ScreenImage previous;
  bool looked = false;
  const ScreenImage first = captureWhen("hint", [&](const ScreenImage& p) {
    const bool same =
        looked && whiteInBoth(previous, p, layout::kFirstMessage) >= kMinMessageWhite;
    previous = p;
    looked = true;
    return same;
  });
  pause(kSecondLookDelay);
  const ScreenImage second = capture("hint-later");
  EXPECT_GE(first.whitePixels(layout::kFirstMessage), kMinMessageWhite);
  const int still = whiteInBoth(first, second, layout::kFirstMessage);
  EXPECT_GE(still, kMinMessageWhite) << "the hint stays in place";
  // Nothing of it outside its line.
  EXPECT_EQ(second.whitePixels({layout::kFirstMessage.x + layout::kFirstMessage.width, 0, 250,
                                layout::kMessageRows}),
            0);

  const ScreenImage later = captureWhen(
      "hint-gone",
      [&](const ScreenImage& p) { return whiteInBoth(second, p, layout::kFirstMessage) <= still / 5; },
      kReplayEndSeconds);
  EXPECT_LE(whiteInBoth(second, later, layout::kFirstMessage), still / 5)
      << "the hint is gone after 3 s";

  const ChildEnd& end = run_->waitForExit(kReplayEndSeconds);
  EXPECT_TRUE(end.exited && end.status == 0) << describe(end);
  EXPECT_EQ(run_->standardOutput(), "replay: " + std::to_string(kSlowStartMs / kSlowStepMs +
                                                                kLaterMs / kLaterStepMs) +
                                        " frames, matches\n");
  EXPECT_EQ(run_->standardError(), "");
  unlink(log.c_str());
}

TEST_F(Startup, EscapeFadesThePictureOutAndEndsWithStatusZero) {
  ASSERT_NO_FATAL_FAILURE(startProgram());
  waitUntil(kFadeInSeconds);
  // The fade-in is over once the picture no longer brightens; a slow start
  // on a loaded machine ends it later than the test's own clock says.
  long long lit = capture("before-escape").lightSum(layout::kLowerScene);
  for (long long before = 0, looks = 0; lit > before * kStillBrightening && looks < kMaxLooks;
       ++looks) {
    pause(kFadeLookSeconds);
    before = lit;
    lit = capture("before-escape").lightSum(layout::kLowerScene);
  }
  tapKey(XK_Escape);
  pause(kFadeLookSeconds);
  ASSERT_NO_FATAL_FAILURE(expectRunning()) << "the program waits for its fade-out before it ends";
  const long long fading =
      captureWhen("fading", [&](const ScreenImage& p) {
        return p.lightSum(layout::kLowerScene) < lit * 3 / 4;
      }).lightSum(layout::kLowerScene);
  EXPECT_LT(fading, lit * 3 / 4) << "the picture darkens after ESC";
  const ChildEnd& end = run_->waitForExit(kExitLimitSeconds - kFadeLookSeconds);
  ASSERT_TRUE(end.ended) << "still running " << kExitLimitSeconds << " s after ESC";
  EXPECT_TRUE(end.exited) << describe(end);
  EXPECT_EQ(end.status, 0);
  expectQuietConsole();
}

TEST_F(Startup, AtTwoFramesASecondTheWorldKeepsItsPace) {
  ASSERT_NO_FATAL_FAILURE(startProgram(programFolder(), {"--fps=2", "--no-sound"}));
  waitUntil(kFadeInSeconds);
  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kCappedExitSeconds));
  expectQuietConsole();
}
