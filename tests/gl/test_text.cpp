// The bitmap-font text renderer in a real context: where glyph quads land in
// window pixels, which font cell each byte samples, the GL state a string
// leaves behind and what the renderer remembers of it.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/run_state.h"
#include "gfx/textures.h"
#include "gl/gl_support.h"
#include "support/state.h"
#include "text/text_renderer.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 600;
constexpr int kLit = 60;
constexpr int kFontEdge = 128;

struct Span {
  int first, last;
};

Span columnsLit(int y0 = 0, int y1 = kHeight) {
  Span s{-1, -1};
  litColumns(y0, y1, kLit, &s.first, &s.last);
  return s;
}

Span rowsLit(int x0 = 0, int x1 = kWidth) {
  Span s{-1, -1};
  litRows(x0, x1, kLit, &s.first, &s.last);
  return s;
}

// A font whose texels tell where they are: red = cell column * 16 + x in the
// cell * 2, green = cell row * 32 + y in the cell * 2 (y counted upwards in t),
// blue full so every texel passes the alpha test.
GLuint makeCellCodedFont() {
  std::vector<uint8_t> texels(kFontEdge * kFontEdge * 4);
  for (int ty = 0; ty < kFontEdge; ++ty) {
    for (int tx = 0; tx < kFontEdge; ++tx) {
      uint8_t* t = &texels[(static_cast<size_t>(ty) * kFontEdge + tx) * 4];
      const int column = tx / 8;
      const int row = 7 - ty / 16;  // cell row 0 is the top of the texture
      t[0] = static_cast<uint8_t>(column * 16 + (tx % 8) * 2);
      t[1] = static_cast<uint8_t>(row * 32 + (ty % 16) * 2);
      t[2] = 255;
      t[3] = 255;
    }
  }
  return makeTestTexture(kFontEdge, texels.data());
}

class TextRendering : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreProgramState();
    resizeTestDrawable(kWidth, kHeight);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);  // as set-up leaves it
    useFont(makeSolidWhiteTexture());
    clearToBlack();
  }

  void TearDown() override {
    glDeleteTextures(static_cast<GLsizei>(fonts_.size()), fonts_.data());
    screenText.fontTexture = 0;
    restoreProgramState();
  }

  void useFont(GLuint name) {
    fonts_.push_back(name);
    screenText.fontTexture = name;
  }

 private:
  std::vector<GLuint> fonts_;
};

TEST_F(TextRendering, GlyphsRiseSizePixelsAboveTheBaselineCountedFromTheTop) {
  screenText.drawText("A", 10, 25, 20.0f);
  const Span rows = rowsLit();
  EXPECT_EQ(rows.first, 5);
  EXPECT_EQ(rows.last, 24);
  const Span columns = columnsLit();
  EXPECT_EQ(columns.first, 10);
  EXPECT_EQ(columns.last, 19);
}

TEST_F(TextRendering, NeighbouringGlyphsOverlapByAFifthOfTheirAdvance) {
  screenText.drawText("AB", 10, 100, 20.0f);
  Span columns = columnsLit();
  EXPECT_EQ(columns.first, 10);
  EXPECT_EQ(columns.last, 28);  // second quad 19..29

  clearToBlack();
  screenText.drawText(" B", 10, 100, 30.0f);  // only the second glyph of a size-30 pair
  columns = columnsLit();
  EXPECT_EQ(columns.first, 23);
  EXPECT_EQ(columns.last, 37);
}

TEST_F(TextRendering, ASpaceDrawsNothingButMovesThePen) {
  screenText.drawText("A B", 10, 100, 20.0f);
  EXPECT_EQ(columnsLit().first, 10);
  EXPECT_EQ(columnsLit().last, 37);  // B at 28..38
  for (int x = 20; x < 28; ++x) EXPECT_EQ(pixelAt(x, 90).r, 0) << "column " << x;
  EXPECT_EQ(pixelAt(19, 90).r, 255);
  EXPECT_EQ(pixelAt(28, 90).r, 255);
}

