// The fixed part of the view as GL holds it after applyCamera: letterboxed
// viewport, perspective projection, eye on the z axis and polygon mode.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>

#include "scene/projection.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "gl/gl_support.h"
#include "support/state.h"

namespace {

constexpr double kNear = 0.02;
constexpr double kFarBeyondEye = 40.0;
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

struct Viewport {
  GLint x, y, width, height;
};

Viewport currentViewport() {
  GLint v[4] = {-1, -1, -1, -1};
  glGetIntegerv(GL_VIEWPORT, v);
  return {v[0], v[1], v[2], v[3]};
}

// Column-major, as GL returns it.
void expectMatrixNear(GLenum which, const double (&expected)[16], double tolerance) {
  GLdouble m[16];
  glGetDoublev(which, m);
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(m[i], expected[i], tolerance * std::fmax(1.0, std::fabs(expected[i])))
        << "element " << i;
  }
}

// A perspective projection from its textbook definition.
void perspective(double fovDegrees, double aspect, double zNear, double zFar, double (&m)[16]) {
  const double f = 1.0 / std::tan(fovDegrees * kRadiansPerDegree / 2.0);
  for (double& e : m) e = 0.0;
  m[0] = f / aspect;
  m[5] = f;
  m[10] = (zFar + zNear) / (zNear - zFar);
  m[11] = -1.0;
  m[14] = 2.0 * zFar * zNear / (zNear - zFar);
}

GLint polygonMode() {
  GLint mode[2] = {0, 0};
  glGetIntegerv(GL_POLYGON_MODE, mode);
  EXPECT_EQ(mode[0], mode[1]) << "front and back differ";
  return mode[0];
}

class Camera : public ::testing::Test {
 protected:
  void SetUp() override { restoreProgramState(); }
  void TearDown() override {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    resizeTestWindow(640, 480);
    restoreProgramState();
  }
};

TEST_F(Camera, LetterboxTakesFivePercentOffTopAndBottomPerStep) {
  const int sizes[][2] = {{640, 480}, {1024, 768}, {800, 600}, {160, 90}, {37, 23}};
  for (const auto& size : sizes) {
    resizeTestWindow(size[0], size[1]);
    ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), size[0]);
    ASSERT_EQ(glutGet(GLUT_WINDOW_HEIGHT), size[1]);
    for (int letterbox = 0; letterbox <= 6; ++letterbox) {
      SCOPED_TRACE(testing::Message() << size[0] << "x" << size[1] << " letterbox " << letterbox);
      settings.letterbox = letterbox;
      applyCamera();
      const Viewport v = currentViewport();
      const double bar = 0.05 * letterbox * size[1];
      EXPECT_EQ(v.x, 0);
      EXPECT_EQ(v.width, size[0]);
      // Truncated products: at most one pixel off the exact bar.
      EXPECT_LE(std::fabs(v.y - bar), 1.0);
      EXPECT_LE(std::fabs((size[1] - (v.y + v.height)) - bar), 1.0);
      const LetterboxViewport rows = letterboxViewport(letterbox, size[1]);
      EXPECT_EQ(v.y, rows.bottom);
      EXPECT_EQ(v.height, rows.top - rows.bottom);
      if (letterbox == 0) {
        EXPECT_EQ(v.y, 0);
        EXPECT_EQ(v.height, size[1]);
      }
    }
  }
}

TEST_F(Camera, SixStepsOnA600PixelWindowKeepTheMiddle240Rows) {
  resizeTestWindow(400, 600);
  settings.letterbox = 6;
  applyCamera();
  const Viewport v = currentViewport();
  EXPECT_EQ(v.y, 180);
  EXPECT_EQ(v.height, 240);
}

TEST_F(Camera, ProjectionUsesTheAspectOfTheLetterboxedViewport) {
  struct Case {
    int width, height, letterbox, fov;
    float cameraZ;
  };
  const Case cases[] = {{640, 480, 0, 70, 0.0f},
                        {640, 480, 3, 70, 0.0f},
                        {1024, 768, 6, 4, 2.5f},
                        {300, 200, 2, 178, -3.0f},
                        {160, 120, 1, 45, 10.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " letterbox " << c.letterbox
                                    << " fov " << c.fov << " z " << c.cameraZ);
    resizeTestWindow(c.width, c.height);
    settings.letterbox = c.letterbox;
    settings.fov = c.fov;
    settings.cameraZ = c.cameraZ;
    applyCamera();

    const Viewport v = currentViewport();
    double expected[16];
    perspective(c.fov, static_cast<double>(c.width) / v.height, kNear, c.cameraZ + kFarBeyondEye,
                expected);
    expectMatrixNear(GL_PROJECTION_MATRIX, expected, 1e-5);

    // The eye sits at cameraZ looking down -z: a pure translation.
    const double lookAt[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -c.cameraZ, 1};
    expectMatrixNear(GL_MODELVIEW_MATRIX, lookAt, 1e-6);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
  }
}

TEST_F(Camera, ReplacesWhateverProjectionAndViewportTheTextLeft) {
  resizeTestWindow(640, 480);
  settings.letterbox = 2;
  glViewport(5, 5, 10, 10);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, 640.0, 0.0, 480.0, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(3.0f, 4.0f, 5.0f);

  applyCamera();

  const Viewport v = currentViewport();
  EXPECT_EQ(v.y, 48);
  EXPECT_EQ(v.height, 384);
  double expected[16];
  perspective(70.0, 640.0 / 384.0, kNear, kFarBeyondEye, expected);
  expectMatrixNear(GL_PROJECTION_MATRIX, expected, 1e-5);
  const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  expectMatrixNear(GL_MODELVIEW_MATRIX, identity, 1e-6);
}

TEST_F(Camera, AZeroSizedWindowIsHarmless) {
  // As during set-up, before the first reshape reached the program.
  windowWidth = 0;
  windowHeight = 0;
  for (int letterbox = 0; letterbox <= 6; ++letterbox) {
    settings.letterbox = letterbox;
    applyCamera();
    const Viewport v = currentViewport();
    EXPECT_EQ(v.y, 0);
    EXPECT_EQ(v.width, 0);
    EXPECT_EQ(v.height, 0);
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  // The next frame with a real size computes everything afresh.
  resizeTestWindow(640, 480);
  settings.letterbox = 0;
  applyCamera();
  double expected[16];
  perspective(70.0, 640.0 / 480.0, kNear, kFarBeyondEye, expected);
  expectMatrixNear(GL_PROJECTION_MATRIX, expected, 1e-5);
}

TEST_F(Camera, PolygonModeFollowsTheSettingAndIgnoresUnknownValues) {
  resizeTestWindow(640, 480);
  const GLint modes[] = {GL_FILL, GL_LINE, GL_POINT};
  for (int polyMode = 0; polyMode < 3; ++polyMode) {
    settings.polyMode = polyMode;
    applyCamera();
    EXPECT_EQ(polygonMode(), modes[polyMode]) << "polyMode " << polyMode;
  }
  for (int outOfRange : {3, -1, 100}) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    settings.polyMode = outOfRange;
    applyCamera();
    EXPECT_EQ(polygonMode(), GL_LINE) << "polyMode " << outOfRange;
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
