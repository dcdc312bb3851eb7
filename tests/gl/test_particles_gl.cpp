// Particle drawing on a real context: the squares turn to face the viewer
// whatever way the view is turned, fire glows additively and fades with its
// age, and every kind leaves the GL state as the rest of the frame expects.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "scene/projection.h"
#include "core/frame_clock.h"
#include "core/input_state.h"
#include "core/random.h"
#include "core/settings.h"
#include "game/camera_path.h"
#include "game/player.h"
#include "gl/gl_support.h"
#include "particles/particles.h"
#include "support/state.h"

namespace {
constexpr int kTestWidth = 640;
constexpr int kTestHeight = 480;
constexpr int kLitThreshold = 12;
constexpr float kDistance = 1.5f;    // from the eye to the particle
constexpr float kSizeScale = 10.0f;  // a bolt of half-size 0.03 becomes 0.3

class ParticleDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreProgramState();
    resizeTestWindow(kTestWidth, kTestHeight);
    loadTestResources();
    seconds = 5.0f;
    clearToBlack();
  }
  void TearDown() override {
    glDisable(GL_DEPTH_TEST);
    restoreProgramState();
  }
};

// Puts the eye at its start point, turned, through the program's own view step.
void lookFrom(double pitch, double heading) {
  settings.cameraMode = 1;
  mouseDX = 0;
  mouseDY = 0;
  player.pitch = pitch;
  player.heading = heading;
  applyCamera();
  applyView();
}

// The world point straight ahead of the eye, read back from the model-view
// matrix: a rigid transform, so its inverse is the transposed rotation.
void pointAhead(float distance, float out[3]) {
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  const float eyeSpace[3] = {0.0f, 0.0f, -distance};
  for (int j = 0; j < 3; ++j) {
    out[j] = 0.0f;
    for (int i = 0; i < 3; ++i) out[j] += m[j * 4 + i] * (eyeSpace[i] - m[12 + i]);
  }
}

struct Footprint {
  int left, right, top, bottom;
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

Footprint litFootprint() {
  Footprint f{-1, -1, -1, -1};
  litColumns(0, kTestHeight, kLitThreshold, &f.left, &f.right);
  litRows(0, kTestWidth, kLitThreshold, &f.top, &f.bottom);
  return f;
}

// One big bolt straight ahead, drawn with the given angles; the view uses
// the view angles.
Footprint drawBoltAhead(double viewPitch, double viewHeading, float drawPitch, float drawHeading) {
  clearToBlack();
  lookFrom(viewPitch, viewHeading);
  float p[3];
  pointAhead(kDistance, p);
  particleSystem.clear();
  particleSystem.emitInterval[LaserBolt] = 0.0f;  // several bolts in one test
  const int slot = particleSystem.emit(LaserBolt, p[0], p[1], p[2], seconds, 1.0f);
  EXPECT_GE(slot, 0);
  if (slot >= 0) particleSystem.slots[slot].angle = 0.0f;
  particleSystem.draw(LaserBolt, kSizeScale, 1.0f, drawPitch, drawHeading, seconds);
  return litFootprint();
}

// A fire particle straight ahead at the given share of its life; returns
// the green of the centre pixel.
int drawFlamesAhead(int count, float ageShare) {
  clearToBlack();
  lookFrom(0.0, 0.0);
  float p[3];
  pointAhead(kDistance, p);
  particleSystem.clear();
  particleSystem.emitInterval[Flame] = 0.0f;
  for (int i = 0; i < count; ++i) {
    const int slot = particleSystem.emit(Flame, p[0], p[1], p[2], seconds, 1.0f);
    EXPECT_GE(slot, 0);
    if (slot >= 0) particleSystem.slots[slot].size = 0.2f;
  }
  const float now = seconds + ageShare * particleSystem.lifeSpan[Flame];
  glDisable(GL_DEPTH_TEST);  // as the game step draws fire; a frame leaves it on
  // At 0.7 brightness two overlapping flames stay clear of saturation.
  particleSystem.draw(Flame, 1.0f, 0.7f, 0.0f, 0.0f, now);
  return pixelAt(kTestWidth / 2, kTestHeight / 2).g;
}

GLint blendFactor(GLenum which) {
  GLint value = 0;
  glGetIntegerv(which, &value);
  return value;
}
}  // namespace

