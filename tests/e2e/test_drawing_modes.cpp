// Key W switches the scene from filled polygons to lines and then to
// points, each drawing far fewer pixels; the space bar stops clearing the
// screen (hyperspace), so the moving points smear into trails until it is
// pressed again.
#include "e2e/program_test.h"

namespace {
constexpr double kFrameTime = 0.4;
constexpr double kSmearSeconds = 1.0;
}  // namespace

class DrawingModes : public ProgramTest {};

TEST_F(DrawingModes, LinesThenPointsDrawFarFewerPixelsAndHyperspaceSmears) {
  ASSERT_NO_FATAL_FAILURE(startProgram());
  waitUntil(kFadeInSeconds);
  const Box scene = layout::kLowerScene;
  const double filled = capture("filled").litFraction(scene);
  typeText("w");
  pause(kFrameTime);
  const double lines = capture("lines").litFraction(scene);
  typeText("w");
  pause(kFrameTime);
  const double points = capture("points").litFraction(scene);
  EXPECT_GT(filled, 0.8);
  EXPECT_LT(lines, filled / 10);
  EXPECT_GT(lines, 0.0);
  EXPECT_LT(points, filled / 10);
  EXPECT_GT(points, 0.0);
  EXPECT_LT(points, lines) << "points light only the corners that lines join";

  typeText(" ");
  pause(kSmearSeconds);
  const double smeared = capture("hyperspace").litFraction(scene);
  EXPECT_GT(smeared, 3 * points) << "without clearing, the moving points leave trails";
  typeText(" ");
  pause(kFrameTime);
  const double cleared = capture("cleared-again").litFraction(scene);
  EXPECT_LT(cleared, smeared / 3) << "clearing again wipes the trails";

  typeText("w");  // back to filled polygons
  pause(kFrameTime);
  EXPECT_GT(capture("filled-again").litFraction(scene), 0.8);

  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kConditionSeconds));
  expectQuietConsole();
}
