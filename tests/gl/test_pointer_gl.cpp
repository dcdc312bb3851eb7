// Arrow keys, mouse buttons and pointer motion: the state the callbacks
// record, and the re-centring of the pointer by the manual camera's game
// step, whose warp comes back from the real window system as a motion event.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "core/frame_clock.h"
#include "core/input_state.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "game/combat.h"
#include "gl/gl_support.h"
#include "input/keyboard.h"
#include "input/pointer.h"
#include "support/state.h"

namespace {
constexpr int kTestWidth = 640;
constexpr int kTestHeight = 480;

class PointerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreProgramState();
    resizeTestWindow(kTestWidth, kTestHeight);  // (450, 350) lies inside
  }
  void TearDown() override {
    glDisable(GL_DEPTH_TEST);  // left on by the game step's bolt drawing
    glutPassiveMotionFunc(nullptr);
    resizeTestWindow(kTestWidth, kTestHeight);
    restoreProgramState();
  }
};

// Other GL test processes may share the display, their windows at its top
// left corner; pointer events go to the topmost window under the pointer,
// so this window goes to the bottom right corner, on top, and the pointer
// stays right of x 256 inside it, clear of the others.
void placeWindowOnTop(int width, int height) {
  resizeTestWindow(width, height);
  const int left = glutGet(GLUT_SCREEN_WIDTH) - width;
  const int top = glutGet(GLUT_SCREEN_HEIGHT) - height;
  glutPositionWindow(left, top);
  glutPopWindow();
  pumpEventsUntil([&] { return glutGet(GLUT_WINDOW_X) == left && glutGet(GLUT_WINDOW_Y) == top; });
}
}  // namespace

TEST_F(PointerTest, ArrowBitsAreHeldIndependently) {
  onSpecialKeyDown(GLUT_KEY_LEFT, 0, 0);
  onSpecialKeyDown(GLUT_KEY_UP, 0, 0);
  EXPECT_EQ(arrowKeys, 5);
  onSpecialKeyUp(GLUT_KEY_LEFT, 0, 0);
  EXPECT_EQ(arrowKeys, 4);

  onSpecialKeyDown(GLUT_KEY_RIGHT, 0, 0);
  onSpecialKeyDown(GLUT_KEY_DOWN, 0, 0);
  onSpecialKeyDown(GLUT_KEY_DOWN, 0, 0);  // auto-repeat sets the bit again
  EXPECT_EQ(arrowKeys, 4 | 2 | 8);
  onSpecialKeyUp(GLUT_KEY_UP, 0, 0);
  EXPECT_EQ(arrowKeys, 2 | 8);
  onSpecialKeyUp(GLUT_KEY_RIGHT, 0, 0);
  onSpecialKeyUp(GLUT_KEY_DOWN, 0, 0);
  EXPECT_EQ(arrowKeys, 0);
}

TEST_F(PointerTest, ReleasingAnArrowThatIsNotHeldChangesNothing) {
  onSpecialKeyDown(GLUT_KEY_RIGHT, 0, 0);
  onSpecialKeyUp(GLUT_KEY_LEFT, 0, 0);
  onSpecialKeyUp(GLUT_KEY_UP, 0, 0);
  onSpecialKeyUp(GLUT_KEY_DOWN, 0, 0);
  EXPECT_EQ(arrowKeys, 2);
}

TEST_F(PointerTest, OtherSpecialKeysAreIgnored) {
  onSpecialKeyDown(GLUT_KEY_UP, 0, 0);
  const int others[] = {GLUT_KEY_F1,      GLUT_KEY_F12,   GLUT_KEY_PAGE_UP, GLUT_KEY_PAGE_DOWN,
                        GLUT_KEY_HOME,    GLUT_KEY_END,   GLUT_KEY_INSERT,  GLUT_KEY_F4,
                        GLUT_KEY_SHIFT_L, GLUT_KEY_CTRL_R};
  for (int key : others) {
    onSpecialKeyDown(key, 0, 0);
    EXPECT_EQ(arrowKeys, 4) << "down " << key;
    onSpecialKeyUp(key, 0, 0);
    EXPECT_EQ(arrowKeys, 4) << "up " << key;
  }
}

TEST_F(PointerTest, LeftButtonFiresAndSetsTheOffsets) {
  onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 500, 300);
  EXPECT_EQ(fireHeld, 1);
  EXPECT_EQ(mouseDX, 50);
  EXPECT_EQ(mouseDY, -50);
  EXPECT_EQ(mouseMoved, 1);

  mouseMoved = 0;
  onMouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 10, 700);
  EXPECT_EQ(fireHeld, 0);
  EXPECT_EQ(mouseDX, -440);
  EXPECT_EQ(mouseDY, 350);
  EXPECT_EQ(mouseMoved, 1);
}

