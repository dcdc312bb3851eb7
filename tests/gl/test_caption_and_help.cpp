// The title caption (shake, jolts, fade) and the help page (layout in the
// window, its texts) as they land in a real window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/frame_clock.h"
#include "core/oscillators.h"
#include "core/random.h"
#include "core/run_state.h"
#include "gfx/textures.h"
#include "gl/gl_support.h"
#include "support/state.h"
#include "text/help_screen.h"
#include "text/text_renderer.h"
#include "text/title_caption.h"

namespace {

constexpr int kLit = 60;
constexpr float kCaptionSize = 60.0f;
constexpr double kHalf = kCaptionSize / 2.0;

// The program's generator, written out again so the test can foresee its draws.
class Generator {
 public:
  explicit Generator(uint32_t seed) : state_(seed) {}
  int next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7fff);
  }
  double value(double range) { return next() / 32768.0 * range; }

 private:
  uint32_t state_;
};

// Where the caption lands for an unshaken (x, y) when the generator starts
// from `seed`: the pair for x, its jolt if taken, the pair for y, its jolt.
struct Landing {
  int x, y;
  bool joltX, joltY;
};

Landing foresee(uint32_t seed, int x, int y) {
  Generator g(seed);
  Landing l{x, y, false, false};
  const double x1 = g.value(1.0), x2 = g.value(1.0);
  if (x1 * x2 < 0.01) {
    l.joltX = true;
    l.x = static_cast<int>(std::trunc(x + g.value(kCaptionSize) - kHalf));
  }
  const double y1 = g.value(1.0), y2 = g.value(1.0);
  if (y1 * y2 < 0.01) {
    l.joltY = true;
    l.y = static_cast<int>(std::trunc(y + g.value(kCaptionSize) - kHalf));
  }
  return l;
}

uint32_t seedFor(bool joltX, bool joltY) {
  for (uint32_t seed = 1;; ++seed) {
    const Landing l = foresee(seed, 0, 0);
    if (l.joltX == joltX && l.joltY == joltY) return seed;
  }
}

class OnScreenText : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreProgramState();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  }

  void TearDown() override {
    glDeleteTextures(static_cast<GLsizei>(fonts_.size()), fonts_.data());
    screenText.fontTexture = 0;
    resizeTestDrawable(640, 480);
    restoreProgramState();
  }

  void useFont(GLuint name) {
    fonts_.push_back(name);
    screenText.fontTexture = name;
  }

  void useRealFont() {
    const GLuint font = loadTexture128("font.bmp", -1, 0, 0);
    ASSERT_NE(font, 0u) << "font.bmp not found in the working directory";
    useFont(font);
  }

 private:
  std::vector<GLuint> fonts_;
};

using TitleCaption = OnScreenText;
using HelpScreen = OnScreenText;

TEST_F(TitleCaption, LeavesTheColourOpaqueWhiteAndRecordingOn) {
  resizeTestDrawable(640, 480);
  useFont(makeSolidWhiteTexture());
  screenText.drawText("status", 10, 25, 20.0f);
  screenText.color[3] = 0.7f;
  drawTitleCaption(kProductName, 100, 200, kCaptionSize, 0.3f);
  for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(screenText.color[i], 1.0f) << "component " << i;
  EXPECT_EQ(screenText.recordText, 1);
  EXPECT_STREQ(screenText.lastText, "status");
  EXPECT_EQ(screenText.lastY, 25);
}

TEST_F(TitleCaption, FadesOutCompletelyOnceAlphaIsATenth) {
  resizeTestDrawable(640, 480);
  useFont(makeSolidWhiteTexture());
  int first = 0, last = 0;
  for (float alpha : {0.1f, 0.08f, 0.0f}) {
    clearToBlack();
    drawTitleCaption(kProductName, 100, 200, kCaptionSize, alpha);
    EXPECT_FALSE(litRows(0, 640, 0, &first, &last)) << "alpha " << alpha;
  }
  clearToBlack();
  drawTitleCaption(kProductName, 100, 200, kCaptionSize, 0.2f);
  ASSERT_TRUE(litRows(0, 640, 20, &first, &last));
  const Rgb dim = pixelAt(140, 170);
  EXPECT_NEAR(dim.g, 51, 2);  // a fifth of white over black
}

TEST_F(TitleCaption, ShakesWithItsTwoChannels) {
  resizeTestDrawable(640, 480);
  useFont(makeSolidWhiteTexture());
  const uint32_t seed = seedFor(false, false);
  // sin(40 * phase) = 1 on channel 17 and -1 on channel 18: +half and -half.
  oscillators.phase[17] = std::asin(1.0) / 40.0;
  oscillators.phase[18] = -std::asin(1.0) / 40.0;
  seedRandom(seed);
  clearToBlack();
  drawTitleCaption(kProductName, 200, 250, kCaptionSize, 1.0f);
  int first = 0, last = 0;
  ASSERT_TRUE(litColumns(0, 480, kLit, &first, &last));
  EXPECT_EQ(first, 230);
  ASSERT_TRUE(litRows(0, 640, kLit, &first, &last));
  EXPECT_EQ(last, 220 - 1);
  EXPECT_EQ(first, 220 - 60);
}

