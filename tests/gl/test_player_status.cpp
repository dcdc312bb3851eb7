// The health and target lines of the manual camera mode: their texts,
// colours and places, compared pixel for pixel with the same texts drawn
// directly, and the renderer state they leave.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/frame_clock.h"
#include "core/settings.h"
#include "game/combat.h"
#include "game/player_status.h"
#include "gfx/textures.h"
#include "gl/gl_support.h"
#include "support/state.h"
#include "text/text_renderer.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 700;
constexpr int kBaseline = 665;  // trunc(700 * 0.95)
constexpr int kGlyphTop = kBaseline - 30;
constexpr int kHealthX = 50;
constexpr int kTargetsX = 500;
constexpr int kLit = 60;

struct Colour {
  float r, g, b;
};
constexpr Colour kWhite = {1.0f, 1.0f, 1.0f};
constexpr Colour kRed = {1.0f, 0.0f, 0.0f};

class PlayerStatus : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreProgramState();
    resizeTestDrawable(kWidth, kHeight);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    font_ = loadTexture128("font.bmp", -1, 0, 0);
    ASSERT_NE(font_, 0u) << "font.bmp not found in the working directory";
    screenText.fontTexture = font_;
  }

  void TearDown() override {
    glDeleteTextures(1, &font_);
    screenText.fontTexture = 0;
    resizeTestDrawable(640, 480);
    restoreProgramState();
  }

  // The two halves of the status rows: health line left, target line right.
  static std::vector<uint8_t> half(int x0, int x1) {
    return readRegion(x0, x1, kGlyphTop, kBaseline);
  }

  // The same text drawn straight through the renderer, for comparison.
  static std::vector<uint8_t> drawnAlone(const char* text, int x, Colour c) {
    clearToBlack();
    screenText.color[0] = c.r;
    screenText.color[1] = c.g;
    screenText.color[2] = c.b;
    screenText.recordText = 0;
    screenText.drawText(text, static_cast<int16_t>(x), kBaseline, 30.0f);
    screenText.recordText = 1;
    screenText.color[0] = screenText.color[1] = screenText.color[2] = 1.0f;
    return x < kTargetsX ? half(0, kTargetsX) : half(kTargetsX, kWidth);
  }

  void expectLines(float health, int targets, const char* healthText, Colour healthColour,
                   const char* targetText) {
    SCOPED_TRACE(healthText);
    settings.health = health;
    targetCount = targets;
    clearToBlack();
    drawPlayerStatus();
    const std::vector<uint8_t> left = half(0, kTargetsX);
    const std::vector<uint8_t> right = half(kTargetsX, kWidth);
    int first = 0, last = 0;
    ASSERT_TRUE(litRowsIn(kHealthX, kTargetsX, 0, kHeight, kLit, &first, &last));
    EXPECT_GE(first, kGlyphTop);
    EXPECT_LE(last, kBaseline - 1);
    ASSERT_TRUE(litRowsIn(kTargetsX, kWidth, 0, kHeight, kLit, &first, &last));
    EXPECT_GE(first, kGlyphTop);
    EXPECT_LE(last, kBaseline - 1);

    EXPECT_TRUE(left == drawnAlone(healthText, kHealthX, healthColour)) << "health line";
    EXPECT_TRUE(right == drawnAlone(targetText, kTargetsX, kWhite)) << "target line";
  }

 private:
  GLuint font_ = 0;
};

TEST_F(PlayerStatus, FullHealthIsWhite) {
  expectLines(1.0f, 1, "Health: 100", kWhite, "Targets:   1");
}

TEST_F(PlayerStatus, HealthBelowAFifthTurnsRed) {
  expectLines(0.19f, 7, "Health:  19", kRed, "Targets:   7");
}

TEST_F(PlayerStatus, ExactlyAFifthIsStillWhite) {
  expectLines(0.2f, 19, "Health:  20", kWhite, "Targets:  19");
}

TEST_F(PlayerStatus, NoHealthAtAllIsRed) {
  expectLines(0.0f, 12, "Health:   0", kRed, "Targets:  12");
}

TEST_F(PlayerStatus, ARedLineHasNoGreenOrBlueAndTheStateIsRestored) {
  setClockMs(2000);
  screenText.showMessage("Deaths:   1");
  settings.health = 0.1f;
  clearToBlack();
  drawPlayerStatus();
  bool lit = false;
  const std::vector<uint8_t> left = half(0, kTargetsX);
  for (size_t i = 0; i < left.size(); i += 3) {
    if (left[i] > kLit) lit = true;
    ASSERT_EQ(left[i + 1], 0) << "green at byte " << i;
    ASSERT_EQ(left[i + 2], 0) << "blue at byte " << i;
  }
  EXPECT_TRUE(lit);
  for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(screenText.color[i], 1.0f) << "component " << i;
  EXPECT_EQ(screenText.recordText, 1);
  EXPECT_STREQ(screenText.lastText, "Deaths:   1");
  EXPECT_EQ(screenText.lastY, 25);
}

}  // namespace
