// What a person sees when the program starts and when they press ESC: one
// full-screen window titled "Cryptwell", the hint "Press ? key for Help
// Screen" at the top left for three seconds, and at ESC a fade to black and
// the end of the process with status 0 and nothing printed.
#include <X11/keysym.h>

#include "e2e/program_test.h"

namespace {
constexpr double kMessageSeconds = 3.0;
constexpr double kLatestFirstLook = 2.0;  // leaves time for a second look before 3 s
constexpr double kSecondLookDelay = 0.6;
constexpr double kGoneCheckSeconds = 4.5;
constexpr int kMinMessageWhite = 40;  // the hint measures about 80 white pixels
constexpr double kFadeLookSeconds = 0.9;
constexpr double kExitLimitSeconds = 5.0;

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

TEST_F(Startup, FullScreenWindowTitledCryptwellShowsTheHintForThreeSeconds) {
  ASSERT_NO_FATAL_FAILURE(startProgram());
  EXPECT_EQ(x_->windowTitle(window_), "Cryptwell");
  const WindowGeometry g = windowGeometry();
  EXPECT_EQ(g.x, 0);
  EXPECT_EQ(g.y, 0);
  EXPECT_EQ(g.width, kScreenWidth);
  EXPECT_EQ(g.height, kScreenHeight);

  const ScreenImage first = capture("hint");
  ASSERT_LT(secondsSinceStart(), kLatestFirstLook)
      << "the first picture came too late to see the hint twice";
  waitUntil(secondsSinceStart() + kSecondLookDelay);
  const ScreenImage second = capture("hint-later");
  ASSERT_LT(secondsSinceStart(), kMessageSeconds);
  EXPECT_GE(first.whitePixels(layout::kFirstMessage), kMinMessageWhite);
  const int still = whiteInBoth(first, second, layout::kFirstMessage);
  EXPECT_GE(still, kMinMessageWhite) << "the hint stays in place";
  // Nothing of it outside its line.
  EXPECT_EQ(second.whitePixels({layout::kFirstMessage.x + layout::kFirstMessage.width, 0, 250,
                                layout::kMessageRows}),
            0);

  waitUntil(kGoneCheckSeconds);
  const ScreenImage later = capture("hint-gone");
  EXPECT_LE(whiteInBoth(second, later, layout::kFirstMessage), still / 5)
      << "the hint is gone after 3 s";

  ASSERT_NO_FATAL_FAILURE(expectRunning());
  expectQuietConsole();
  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kExitLimitSeconds));
  expectQuietConsole();
}

TEST_F(Startup, EscapeFadesThePictureOutAndEndsWithStatusZero) {
  ASSERT_NO_FATAL_FAILURE(startProgram());
  waitUntil(kFadeInSeconds);
  const long long lit = capture("before-escape").lightSum(layout::kLowerScene);
  tapKey(XK_Escape);
  pause(kFadeLookSeconds);
  ASSERT_NO_FATAL_FAILURE(expectRunning()) << "the program waits for its fade-out before it ends";
  const long long fading = capture("fading").lightSum(layout::kLowerScene);
  EXPECT_LT(fading, lit * 3 / 4) << "the picture darkens after ESC";
  const ChildEnd& end = run_->waitForExit(kExitLimitSeconds - kFadeLookSeconds);
  ASSERT_TRUE(end.ended) << "still running " << kExitLimitSeconds << " s after ESC";
  EXPECT_TRUE(end.exited) << describe(end);
  EXPECT_EQ(end.status, 0);
  expectQuietConsole();
}
