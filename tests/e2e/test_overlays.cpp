// The text drawn over the scene, watched on the black bars of the letterbox
// where nothing else is drawn: the title caption fading out over ten
// seconds, the frame-rate line on C, the help page on ? and off on /; and
// the bars themselves, which L builds up to 30 % and takes down again.
#include <X11/keysym.h>

#include "e2e/program_test.h"

namespace {
constexpr double kCaptionBrightLook = 1.5;  // caption alpha about 0.6
constexpr double kCaptionDimLook = 5.0;     // caption alpha about 0.3
constexpr double kCaptionGoneLook = 10.5;   // the caption is drawn for the first 10 s only
constexpr double kMaxBarLitShare = 0.005;   // a stray wide point may reach into a bar
constexpr int kMinCaptionPixels = 1000;
constexpr int kMinTextPixels = 100;
constexpr int kStrayPixels = 10;
constexpr int kGlyphFoot = 8;
// Baseline offsets of help lines from the heading: 1 to 6, then 22 to 26.
constexpr int kHelpTopLines[] = {23, 40, 57, 74, 91, 108};
constexpr int kHelpBottomLines[] = {385, 402, 419, 436, 453};
}  // namespace

class Overlays : public ProgramTest {};

TEST_F(Overlays, CaptionFadesHelpAndFrameRateShowOverLetterboxBars) {
  ASSERT_NO_FATAL_FAILURE(startProgram());
  typeText("llllll");  // letterbox 1, 2, ... 6

  waitUntil(kCaptionBrightLook);
  const ScreenImage bright = capture("caption-bright");
  waitUntil(kCaptionDimLook);
  const ScreenImage dim = capture("caption-dim");
  EXPECT_LT(dim.litFraction(layout::kTopBarRight), kMaxBarLitShare) << "black bar at the top";
  EXPECT_LT(dim.litFraction(layout::kBottomBar), kMaxBarLitShare) << "black bar at the bottom";
  EXPECT_GT(dim.litFraction(layout::kLetterboxPicture), 0.8) << "the scene between the bars";
  EXPECT_GE(bright.litPixels(layout::kCaptionArea), kMinCaptionPixels)
      << "the caption shows at first";
  EXPECT_GT(dim.lightSum(layout::kCaptionArea), 0) << "the caption is still there at 5 s";
  EXPECT_GT(bright.lightSum(layout::kCaptionArea), dim.lightSum(layout::kCaptionArea) * 3 / 2)
      << "the caption fades";

  typeText("c");
  EXPECT_GE(captureWhen("frame-rate-on",
                        [](const ScreenImage& p) {
                          return p.litPixels(layout::kFrameRateLine) >= kMinTextPixels;
                        })
                .litPixels(layout::kFrameRateLine),
            kMinTextPixels);

  // Gone once the program's clock passes 10 s, which a slow start puts later.
  waitUntil(kCaptionGoneLook);
  const ScreenImage gone = captureWhen("caption-gone", [](const ScreenImage& p) {
    return p.litPixels(layout::kCaptionArea) <= kStrayPixels;
  });
  EXPECT_LE(gone.litPixels(layout::kCaptionArea), kStrayPixels) << "no caption after 10 s";
  EXPECT_GE(gone.litPixels(layout::kFrameRateLine), kMinTextPixels) << "the frame-rate line stays";
  typeText("c");
  EXPECT_LE(captureWhen("frame-rate-off",
                        [](const ScreenImage& p) {
                          return p.litPixels(layout::kFrameRateLine) <= kStrayPixels;
                        })
                .litPixels(layout::kFrameRateLine),
            kStrayPixels);

  typeText("?");
  const ScreenImage help = captureWhen("help", [](const ScreenImage& p) {
    return p.litPixels(layout::kHelpHeading) >= kMinTextPixels;
  });
  EXPECT_GE(help.litPixels(layout::kHelpHeading), kMinTextPixels) << "heading";
  for (const int offset : kHelpTopLines) {
    EXPECT_GE(help.litPixels(layout::helpLine(offset)), kMinTextPixels)
        << "help line at +" << offset;
  }
  for (const int offset : kHelpBottomLines) {
    EXPECT_GE(help.litPixels(layout::helpLine(offset)), kMinTextPixels)
        << "help line at +" << offset;
  }
  int first = 0, last = 0;
  ASSERT_TRUE(help.litRowRange(layout::kBottomBar, &first, &last));
  // Glyphs stand a few pixels above the bottom of their boxes.
  EXPECT_LE(last, layout::kHelpLastBaseline) << "nothing below the last line";
  EXPECT_GE(last, layout::kHelpLastBaseline - kGlyphFoot) << "the page ends with its last line";
  EXPECT_LE(
      help.litPixels({layout::kHelpRightEdge, layout::kBottomBar.y, kScreenWidth, layout::kBar}),
      kStrayPixels)
      << "nothing right of the page";

  typeText("/");
  // The message line may still show the last status message.
  const Box belowMessage{0, layout::kMessageRows, kScreenWidth,
                         layout::kBar - layout::kMessageRows - 4};
  const ScreenImage closed = captureWhen("help-closed", [&](const ScreenImage& p) {
    return p.litPixels(belowMessage) <= kStrayPixels;
  });
  EXPECT_LE(closed.litPixels(belowMessage), kStrayPixels) << "/ closes the page";
  EXPECT_LE(closed.litPixels(layout::kBottomBar), kStrayPixels);

  typeText("llllll");  // back down: 5, 4, ... 0
  const ScreenImage open = captureWhen("no-letterbox", [](const ScreenImage& p) {
    return p.litFraction(layout::kBottomBar) > 0.8;
  });
  EXPECT_GT(open.litFraction(layout::kBottomBar), 0.8) << "the scene fills the window again";
  EXPECT_GT(open.litFraction(layout::kTopBarRight), 0.8);

  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kConditionSeconds));
  expectQuietConsole();
}