TEST_F(PointerTest, OtherButtonsAndWheelStepsChangeNothing) {
  onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 460, 340);
  mouseMoved = 0;
  // Wheel steps arrive as buttons 3 and 4.
  const int buttons[] = {GLUT_RIGHT_BUTTON, GLUT_MIDDLE_BUTTON, 3, 4};
  for (int button : buttons) {
    for (int state : {GLUT_DOWN, GLUT_UP}) {
      onMouseButton(button, state, 0, 0);
      EXPECT_EQ(fireHeld, 1) << button;
      EXPECT_EQ(mouseDX, 10) << button;
      EXPECT_EQ(mouseDY, -10) << button;
      EXPECT_EQ(mouseMoved, 0) << button;
    }
  }
}

TEST_F(PointerTest, MotionSetsOffsetsFromTheFixedCentre) {
  onMouseMotion(kPointerCentreX, kPointerCentreY);
  EXPECT_EQ(mouseDX, 0);
  EXPECT_EQ(mouseDY, 0);
  EXPECT_EQ(mouseMoved, 1);
  onMouseMotion(0, 0);
  EXPECT_EQ(mouseDX, -450);
  EXPECT_EQ(mouseDY, -350);
  EXPECT_EQ(fireHeld, 0);  // motion never fires
}

TEST(PointerCentre, TheUsualPointWhileItLiesInsideTheWindowElseTheMiddle) {
  struct Case {
    int width, height, x, y;
  };
  const Case cases[] = {{640, 480, 450, 350},
                        {451, 351, 450, 350},
                        {450, 480, 225, 240},
                        {640, 350, 320, 175},
                        {300, 200, 150, 100}};
  for (const Case& c : cases) {
    windowWidth = c.width;
    windowHeight = c.height;
    const PointerPoint centre = pointerCentre();
    EXPECT_EQ(centre.x, c.x) << c.width << "x" << c.height;
    EXPECT_EQ(centre.y, c.y) << c.width << "x" << c.height;
  }
  resizeTestWindow(kTestWidth, kTestHeight);  // the program's size is the window's again
}

TEST_F(PointerTest, OnlyTheManualCameraRecentresAMovedPointerInsideTheWindow) {
  seconds = 3.0f;
  delta = 0.02f;
  glutPassiveMotionFunc(onMouseMotion);
  // In a window too small for (450, 350) the pointer goes to the middle.
  for (const auto& [width, height] : {std::pair{kTestWidth, kTestHeight}, {300, 200}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    placeWindowOnTop(width, height);
    const PointerPoint centre = pointerCentre();
    settings.cameraMode = 0;
    glutWarpPointer(width - 20, height - 10);
    pumpEventsUntil([&] { return mouseDX == width - 20 - centre.x; });
    ASSERT_EQ(mouseDX, width - 20 - centre.x) << "no motion events from the display";
    ASSERT_EQ(mouseDY, height - 10 - centre.y);

    // The fly-through leaves a moved pointer where it is.
    gameStep();
    pumpEventsUntil([] { return mouseDX == 0; }, 0.5);  // runs the full half second
    EXPECT_EQ(mouseDX, width - 20 - centre.x);

    // Not moved since the last re-centre: the pointer stays where it is.
    settings.cameraMode = 1;
    mouseMoved = 0;
    gameStep();
    pumpEventsUntil([] { return mouseMoved != 0; }, 0.5);  // runs the full half second
    EXPECT_EQ(mouseDX, width - 20 - centre.x);
    EXPECT_EQ(mouseMoved, 0);

    // Moved: cleared at once and warped back; the warp reports back later.
    mouseMoved = 1;
    gameStep();
    EXPECT_EQ(mouseMoved, 0);
    pumpEventsUntil([] { return mouseMoved != 0; });
    EXPECT_EQ(mouseDX, 0);
    EXPECT_EQ(mouseDY, 0);
    EXPECT_EQ(mouseMoved, 1);
  }
}

TEST_F(PointerTest, KeyVIntoTheManualCameraStartsFromTheCurrentView) {
  placeWindowOnTop(kTestWidth, kTestHeight);
  glutPassiveMotionFunc(onMouseMotion);
  glutWarpPointer(600, 400);  // roamed under the fly-through
  pumpEventsUntil([] { return mouseDX == 600 - kPointerCentreX; });
  ASSERT_EQ(mouseDX, 600 - kPointerCentreX) << "no motion events from the display";
  onKey('v', 0, 0);
  EXPECT_EQ(mouseDX, 0) << "the first manual frame turns nothing";
  EXPECT_EQ(mouseDY, 0);
  EXPECT_EQ(mouseMoved, 1) << "and re-centres the pointer";
  onKey('v', 0, 0);  // back to the fly-through: nothing to re-centre
  mouseMoved = 0;
  onKey('v', 0, 0);
  EXPECT_EQ(mouseMoved, 1);
}
