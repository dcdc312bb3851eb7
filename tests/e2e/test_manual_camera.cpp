// Key V hands the camera to the person: the arrow keys walk, the mouse turns
// the view, the held left button fires violet laser bolts, and the health
// and target lines show near the bottom. Key R gives the camera back to the
// automatic fly-through, along with every other setting's start value.
// Motion is judged in line drawing (key W), where the scene's drifting
// textures and swinging light change nothing and only the edges of the
// rooms move when the view does.
#include <X11/keysym.h>

#include <algorithm>
#include <string>

#include "e2e/program_test.h"

namespace {
constexpr double kFrameTime = 0.4;
constexpr double kHoldSeconds = 1.0;
constexpr double kStillLook = 0.5;
constexpr int kTurnPixels = 100;  // pointer push to the right of the centre
constexpr int kPushEvents = 4;
constexpr double kPushInterval = 0.05;
constexpr int kEdgeRadius = 1;  // a lit pixel still within this of one before has not moved
constexpr double kMinMoved = 0.3;
constexpr double kMinMoreThanStill = 0.25;
constexpr int kMinEdgePixels = 200;
constexpr int kMinRestingEdgePixels = 50;  // wherever a push has turned the view
constexpr int kMinStatusWhite = 30;  // each status line measures about 60 white pixels
constexpr int kStrayWhite = 5;
constexpr int kMinBoltPixels = 15;
constexpr unsigned kLeftButton = 1;
constexpr Box kResetMessage = layout::messageBox(5);
constexpr int kMinResetWhite = 12;  // "Reset" measures about 23 white pixels

int whiteStatus(const ScreenImage& picture) {
  return std::min(picture.whitePixels(layout::kHealthLine),
                  picture.whitePixels(layout::kTargetsLine));
}
}  // namespace

class ManualCamera : public ProgramTest {
 protected:
  // Share of the line drawing that moved between two looks half a second apart,
  // with nothing pressed in between.
  double stillMotion(const std::string& label) {
    const ScreenImage a = capture(label);
    pause(kStillLook);
    return capture(label + "-later").movedLitFraction(a, layout::kLetterboxPicture, kEdgeRadius);
  }
};

TEST_F(ManualCamera, ArrowsWalkMouseTurnsButtonFiresAndStatusShows) {
  ASSERT_NO_FATAL_FAILURE(startProgram());
  waitUntil(kFadeInSeconds);
  typeText("llllll");  // black bars at the bottom, behind the status lines
  typeText("u");       // no stars turning in the line drawing
  pause(kFrameTime);
  const ScreenImage automatic = capture("automatic");
  EXPECT_LE(std::max(automatic.whitePixels(layout::kHealthLine),
                     automatic.whitePixels(layout::kTargetsLine)),
            kStrayWhite)
      << "no status lines under the automatic camera";

  typeText("v");
  const ScreenImage manual = captureWhen(
      "manual", [](const ScreenImage& p) { return whiteStatus(p) >= kMinStatusWhite; });
  EXPECT_GE(manual.whitePixels(layout::messageBox(40)), kMinStatusWhite) << "Camera 2 message";
  EXPECT_GE(whiteStatus(manual), kMinStatusWhite) << "health and target lines";

  typeText("w");
  pause(kFrameTime);
  const double still = stillMotion("still");
  const ScreenImage beforeWalk = capture("before-walk");
  ASSERT_GE(beforeWalk.litPixels(layout::kLetterboxPicture), kMinEdgePixels)
      << "room edges in view";
  // Held until the view has moved: how far a second of holding walks depends
  // on how many frames a loaded machine draws in it.
  const double enough = std::max(kMinMoved, still + kMinMoreThanStill);
  const auto moved = [&](const ScreenImage& before) {
    return [&](const ScreenImage& p) {
      return p.movedLitFraction(before, layout::kLetterboxPicture, kEdgeRadius) > enough;
    };
  };
  pressKey(XK_Up);
  pause(kHoldSeconds);
  captureWhen("walking", moved(beforeWalk));
  releaseKey(XK_Up);
  pause(kFrameTime);
  const ScreenImage afterWalk = capture("after-walk");
  const double walked =
      afterWalk.movedLitFraction(beforeWalk, layout::kLetterboxPicture, kEdgeRadius);
  EXPECT_GT(walked, std::max(kMinMoved, still + kMinMoreThanStill)) << "still: " << still;

  const ScreenImage beforeTurn = capture("before-turn");
  // A push of the mouse is a few motion events. The program re-centres the
  // pointer every frame, and a push that lands just before a re-centring is
  // undone before any frame sees it, so one event alone may turn nothing.
  for (int i = 0; i < kPushEvents; ++i) {
    movePointer(layout::kPointerCentreX + kTurnPixels, layout::kPointerCentreY);
    pause(kPushInterval);
  }
  const ScreenImage afterTurn = captureWhen("after-turn", moved(beforeTurn));
  const double turned =
      afterTurn.movedLitFraction(beforeTurn, layout::kLetterboxPicture, kEdgeRadius);
  EXPECT_GT(turned, enough) << "still: " << still;
  EXPECT_TRUE(viewComesToRest(layout::kLetterboxPicture, kMinRestingEdgePixels))
      << "the view stops turning once the pointer is re-centred";

  typeText("ww");  // points, then filled polygons again for the bolts
  pause(kFrameTime);
  const int boltsBefore = capture("no-fire").count(layout::kBoltArea, isViolet);
  pressButton(kLeftButton);
  const int boltsMost =
      captureWhen("fire", [&](const ScreenImage& p) {
        return p.count(layout::kBoltArea, isViolet) >= boltsBefore + kMinBoltPixels;
      }).count(layout::kBoltArea, isViolet);
  releaseButton(kLeftButton);
  EXPECT_GE(boltsMost, boltsBefore + kMinBoltPixels) << "violet bolts while the button is held";

  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kConditionSeconds));
  expectQuietConsole();
}

