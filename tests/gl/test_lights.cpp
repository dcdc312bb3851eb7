// The spotlight as GL holds it: the fixed spot shape and material from
// setupLights, and the colours and swung place that updateLights gives it.
// GL keeps light positions and directions in eye coordinates.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "core/oscillators.h"
#include "gfx/lights.h"
#include "support/state.h"

namespace {

constexpr float kDistance = 10.0f;
constexpr int kSwingY = 53;  // light 0's channels
constexpr int kSwingX = 54;

struct Vec4 {
  float v[4];
};

Vec4 lightValue(GLenum light, GLenum name) {
  Vec4 r{{-1.0f, -1.0f, -1.0f, -1.0f}};
  glGetLightfv(light, name, r.v);
  return r;
}

Vec4 globalAmbient() {
  Vec4 r{{-1.0f, -1.0f, -1.0f, -1.0f}};
  glGetFloatv(GL_LIGHT_MODEL_AMBIENT, r.v);
  return r;
}

void expectGrey(const Vec4& c, float level, const char* what) {
  EXPECT_NEAR(c.v[0], level, 1e-6f) << what;
  EXPECT_NEAR(c.v[1], level, 1e-6f) << what;
  EXPECT_NEAR(c.v[2], level, 1e-6f) << what;
  EXPECT_FLOAT_EQ(c.v[3], 1.0f) << what;
}

void expectXyz(const Vec4& p, float x, float y, float z, const char* what) {
  EXPECT_NEAR(p.v[0], x, 1e-4f) << what;
  EXPECT_NEAR(p.v[1], y, 1e-4f) << what;
  EXPECT_NEAR(p.v[2], z, 1e-4f) << what;
}

// The phase at which a swing channel (rate 5, 720 degrees) reads `degrees`.
double phaseFor(double degrees) { return std::asin(degrees / 360.0 - 1.0) / 5.0; }

class Lights : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreProgramState();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }

  void TearDown() override {
    static const float kDefaultAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    for (int i = 0; i < kMaxLights; ++i) glDisable(static_cast<GLenum>(GL_LIGHT0 + i));
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kDefaultAmbient);
    glLoadIdentity();
    restoreProgramState();
  }

  // The frame driver's call.
  static void frameUpdate(int count, float level) {
    updateLights(count, 0.5f, 0.5f, 0.9f, level, kDistance);
  }
};

TEST_F(Lights, SetUpFixesTheSpotShapeAndMaterialAndEnablesTheLights) {
  setupLights(2, 0.5f, 0.8f);
  for (GLenum light : {GL_LIGHT0, GL_LIGHT1}) {
    EXPECT_TRUE(glIsEnabled(light));
    EXPECT_FLOAT_EQ(lightValue(light, GL_SPOT_EXPONENT).v[0], 30.0f);
    EXPECT_FLOAT_EQ(lightValue(light, GL_SPOT_CUTOFF).v[0], 30.0f);
  }
  EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
  expectGrey(globalAmbient(), 0.5f, "global ambient");
  Vec4 specular{};
  glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular.v);
  expectGrey(specular, 0.8f, "front specular");
  glGetMaterialfv(GL_BACK, GL_SPECULAR, specular.v);
  expectGrey(specular, 0.8f, "back specular");
}

TEST_F(Lights, SetUpOfNoLightsChangesNothing) {
  static const float kAmbient[4] = {0.25f, 0.25f, 0.25f, 1.0f};
  static const float kSpecular[4] = {0.125f, 0.125f, 0.125f, 1.0f};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kAmbient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kSpecular);
  setupLights(0, 0.5f, 0.8f);
  expectGrey(globalAmbient(), 0.25f, "global ambient");
  Vec4 specular{};
  glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular.v);
  expectGrey(specular, 0.125f, "specular");
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
}

TEST_F(Lights, OneLightShinesASteadyGreyScaledByTheFade) {
  setupLights(1, 0.5f, 0.8f);
  // Colour channels that would tint several lights are ignored for one.
  oscillators.phase[50] = 0.3;
  oscillators.phase[51] = 1.7;
  oscillators.phase[52] = 2.9;
  frameUpdate(1, 1.0f);
  expectGrey(lightValue(GL_LIGHT0, GL_AMBIENT), 0.5f, "ambient");
  expectGrey(lightValue(GL_LIGHT0, GL_DIFFUSE), 0.5f, "diffuse");
  expectGrey(lightValue(GL_LIGHT0, GL_SPECULAR), 0.9f, "specular");
  expectGrey(globalAmbient(), 0.5f, "global ambient");

  frameUpdate(1, 0.4f);
  expectGrey(lightValue(GL_LIGHT0, GL_AMBIENT), 0.2f, "ambient");
  expectGrey(lightValue(GL_LIGHT0, GL_DIFFUSE), 0.2f, "diffuse");
  expectGrey(lightValue(GL_LIGHT0, GL_SPECULAR), 0.36f, "specular");
  expectGrey(globalAmbient(), 0.2f, "global ambient");

  frameUpdate(1, 0.0f);
  expectGrey(lightValue(GL_LIGHT0, GL_DIFFUSE), 0.0f, "diffuse at the start of the fade-in");
}