TEST_F(TitleCaption, JoltsDrawTheirRandomNumbersInOrder) {
  resizeTestDrawable(640, 480);
  useFont(makeSolidWhiteTexture());
  const bool cases[][2] = {{false, false}, {true, false}, {false, true}, {true, true}};
  for (const auto& c : cases) {
    const uint32_t seed = seedFor(c[0], c[1]);
    SCOPED_TRACE(testing::Message() << "jolt x " << c[0] << " jolt y " << c[1] << " seed " << seed);
    const Landing expected = foresee(seed, 200, 250);
    clearToBlack();
    oscillators.phase[17] = 0.0;  // both shakes at their middle: no offset
    oscillators.phase[18] = 0.0;
    seedRandom(seed);
    drawTitleCaption(kProductName, 200, 250, kCaptionSize, 1.0f);

    int first = 0, last = 0;
    ASSERT_TRUE(litColumns(0, 480, kLit, &first, &last));
    EXPECT_EQ(first, expected.x);
    ASSERT_TRUE(litRows(0, 640, kLit, &first, &last));
    EXPECT_EQ(last, expected.y - 1);

    // Exactly the foreseen draws were taken: the streams still agree.
    Generator copy(seed);
    const int taken = 4 + (c[0] ? 1 : 0) + (c[1] ? 1 : 0);
    for (int i = 0; i < taken; ++i) copy.next();
    EXPECT_EQ(nextRandom(), copy.next());
  }
}

TEST(HelpLayout, BaselinesForTheTwoUsualWindowHeights) {
  EXPECT_EQ(helpLineY(0, 768), 92);
  EXPECT_EQ(helpLineY(5, 768), 177);
  EXPECT_EQ(helpLineY(6, 768), 199);
  EXPECT_EQ(helpLineY(25, 768), 522);
  EXPECT_EQ(helpLineY(0, 512), 46 + 23);
  EXPECT_EQ(helpLineY(25, 512), 499);
}

TEST(HelpLayout, TheCreditLinesNameOnlyThisProgram) {
  EXPECT_EQ(std::string(kHelpLines[22]), "   " + std::string(56, '-') + " ");
  for (int line : {23, 24}) {
    const std::string text = kHelpLines[line];
    EXPECT_EQ(text.compare(0, 3, "   "), 0) << text;
    EXPECT_LT(text.size(), static_cast<size_t>(kTextCapacity)) << text;
  }
  EXPECT_NE(std::string(kHelpLines[23]).find(kProductName), std::string::npos);
  // Neither credit line is a copyright notice or points anywhere else.
  for (int line : {23, 24}) {
    const std::string text = kHelpLines[line];
    for (const char* foreign : {"(c)", "(C)", "opyright", "http", "www.", "@", ".com"}) {
      EXPECT_EQ(text.find(foreign), std::string::npos) << text;
    }
  }
  EXPECT_STREQ(kHelpLines[25], "   <?> to return");
}

TEST_F(HelpScreen, LinesAreLitAtTheirBaselinesIn1024By768AndTheUnderscoreShows) {
  resizeTestDrawable(1024, 768);
  useRealFont();
  setClockMs(1000);
  screenText.showMessage("Hello");
  clearToBlack();
  drawHelpScreen();
  EXPECT_EQ(screenText.recordText, 1);
  EXPECT_STREQ(screenText.lastText, "Hello");

  // The heading alone reaches left of x = 30: its glyphs span rows 39..68.
  int first = 0, last = 0;
  ASSERT_TRUE(litRowsIn(20, 30, 0, 768, kLit, &first, &last));
  EXPECT_GE(first, 39);
  EXPECT_LE(last, 68);
  // Nothing below the last line's baseline at 522.
  ASSERT_TRUE(litRows(0, 1024, kLit, &first, &last));
  EXPECT_LE(last, 521);
  EXPECT_GE(last, 522 - 18);

  // "    shift   _+  Adjust Universe Movement Speed": the underscore is the
  // 13th character, a line along the baseline some 2 to 4 pixels above it.
  constexpr int kLine = 9;
  ASSERT_EQ(kHelpLines[kLine][12], '_');
  const int baseline = helpLineY(kLine, 768);
  const int left = 30 + 12 * 8;
  constexpr int kInk = 6;  // columns inside the glyph's box
  const std::vector<uint8_t> rows = readRegion(left + 1, left + 1 + kInk, baseline - 5, baseline);
  int brightestRow = 0;
  for (size_t row = 0; row < rows.size(); row += 3 * kInk) {
    int dimmest = 255;
    for (int x = 0; x < kInk; ++x) dimmest = std::min<int>(dimmest, rows[row + 3 * x]);
    brightestRow = std::max(brightestRow, dimmest);
  }
  EXPECT_GE(brightestRow, 200) << "a solid line under the shift keys";

  // Lines 1, 7 and 26 match the same text drawn alone at their baselines,
  // in the rows no neighbouring line reaches.
  struct Line {
    int index, baseline;
  };
  std::vector<std::vector<uint8_t>> page;
  const Line lines[] = {{0, 92}, {6, 199}, {25, 522}};
  for (const Line& l : lines) page.push_back(readRegion(0, 1024, l.baseline - 17, l.baseline - 1));
  for (size_t i = 0; i < page.size(); ++i) {
    clearToBlack();
    screenText.drawText(kHelpLines[lines[i].index], 30, static_cast<int16_t>(lines[i].baseline),
                        18.0f);
    const std::vector<uint8_t> alone =
        readRegion(0, 1024, lines[i].baseline - 17, lines[i].baseline - 1);
    EXPECT_TRUE(alone == page[i]) << "line " << lines[i].index + 1;
  }
}

TEST_F(HelpScreen, TheWholePageFitsA512PixelWindow) {
  resizeTestDrawable(512, 512);
  useRealFont();
  clearToBlack();
  drawHelpScreen();
  int first = 0, last = 0;
  ASSERT_TRUE(litRows(0, 512, kLit, &first, &last));
  EXPECT_GE(first, 46 - 30);  // the heading's glyph tops
  EXPECT_LE(last, 498);
  EXPECT_GE(last, 499 - 18);
}

}  // namespace