TEST_F(ManualCamera, ResetShowsResetAndGivesTheCameraBackToTheFlyThrough) {
  ASSERT_NO_FATAL_FAILURE(startProgram());
  waitUntil(kFadeInSeconds);
  typeText("llllll");
  typeText("uvw");  // no stars, manual camera, lines
  EXPECT_TRUE(viewComesToRest(layout::kLetterboxPicture, kMinRestingEdgePixels))
      << "the manual camera stays put";
  const double still = stillMotion("manual");
  EXPECT_GE(whiteStatus(capture("manual-status")), kMinStatusWhite);

  typeText("r");
  const ScreenImage reset = captureWhen("reset", [](const ScreenImage& p) {
    return p.whitePixels(kResetMessage) >= kMinResetWhite &&
           p.litFraction(layout::kLowerScene) > 0.8;
  });
  EXPECT_GE(reset.whitePixels(kResetMessage), kMinResetWhite) << "the Reset message";
  EXPECT_LE(
      reset.whitePixels({kResetMessage.x + kResetMessage.width + 3, 0, 300, layout::kMessageRows}),
      kStrayWhite)
      << "only the short message, nothing left of the longer ones";
  EXPECT_GT(reset.litFraction(layout::kLowerScene), 0.8)
      << "filled polygons and no letterbox again";

  // The letterbox starts again from 0: six presses give the full bars, whose
  // black shows that the status lines are gone with the manual camera.
  typeText("llllll");
  typeText("uw");  // lines again, to see the camera move by itself
  pause(kFrameTime);
  const ScreenImage a = capture("automatic-lines");
  EXPECT_LE(a.litPixels(layout::kBottomBar), kStrayWhite)
      << "full bars, and no status lines under the automatic camera";
  ASSERT_GE(a.litPixels(layout::kLetterboxPicture), kMinEdgePixels) << "room edges in view";
  pause(kStillLook);
  const double flown =
      capture("automatic-lines-later").movedLitFraction(a, layout::kLetterboxPicture, kEdgeRadius);
  EXPECT_GT(flown, std::max(kMinMoved, still + kMinMoreThanStill))
      << "the fly-through moves the view";

  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kConditionSeconds));
  expectQuietConsole();
}