TEST_F(Lights, SeveralLightsTakeTheirHuesFromTheirChannels) {
  const double phases[3] = {0.3, 1.7, 2.9};
  for (int c = 0; c < 3; ++c) oscillators.phase[50 + c] = phases[c];
  frameUpdate(2, 0.8f);
  const Vec4 ambient = lightValue(GL_LIGHT0, GL_AMBIENT);
  const Vec4 specular = lightValue(GL_LIGHT0, GL_SPECULAR);
  const Vec4 global = globalAmbient();
  for (int c = 0; c < 3; ++c) {
    const double hue = (std::sin(30.0 * phases[c]) * 0.5 + 0.5) * 0.5 + 0.5;
    EXPECT_NEAR(ambient.v[c], hue * 0.5 * 0.8, 1e-6) << "component " << c;
    EXPECT_NEAR(specular.v[c], hue * 0.9 * 0.8, 1e-6) << "component " << c;
    EXPECT_NEAR(global.v[c], ambient.v[c], 1e-6) << "component " << c;
  }
  // Light 1's channels 55..57 are all at phase 0: the middle hue, 0.75.
  expectGrey(lightValue(GL_LIGHT1, GL_DIFFUSE), 0.75f * 0.5f * 0.8f, "light 1 diffuse");
}

TEST_F(Lights, AtPhaseZeroTheLightSitsOnTheEyeAxisPointingBack) {
  frameUpdate(1, 1.0f);
  const Vec4 position = lightValue(GL_LIGHT0, GL_POSITION);
  expectXyz(position, 0.0f, 0.0f, kDistance, "position");
  EXPECT_FLOAT_EQ(position.v[3], 1.0f);
  expectXyz(lightValue(GL_LIGHT0, GL_SPOT_DIRECTION), 0.0f, 0.0f, -1.0f, "direction");

  // Placed about the origin of the current model-view, which is not
  // disturbed by the call.
  glTranslatef(1.0f, 2.0f, 3.0f);
  frameUpdate(1, 1.0f);
  expectXyz(lightValue(GL_LIGHT0, GL_POSITION), 1.0f, 2.0f, 3.0f + kDistance, "translated");
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  EXPECT_FLOAT_EQ(m[12], 1.0f);
  EXPECT_FLOAT_EQ(m[13], 2.0f);
  EXPECT_FLOAT_EQ(m[14], 3.0f);
}

TEST_F(Lights, TheTwoSwingChannelsTurnTheLightAboutYThenX) {
  // A quarter turn about y carries (0, 0, 10) to (10, 0, 0).
  oscillators.phase[kSwingY] = phaseFor(90.0);
  frameUpdate(1, 1.0f);
  expectXyz(lightValue(GL_LIGHT0, GL_POSITION), kDistance, 0.0f, 0.0f, "about y");
  expectXyz(lightValue(GL_LIGHT0, GL_SPOT_DIRECTION), -1.0f, 0.0f, 0.0f, "about y");

  // A quarter turn about x carries it to (0, -10, 0).
  oscillators.phase[kSwingY] = 0.0;
  oscillators.phase[kSwingX] = phaseFor(90.0);
  frameUpdate(1, 1.0f);
  expectXyz(lightValue(GL_LIGHT0, GL_POSITION), 0.0f, -kDistance, 0.0f, "about x");
  expectXyz(lightValue(GL_LIGHT0, GL_SPOT_DIRECTION), 0.0f, 1.0f, 0.0f, "about x");

  // Both: the x turn is applied first to the light, then the y turn.
  oscillators.phase[kSwingY] = phaseFor(90.0);
  frameUpdate(1, 1.0f);
  expectXyz(lightValue(GL_LIGHT0, GL_POSITION), 0.0f, -kDistance, 0.0f, "about both");
  oscillators.phase[kSwingX] = phaseFor(180.0);
  frameUpdate(1, 1.0f);
  expectXyz(lightValue(GL_LIGHT0, GL_POSITION), -kDistance, 0.0f, 0.0f, "half x, quarter y");
}

}  // namespace
