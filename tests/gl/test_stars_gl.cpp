// The star universe in a real context: the display list's life, the stars
// it holds (read back through GL feedback), the three copies drawStars
// makes of them and the state it leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/random.h"
#include "gfx/stars.h"
#include "gl/gl_support.h"
#include "support/state.h"

namespace {

constexpr int kSide = 400;          // window and viewport, pixels
constexpr double kHalfView = 30.0;  // the ortho box: every star and its turned copy fit
constexpr int kSetUpCount = 660;
constexpr double kCos120 = -0.5;
constexpr double kSin120 = 0.86602540378443865;

struct Star {
  double x, y, z;
  float r, g, b;
};

// Everything drawStars sends down, as feedback, in world units.
std::vector<Star> drawnStars(StarUniverse& universe, size_t expectedPoints) {
  std::vector<GLfloat> buffer(expectedPoints * 8 + 64);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
  glRenderMode(GL_FEEDBACK);
  universe.drawStars();
  const GLint used = glRenderMode(GL_RENDER);
  std::vector<Star> stars;
  for (GLint i = 0; i < used;) {
    const GLint token = static_cast<GLint>(buffer[i]);
    EXPECT_EQ(token, GL_POINT_TOKEN) << "at " << i;
    if (token != GL_POINT_TOKEN) break;
    const GLfloat* v = &buffer[i + 1];
    const double scale = 2.0 * kHalfView / kSide;
    stars.push_back({v[0] * scale - kHalfView, v[1] * scale - kHalfView,
                     -(2.0 * v[2] - 1.0) * kHalfView, v[3], v[4], v[5]});
    i += 8;
  }
  return stars;
}

class Stars : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreProgramState();
    resizeTestDrawable(kSide, kSide);
    glViewport(0, 0, kSide, kSide);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-kHalfView, kHalfView, -kHalfView, kHalfView, -kHalfView, kHalfView);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    clearToBlack();
  }

  void TearDown() override {
    universe.releaseStars();
    glPointSize(1.0f);
    resizeTestDrawable(640, 480);
    restoreProgramState();
  }

  StarUniverse universe;
};

TEST_F(Stars, ListLivesFromBuildUntilRelease) {
  StarUniverse neverBuilt;
  neverBuilt.releaseStars();
  EXPECT_EQ(neverBuilt.listId, -1);

  universe.buildStars(kSetUpCount, 20.0f, 15.0f, CubeShell);
  ASSERT_NE(universe.listId, -1);
  const GLuint first = static_cast<GLuint>(universe.listId);
  EXPECT_TRUE(glIsList(first));

  universe.buildStars(10, 20.0f, 15.0f, CubeShell);  // building again replaces it
  EXPECT_TRUE(glIsList(static_cast<GLuint>(universe.listId)));
  if (static_cast<GLuint>(universe.listId) != first) {
    EXPECT_FALSE(glIsList(first));
  }

  const GLuint last = static_cast<GLuint>(universe.listId);
  universe.releaseStars();
  EXPECT_EQ(universe.listId, -1);
  EXPECT_FALSE(glIsList(last));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Stars, NoStarsStillMakeAList) {
  universe.buildStars(0, 20.0f, 15.0f, CubeShell);
  ASSERT_NE(universe.listId, -1);
  EXPECT_TRUE(glIsList(static_cast<GLuint>(universe.listId)));
  EXPECT_TRUE(drawnStars(universe, 0).empty());
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Stars, TheListHoldsPaleStarsInTheCubeShell) {
  seedRandom(1234);
  universe.buildStars(kSetUpCount, 20.0f, 15.0f, CubeShell);
  const std::vector<Star> drawn = drawnStars(universe, 3 * kSetUpCount);
  ASSERT_EQ(drawn.size(), 3u * kSetUpCount);
  int tinted = 0;
  for (int i = 0; i < kSetUpCount; ++i) {
    const Star& s = drawn[i];
    const double m = std::max({std::fabs(s.x), std::fabs(s.y), std::fabs(s.z)});
    ASSERT_GE(m, 15.01 - 1e-3) << "star " << i;
    ASSERT_LE(m, 20.0 + 1e-3) << "star " << i;
    for (float c : {s.r, s.g, s.b}) {
      ASSERT_GE(c, 0.3f - 1e-3f) << "star " << i;
      ASSERT_LE(c, 0.8f + 1e-3f) << "star " << i;
    }
    if (std::min({s.r, s.g, s.b}) < 0.5f - 1e-3f) ++tinted;
  }
  // About one in ten is strongly tinted, and only those go below 0.5.
  EXPECT_GT(tinted, 10);
  EXPECT_LT(tinted, 150);
}