TEST_F(ParticleDrawTest, BoltFacesTheViewerHoweverTheViewIsTurned) {
  const Footprint ahead = drawBoltAhead(0.0, 0.0, 0.0f, 0.0f);
  ASSERT_GT(ahead.width(), 40) << "the bolt should cover a good part of the view";

  const Footprint turned = drawBoltAhead(20.0, 90.0, 20.0f, 90.0f);
  ASSERT_GT(turned.width(), 0) << "nothing drawn in the turned view";
  // The same size and shape as seen head-on, and centred on the view axis.
  EXPECT_NEAR(turned.width(), ahead.width(), 2);
  EXPECT_NEAR(turned.height(), ahead.height(), 2);
  EXPECT_NEAR(turned.width(), turned.height(), 2);
  EXPECT_NEAR((turned.left + turned.right) / 2.0, (kTestWidth - 1) / 2.0, 1.5);
  EXPECT_NEAR((turned.top + turned.bottom) / 2.0, (kTestHeight - 1) / 2.0, 1.5);

  const Footprint downward = drawBoltAhead(-35.0, 200.0, -35.0f, 200.0f);
  EXPECT_NEAR(downward.width(), ahead.width(), 2);
  EXPECT_NEAR(downward.height(), ahead.height(), 2);
}

TEST_F(ParticleDrawTest, SquareNotTurnedWithTheViewIsSeenEdgeOn) {
  // Drawn as if the view were not turned: the square lies in the plane of
  // the view direction and shows at most a sliver. This is what the turn
  // in the test above is guarding against.
  const Footprint f = drawBoltAhead(0.0, 90.0, 0.0f, 0.0f);
  EXPECT_LT(f.width(), 6);
}

TEST_F(ParticleDrawTest, KeyTTurnsTexturingOffToTheSquareOfAMissingPicture) {
  const auto picture = [] {
    seedRandom(1);  // the same bolt each time
    drawBoltAhead(0.0, 0.0, 0.0f, 0.0f);
    return readRegion(0, kTestWidth, 0, kTestHeight);
  };
  const std::vector<uint8_t> textured = picture();
  settings.textures = 0;
  const std::vector<uint8_t> off = picture();
  settings.textures = 1;
  const GLuint sphere = particleSystem.sphereTexture;
  float* radii = particleSystem.sphereSpriteRadii;
  const std::vector<float> loaded(radii, radii + kAlphaLevels);
  particleSystem.sphereTexture = 0;  // as loading a missing picture leaves them
  std::fill(radii, radii + kAlphaLevels, kWholeSquare);
  const std::vector<uint8_t> missing = picture();
  particleSystem.sphereTexture = sphere;
  std::copy(loaded.begin(), loaded.end(), radii);
  EXPECT_TRUE(off == missing);
  EXPECT_FALSE(off == textured);
}

TEST_F(ParticleDrawTest, FireAddsUpWhereParticlesOverlap) {
  const int one = drawFlamesAhead(1, 0.15f);
  const int two = drawFlamesAhead(2, 0.15f);
  ASSERT_GT(one, 20);
  ASSERT_LT(one, 120);  // room left below saturation
  EXPECT_NEAR(two, 2 * one, 3);
}

TEST_F(ParticleDrawTest, FireIsInvisibleAtBirthAndFadesTowardItsEnd) {
  const int atBirth = drawFlamesAhead(1, 0.0f);
  const int full = drawFlamesAhead(1, 0.15f);
  const int late = drawFlamesAhead(1, 0.6f);  // envelope 0.5 at 60 % of its life
  EXPECT_EQ(atBirth, 0);
  EXPECT_GT(full, 20);
  EXPECT_GT(late, 0);
  EXPECT_LT(late, full / 2);
}

TEST_F(ParticleDrawTest, EveryKindRestoresBlendingTexturingAndAlphaTest) {
  lookFrom(0.0, 0.0);
  particleSystem.emitInterval[Flame] = 0.0f;
  for (int kind = 0; kind < kParticleKinds; ++kind) {
    particleSystem.lastEmitTime[kind] = 0.0f;
    ASSERT_GE(particleSystem.emit(kind, 0.0f, 0.5f, 12.0f, seconds, 1.0f), 0) << kind;
  }
  const int kinds[] = {Flame, Smoke, 2, LaserBolt, AlienShot, 5, -1};
  for (int kind : kinds) {
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_ONE, GL_ZERO);
    particleSystem.draw(kind, 1.0f, 1.0f, 0.0f, 0.0f, seconds);
    EXPECT_EQ(blendFactor(GL_BLEND_SRC), GL_SRC_ALPHA) << kind;
    EXPECT_EQ(blendFactor(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA) << kind;
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << kind;
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST)) << kind;
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << kind;
    const bool sphereKind = kind == LaserBolt || kind == AlienShot;
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST) == GL_TRUE, sphereKind) << kind;
  }
  // Fire and smoke leave depth testing as they found it.
  glEnable(GL_DEPTH_TEST);
  particleSystem.draw(Flame, 1.0f, 1.0f, 0.0f, 0.0f, seconds);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