TEST_F(TextRendering, EachByteSamplesItsCellOfTheSixteenByEightGrid) {
  useFont(makeCellCodedFont());
  struct Case {
    unsigned char byte;
    int column, row;
  };
  // Bytes below 32 and from 160 on fold back onto the grid by the repeat wrap.
  const Case cases[] = {{'A', 1, 2}, {'0', 0, 1},   {'~', 14, 5},
                        {'!', 1, 0}, {'\n', 10, 6}, {200, 8, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "byte " << static_cast<int>(c.byte));
    clearToBlack();
    const char text[2] = {static_cast<char>(c.byte), '\0'};
    screenText.drawText(text, 100, 300, 64.0f);  // quad 100..132 by 236..300
    const Rgb centre = pixelAt(116, 268);
    EXPECT_EQ(centre.r / 16, c.column);
    EXPECT_EQ(centre.g / 32, c.row);
  }
}

TEST_F(TextRendering, TheGlyphIsNeitherMirroredNorUpsideDown) {
  useFont(makeCellCodedFont());
  screenText.drawText("A", 100, 300, 64.0f);
  // Position inside the cell grows to the right and upwards in t, and the
  // first stored font row (the glyph's top) lies at the high t of its cell.
  const Rgb left = pixelAt(108, 268);
  const Rgb right = pixelAt(124, 268);
  EXPECT_LT(left.r % 16, right.r % 16);
  const Rgb upper = pixelAt(116, 252);
  const Rgb lower = pixelAt(116, 284);
  EXPECT_GT(upper.g % 32, lower.g % 32);
}

TEST_F(TextRendering, RestoresTheStateItBorrowsAndDrawsOverTheWholeWindow) {
  glEnable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_ALPHA_TEST);
  glDepthMask(GL_FALSE);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glViewport(0, 50, 320, 200);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(1.0f, 2.0f, 3.0f);
  GLfloat before[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, before);
  screenText.color[0] = 0.5f;

  // Right of the viewport and inside a 40-pixel quad: solid although the
  // polygon mode was lines.
  screenText.drawText("A", 400, 500, 40.0f);

  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
  GLboolean depthMask = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
  EXPECT_EQ(depthMask, GL_TRUE);
  GLint mode[2] = {0, 0};
  glGetIntegerv(GL_POLYGON_MODE, mode);
  EXPECT_EQ(mode[0], GL_FILL);
  EXPECT_EQ(mode[1], GL_FILL);
  GLint viewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 0);
  EXPECT_EQ(viewport[1], 50);
  EXPECT_EQ(viewport[2], 320);
  EXPECT_EQ(viewport[3], 200);
  GLint matrixMode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
  EXPECT_EQ(matrixMode, GL_MODELVIEW);
  GLfloat after[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(after[i], before[i]) << "element " << i;
  // The text projection stays until the next frame's camera replaces it.
  GLfloat projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  EXPECT_FLOAT_EQ(projection[0], 2.0f / kWidth);
  EXPECT_FLOAT_EQ(projection[5], 2.0f / kHeight);
  EXPECT_FLOAT_EQ(projection[12], -1.0f);
  EXPECT_FLOAT_EQ(projection[13], -1.0f);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), screenText.fontTexture);
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[0], 0.5f);
  EXPECT_FLOAT_EQ(colour[1], 1.0f);

  const Rgb inside = pixelAt(410, 480);
  EXPECT_NEAR(inside.r, 128, 2);
  EXPECT_EQ(inside.g, 255);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextRendering, RemembersTheLastTextOnlyWhileRecording) {
  screenText.drawText("first", -5, -7, 20.0f);
  EXPECT_STREQ(screenText.lastText, "first");
  EXPECT_EQ(screenText.lastX, -5);
  EXPECT_EQ(screenText.lastY, -7);

  screenText.recordText = 0;
  screenText.drawText("second", 300, 200, 20.0f);
  EXPECT_STREQ(screenText.lastText, "first");
  EXPECT_EQ(screenText.lastX, -5);
  EXPECT_EQ(screenText.lastY, -7);
  EXPECT_TRUE(columnsLit().first >= 300);  // drawn all the same
}

