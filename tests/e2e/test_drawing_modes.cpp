// Key W switches the scene from filled polygons to lines and then to
// points, each drawing far fewer pixels; the space bar stops clearing the
// screen (hyperspace), so the moving points smear into trails until it is
// pressed again.
#include <functional>
#include <string>

#include "e2e/program_test.h"

namespace {
constexpr double kSmearSeconds = 1.0;
}  // namespace

class DrawingModes : public ProgramTest {};

TEST_F(DrawingModes, LinesThenPointsDrawFarFewerPixelsAndHyperspaceSmears) {
  ASSERT_NO_FATAL_FAILURE(startProgram());
  waitUntil(kFadeInSeconds);
  const Box scene = layout::kLowerScene;
  // Each look waits until the key's effect shows, or gives up after a
  // generous time and lets the check below say what it saw.
  const auto lit = [&](const std::string& label, const std::function<bool(double)>& wanted) {
    return captureWhen(label, [&](const ScreenImage& p) { return wanted(p.litFraction(scene)); })
        .litFraction(scene);
  };
  const double filled = lit("filled", [](double f) { return f > 0.8; });
  typeText("w");
  const double lines = lit("lines", [&](double f) { return f < filled / 10; });
  typeText("w");
  const double points = lit("points", [&](double f) { return f < lines; });
  EXPECT_GT(filled, 0.8);
  EXPECT_LT(lines, filled / 10);
  EXPECT_GT(lines, 0.0);
  EXPECT_LT(points, filled / 10);
  EXPECT_GT(points, 0.0);
  EXPECT_LT(points, lines) << "points light only the corners that lines join";

  typeText(" ");
  pause(kSmearSeconds);
  const double smeared = lit("hyperspace", [&](double f) { return f > 3 * points; });
  EXPECT_GT(smeared, 3 * points) << "without clearing, the moving points leave trails";
  typeText(" ");
  const double cleared = lit("cleared-again", [&](double f) { return f < smeared / 3; });
  EXPECT_LT(cleared, smeared / 3) << "clearing again wipes the trails";

  typeText("w");  // back to filled polygons
  EXPECT_GT(lit("filled-again", [](double f) { return f > 0.8; }), 0.8);

  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kConditionSeconds));
  expectQuietConsole();
}
