// Key F: from the full screen to a 512 x 512 window and back, with the
// picture and the screen-relative text following the window's size; and
// --window, which starts in a window that F toggles with the full screen.
#include <X11/keysym.h>

#include "e2e/program_test.h"

namespace {
constexpr int kWindowedSize = 512;
constexpr double kResizeSeconds = 5.0;
constexpr int kFrameRateOffset = 120;  // the frame-rate line starts this far left of the right edge
constexpr int kMinTextWhite = 30;
}  // namespace

class WindowMode : public ProgramTest {
 protected:
  // Waits for the window manager-less resize to land; false on time-out.
  bool waitForSize(int width, int height) {
    return ProgramTest::waitForSize(width, height, kResizeSeconds);
  }
};

TEST_F(WindowMode, FSwitchesToA512WindowAndBackToFullScreen) {
  ASSERT_NO_FATAL_FAILURE(startProgram());
  waitUntil(kFadeInSeconds);
  typeText("f");
  ASSERT_TRUE(waitForSize(kWindowedSize, kWindowedSize))
      << "window is " << windowGeometry().width << "x" << windowGeometry().height;
  // Frames at the new size.
  captureWhen("windowed-window", [](const ScreenImage& p) {
    return p.litFraction({0, layout::kMessageRows, kWindowedSize,
                          kWindowedSize - layout::kMessageRows}) > 0.5;
  });
  const WindowGeometry small = windowGeometry();
  EXPECT_EQ(small.x, 0);
  EXPECT_EQ(small.y, 0);
  const ScreenImage windowed = captureScreen("windowed");
  EXPECT_GT(windowed.litFraction(
                {0, layout::kMessageRows, kWindowedSize, kWindowedSize - layout::kMessageRows}),
            0.5)
      << "the scene fills the small window";
  EXPECT_LT(
      windowed.litFraction({kWindowedSize + 2, 0, kScreenWidth - kWindowedSize - 2, kScreenHeight}),
      0.01)
      << "nothing is drawn beside the window";
  EXPECT_LT(
      windowed.litFraction({0, kWindowedSize + 2, kScreenWidth, kScreenHeight - kWindowedSize - 2}),
      0.01)
      << "nothing is drawn below the window";

  // The frame-rate line is laid out from the new width.
  const Box rateLine{kWindowedSize - kFrameRateOffset, layout::kFrameRateLine.y, kFrameRateOffset,
                     layout::kFrameRateLine.height};
  const int whiteBefore = capture("windowed-no-rate").whitePixels(rateLine);
  typeText("c");
  EXPECT_GE(captureWhen("windowed-rate",
                        [&](const ScreenImage& p) {
                          return p.whitePixels(rateLine) >= whiteBefore + kMinTextWhite;
                        })
                .whitePixels(rateLine),
            whiteBefore + kMinTextWhite);

  typeText("f");
  ASSERT_TRUE(waitForSize(kScreenWidth, kScreenHeight))
      << "window is " << windowGeometry().width << "x" << windowGeometry().height;
  captureWhen("full-again-window", [](const ScreenImage& p) {
    return p.whitePixels(layout::kFrameRateLine) >= kMinTextWhite &&
           p.litFraction({0, layout::kMessageRows, kScreenWidth,
                          kScreenHeight - layout::kMessageRows}) > 0.9;
  });
  const WindowGeometry full = windowGeometry();
  EXPECT_EQ(full.x, 0);
  EXPECT_EQ(full.y, 0);
  const ScreenImage back = captureScreen("full-again");
  EXPECT_GT(back.litFraction(
                {0, layout::kMessageRows, kScreenWidth, kScreenHeight - layout::kMessageRows}),
            0.9)
      << "the scene fills the screen again";
  EXPECT_GE(back.whitePixels(layout::kFrameRateLine), kMinTextWhite)
      << "the frame-rate line moved to the right edge of the full screen";

  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kConditionSeconds));
  expectQuietConsole();
}

TEST_F(WindowMode, WindowOptionStartsInAWindowOfItsSizeThatFTogglesWithFullScreen) {
  constexpr int kWidth = 640;
  constexpr int kHeight = 400;
  expectedWidth_ = kWidth;
  expectedHeight_ = kHeight;
  ASSERT_NO_FATAL_FAILURE(startProgram(programFolder(), {"--window=640x400", "--no-sound"}));
  waitUntil(kFadeInSeconds);
  captureWhen("option-window-window", [](const ScreenImage& p) {
    return p.litFraction({0, layout::kMessageRows, kWidth, kHeight - layout::kMessageRows}) > 0.5;
  });
  const ScreenImage windowed = captureScreen("option-window");
  EXPECT_GT(windowed.litFraction({0, layout::kMessageRows, kWidth, kHeight - layout::kMessageRows}),
            0.5)
      << "the scene fills the window";
  EXPECT_LT(windowed.litFraction({kWidth + 2, 0, kScreenWidth - kWidth - 2, kScreenHeight}), 0.01)
      << "nothing is drawn beside the window";
  for (const auto& [width, height] : {std::pair{kScreenWidth, kScreenHeight}, {kWidth, kHeight}}) {
    typeText("f");
    ASSERT_TRUE(waitForSize(width, height))
        << "window is " << windowGeometry().width << "x" << windowGeometry().height;
  }
  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kConditionSeconds));
  expectQuietConsole();
}