TEST_F(Stars, DrawnThreeTimesTheSecondCopyTurned120DegreesAboutY) {
  seedRandom(7);
  universe.buildStars(kSetUpCount, 20.0f, 15.0f, CubeShell);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ZERO);
  const std::vector<Star> drawn = drawnStars(universe, 3 * kSetUpCount);
  ASSERT_EQ(drawn.size(), 3u * kSetUpCount);
  for (int i = 0; i < kSetUpCount; ++i) {
    const Star& a = drawn[i];
    const Star& turned = drawn[kSetUpCount + i];
    const Star& again = drawn[2 * kSetUpCount + i];
    ASSERT_NEAR(turned.x, a.x * kCos120 + a.z * kSin120, 1e-3) << "star " << i;
    ASSERT_NEAR(turned.y, a.y, 1e-3) << "star " << i;
    ASSERT_NEAR(turned.z, -a.x * kSin120 + a.z * kCos120, 1e-3) << "star " << i;
    ASSERT_NEAR(again.x, a.x, 1e-3) << "star " << i;
    ASSERT_NEAR(again.y, a.y, 1e-3) << "star " << i;
    ASSERT_NEAR(again.z, a.z, 1e-3) << "star " << i;
    ASSERT_FLOAT_EQ(turned.g, a.g);
  }

  GLfloat pointSize = 0.0f;
  glGetFloatv(GL_POINT_SIZE, &pointSize);
  EXPECT_FLOAT_EQ(pointSize, 3.0f);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  GLint src = 0, dst = 0;
  glGetIntegerv(GL_BLEND_SRC, &src);
  glGetIntegerv(GL_BLEND_DST, &dst);
  EXPECT_EQ(src, GL_SRC_ALPHA);
  EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  EXPECT_FLOAT_EQ(m[0], 1.0f);  // the turns were popped again
  EXPECT_FLOAT_EQ(m[2], 0.0f);
}

TEST_F(Stars, OneStarShowsAsAThreePixelSquareAndATwoPixelCopy) {
  // A star whose turned copy lands well away from it on screen.
  bool apart = false;
  for (uint32_t seed = 1; seed < 100 && !apart; ++seed) {
    seedRandom(seed);
    universe.buildStars(1, 20.0f, 15.0f, CubeShell);
    const std::vector<Star> drawn = drawnStars(universe, 3);
    ASSERT_EQ(drawn.size(), 3u);
    const double pixelsApart = std::fabs(drawn[1].x - drawn[0].x) * kSide / (2.0 * kHalfView);
    apart = pixelsApart > 6.0;
  }
  ASSERT_TRUE(apart);

  clearToBlack();
  universe.drawStars();
  const std::vector<uint8_t> pixels = readRegion(0, kSide, 0, kSide);
  int lit = 0;
  for (size_t i = 0; i < pixels.size(); i += 3) {
    if (pixels[i] + pixels[i + 1] + pixels[i + 2] > 60) ++lit;
  }
  EXPECT_EQ(lit, 3 * 3 + 2 * 2);  // sizes 1 and 3 on the same spot, size 2 elsewhere
}

}  // namespace
