// The status message, the frame-rate readout and the GL error line, all on
// the row 25 pixels below the top edge: their texts, their places in the
// window, the three-second lifetime and what each leaves remembered.
#include <gtest/gtest.h>

#include "core/frame_clock.h"
#include "gl/gl_support.h"
#include "support/state.h"
#include "text/text_renderer.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kLit = 60;
// Size-20 glyphs on the message row: rows 5..24 from the top.
constexpr int kRowTop = 5;
constexpr int kRowBottom = 24;

class StatusMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreProgramState();
    resizeTestDrawable(kWidth, kHeight);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    font_ = makeSolidWhiteTexture();  // glyphs become solid quads
    screenText.fontTexture = font_;
    while (glGetError() != GL_NO_ERROR) {
    }
    clearToBlack();
  }

  void TearDown() override {
    glDeleteTextures(1, &font_);
    screenText.fontTexture = 0;
    restoreProgramState();
  }

  // The columns lit on the message row; first is -1 when nothing is.
  static void rowColumns(int* first, int* last) {
    litColumns(kRowTop, kRowBottom + 1, kLit, first, last);
  }

  static bool nothingLit() {
    int first = 0, last = 0;
    return !litRows(0, kWidth, 0, &first, &last);
  }

 private:
  GLuint font_ = 0;
};

TEST_F(StatusMessages, EachFormIsFormattedDrawnAtOnceAndRemembered) {
  setClockMs(5000);
  screenText.showMessage("Universe On");
  EXPECT_STREQ(screenText.lastText, "Universe On");
  EXPECT_EQ(screenText.lastX, 10);
  EXPECT_EQ(screenText.lastY, 25);
  EXPECT_DOUBLE_EQ(screenText.messageExpiry, 8.0);
  int first = 0, last = 0;
  ASSERT_TRUE(litRows(0, kWidth, kLit, &first, &last));
  EXPECT_EQ(first, kRowTop);
  EXPECT_EQ(last, kRowBottom);
  rowColumns(&first, &last);
  EXPECT_EQ(first, 10);
  EXPECT_EQ(last, 10 + 10 * 9 + 9);  // eleven glyphs, 9 pixels apart

  setClockMs(5250);
  screenText.showMessage("%d particles", 40);
  EXPECT_STREQ(screenText.lastText, "40 particles");
  EXPECT_DOUBLE_EQ(screenText.messageExpiry, 8.25);
  screenText.showMessage("Deaths: %3d", 2);
  EXPECT_STREQ(screenText.lastText, "Deaths:   2");
  screenText.showMessage("Movement Speed: %4.2f\n", 1.5);
  EXPECT_STREQ(screenText.lastText, "Movement Speed: 1.50\n");
  screenText.showMessage("FOV: %3.0f Degrees\n", 70.0);
  EXPECT_STREQ(screenText.lastText, "FOV:  70 Degrees\n");
}

TEST_F(StatusMessages, AMessageLivesUntilTheClockReachesThreeSecondsLater) {
  setClockMs(5000);
  screenText.showMessage("Hello");
  clearToBlack();

  setClockMs(7999);
  screenText.drawMessage();
  int first = 0, last = 0;
  rowColumns(&first, &last);
  EXPECT_EQ(first, 10);
  EXPECT_EQ(last, 10 + 4 * 9 + 9);
  EXPECT_DOUBLE_EQ(screenText.messageExpiry, 8.0);

  clearToBlack();
  setClockMs(8000);
  screenText.drawMessage();
  EXPECT_TRUE(nothingLit());
  EXPECT_EQ(screenText.messageExpiry, 0.0);
  EXPECT_STREQ(screenText.lastText, "Hello");
}

TEST_F(StatusMessages, ASecondMessageReplacesTheFirstAndRestartsTheTime) {
  setClockMs(5000);
  screenText.showMessage("first");
  setClockMs(6000);
  screenText.showMessage("second message");
  EXPECT_STREQ(screenText.lastText, "second message");
  EXPECT_DOUBLE_EQ(screenText.messageExpiry, 9.0);

  clearToBlack();
  setClockMs(8500);  // past the first message's three seconds
  screenText.drawMessage();
  int first = 0, last = 0;
  rowColumns(&first, &last);
  EXPECT_EQ(first, 10);
  EXPECT_EQ(last, 10 + 13 * 9 + 9);  // fourteen glyphs: the second text
}

TEST_F(StatusMessages, FrameRateSitsAtTheRightAndIsNeverRemembered) {
  setClockMs(1000);
  screenText.showMessage("Hello");
  clearToBlack();
  screenText.recordText = 0;

  screenText.drawFrameRate(60);  // " 60 Frame/Sec" from x = 520
  int first = 0, last = 0;
  rowColumns(&first, &last);
  EXPECT_EQ(first, kWidth - 120 + 9);  // behind the leading space
  EXPECT_EQ(last, kWidth - 120 + 12 * 9 + 9);
  EXPECT_EQ(screenText.recordText, 1);
  EXPECT_STREQ(screenText.lastText, "Hello");
  EXPECT_EQ(screenText.lastX, 10);
  EXPECT_DOUBLE_EQ(screenText.messageExpiry, 4.0);

  // Four digits push the line past the right edge.
  clearToBlack();
  screenText.drawFrameRate(1234);
  rowColumns(&first, &last);
  EXPECT_EQ(first, kWidth - 120);
  EXPECT_EQ(last, kWidth - 1);
}

TEST_F(StatusMessages, AGlErrorShowsOnceInTheMiddleAndBringsTheMessageBack) {
  setClockMs(1000);
  screenText.showMessage("Hello");
  setClockMs(20000);  // long expired
  clearToBlack();

  screenText.drawGlError();  // nothing pending
  EXPECT_TRUE(nothingLit());
  EXPECT_DOUBLE_EQ(screenText.messageExpiry, 4.0);

  glEnable(0x1234);  // not a capability
  screenText.drawGlError();
  int first = 0, last = 0;
  rowColumns(&first, &last);
  EXPECT_EQ(first, 256);          // trunc(640 * 0.4)
  EXPECT_GT(last, 256 + 14 * 9);  // "OpenGL Error: " and some description
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_DOUBLE_EQ(screenText.messageExpiry, 23.0);
  EXPECT_STREQ(screenText.lastText, "Hello");
  EXPECT_EQ(screenText.recordText, 1);

  // The next frame shows the old message again, and no error line.
  clearToBlack();
  setClockMs(20040);
  screenText.drawMessage();
  screenText.drawGlError();
  rowColumns(&first, &last);
  EXPECT_EQ(first, 10);
  EXPECT_EQ(last, 10 + 4 * 9 + 9);
}

TEST_F(StatusMessages, TheErrorLineFollowsTheWindowWidth) {
  resizeTestDrawable(1001, 400);
  glEnable(0x1234);
  screenText.drawGlError();
  int first = 0, last = 0;
  rowColumns(&first, &last);
  EXPECT_EQ(first, 400);  // trunc(400.4)
  resizeTestDrawable(kWidth, kHeight);
}

}  // namespace