TEST_F(TextRendering, LongTextsAreDrawnWholeButRememberedCutTo79Characters) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += static_cast<char>('a' + i % 26);
  screenText.drawText(text.c_str(), 10, 100, 10.0f);
  EXPECT_EQ(std::strlen(screenText.lastText), 79u);
  EXPECT_EQ(std::string(screenText.lastText), text.substr(0, 79));
  // 4-pixel advance: the hundredth glyph covers 406..410.
  EXPECT_EQ(columnsLit().last, 410);

  const std::string eighty = text.substr(0, 80);
  screenText.drawText(eighty.c_str(), 10, 100, 10.0f);
  EXPECT_EQ(std::string(screenText.lastText), text.substr(0, 79));
  const std::string seventyNine = text.substr(20, 79);
  screenText.drawText(seventyNine.c_str(), 10, 100, 10.0f);
  EXPECT_EQ(std::string(screenText.lastText), seventyNine);

  // The message redraw passes the remembered text itself back in.
  screenText.drawText(screenText.lastText, 12, 130, 10.0f);
  EXPECT_EQ(std::string(screenText.lastText), seventyNine);
  EXPECT_EQ(screenText.lastX, 12);
}

TEST_F(TextRendering, AnEmptyStringDrawsNothingAndIsRememberedEmpty) {
  screenText.drawText("before", 1, 2, 20.0f);
  clearToBlack();
  glEnable(GL_BLEND);
  screenText.drawText("", 40, 50, 20.0f);
  int first = 0, last = 0;
  EXPECT_FALSE(litRows(0, kWidth, 0, &first, &last));
  EXPECT_STREQ(screenText.lastText, "");
  EXPECT_EQ(screenText.lastX, 40);
  EXPECT_EQ(screenText.lastY, 50);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(TextRendering, ANewlineInTheRealFontIsInvisibleAndMovesThePen) {
  const GLuint font = loadTexture128("font.bmp", -1, 0, 0);
  ASSERT_NE(font, 0u) << "font.bmp not found in the working directory";
  useFont(font);

  screenText.drawText("\n", 100, 300, 60.0f);
  int first = 0, last = 0;
  EXPECT_FALSE(litRows(0, kWidth, 20, &first, &last));

  screenText.drawText("A", 100, 300, 60.0f);
  EXPECT_TRUE(litRows(0, kWidth, kLit, &first, &last));  // the font itself is there

  clearToBlack();
  screenText.drawText("A B", 100, 300, 20.0f);
  const std::vector<uint8_t> spaced = readRegion(0, kWidth, 270, 310);
  clearToBlack();
  screenText.drawText("A\nB", 100, 300, 20.0f);
  EXPECT_TRUE(readRegion(0, kWidth, 270, 310) == spaced);
}

TEST(GlyphArithmetic, CellsAndTextureRectangles) {
  const GlyphCell a = glyphCell('A');
  EXPECT_EQ(a.column, 1);
  EXPECT_EQ(a.row, 2);
  EXPECT_NEAR(a.s0, 0.0725f, 1e-6f);
  EXPECT_NEAR(a.t0, 0.615f, 1e-6f);
  const GlyphCell newline = glyphCell('\n');
  EXPECT_EQ(newline.column, 10);
  EXPECT_EQ(newline.row, 14);
  EXPECT_NEAR(newline.t0, -0.885f, 1e-6f);
}

TEST(GlyphArithmetic, ThePenAdvanceTruncatesTowardZero) {
  EXPECT_EQ(advancePen(10, 20.0f), 19);
  EXPECT_EQ(advancePen(10, 18.0f), 18);
  EXPECT_EQ(advancePen(10, 30.0f), 23);
  EXPECT_EQ(advancePen(10, 60.0f), 37);
  EXPECT_EQ(advancePen(-20, 30.0f), -6);
  EXPECT_EQ(advancePen(-5, 10.0f), 0);
}

}  // namespace

// A greeting shown before the window reports a size is remembered for the
// first frame but raises no GL error, which that frame would print.
TEST_F(TextRendering, BeforeTheWindowHasASizeItOnlyRemembers) {
  const int savedWidth = windowWidth;
  windowWidth = 0;
  screenText.drawText("greeting", 10, 20, 20.0f);
  windowWidth = savedWidth;
  EXPECT_STREQ(screenText.lastText, "greeting");
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
