// Arrow keys, mouse buttons and pointer motion: the state the callbacks
// record, and the re-centring of the pointer by the game step, whose warp
// comes back from the real window system as a motion event.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/frame_clock.h"
#include "core/input_state.h"
#include "game/combat.h"
#include "gl/gl_support.h"
#include "input/pointer.h"
#include "support/state.h"

namespace {
constexpr int kTestWidth = 640;
constexpr int kTestHeight = 480;

class PointerTest : public ::testing::Test {
 protected:
  void SetUp() override { restoreProgramState(); }
  void TearDown() override {
    glDisable(GL_DEPTH_TEST);  // left on by the game step's bolt drawing
    glutPassiveMotionFunc(nullptr);
    restoreProgramState();
  }
};

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

TEST_F(PointerTest, GameStepRecentresAMovedPointerOnly) {
  // Other GL test processes may share the display, their windows at its top
  // left corner; pointer events go to the topmost window under the pointer,
  // so this window goes to the bottom right corner, on top, and the pointer
  // stays right of x 256 inside it, clear of the others.
  resizeTestWindow(kTestWidth, kTestHeight);
  const int left = glutGet(GLUT_SCREEN_WIDTH) - kTestWidth;
  const int top = glutGet(GLUT_SCREEN_HEIGHT) - kTestHeight;
  glutPositionWindow(left, top);
  glutPopWindow();
  pumpEventsUntil([&] { return glutGet(GLUT_WINDOW_X) == left && glutGet(GLUT_WINDOW_Y) == top; });
  glutPassiveMotionFunc(onMouseMotion);
  seconds = 3.0f;
  delta = 0.02f;

  glutWarpPointer(600, 400);
  pumpEventsUntil([] { return mouseDX == 600 - kPointerCentreX; });
  ASSERT_EQ(mouseDX, 600 - kPointerCentreX) << "no motion events from the display";
  ASSERT_EQ(mouseDY, 400 - kPointerCentreY);

  // Not moved since the last re-centre: the pointer stays where it is.
  mouseMoved = 0;
  gameStep();
  pumpEventsUntil([] { return mouseMoved != 0; }, 0.5);  // runs the full half second
  EXPECT_EQ(mouseDX, 600 - kPointerCentreX);
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
