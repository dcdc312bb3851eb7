// Particles are drawn in one batch per kind with their corners turned on the
// CPU, in filled mode as octagons around the disc of their texture that can
// pass the alpha test at their own alpha, and not at all when nothing can.
// The picture must stay that of one textured square per particle turned by
// the matrix stack: both are drawn here and compared pixel by pixel.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "scene/projection.h"
#include "scene/resources.h"
#include "core/settings.h"
#include "gfx/fog.h"
#include "gfx/textures.h"
#include "gl/gl_support.h"
#include "particles/particles.h"
#include "support/state.h"

namespace {

constexpr int kSize = 320;
constexpr float kPitch = 20.0f;
constexpr float kEye[3] = {0.0f, 0.5f, 3.0f};
constexpr float kHeading = 35.0f;

struct Difference {
  int largest;
  int pixels;  // pixels differing by more than 8 levels in some channel
  int lit;     // lit pixels of the reference
  int cut;     // pixels lit in the reference and black in the drawing
};

class BillboardBatch : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreProgramState();
    resizeTestWindow(kSize, kSize);
    if (textureSet.count == 0) loadResources();
  }
  void TearDown() override {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    restoreProgramState();
  }

  void view() {
    applyCamera();
    glRotatef(kPitch, 1, 0, 0);
    glRotatef(kHeading, 0, 1, 0);
    glTranslatef(-kEye[0], -kEye[1], -kEye[2]);
  }

  // Three particles of one kind about two units ahead of the eye, which
  // looks along (0.57, -0.34, -0.82); or that many times further, as large
  // to the eye.
  void placeParticles(int kind, float further = 1.0f) {
    particleSystem.emitInterval[kind] = 0.0f;
    const float spots[3][3] = {{1.1f, -0.1f, 1.4f}, {0.7f, 0.15f, 1.7f}, {1.4f, -0.35f, 1.1f}};
    for (const auto& at : spots) {
      float p[3];
      for (int i = 0; i < 3; ++i) p[i] = kEye[i] + further * (at[i] - kEye[i]);
      const int slot = particleSystem.emit(kind, p[0], p[1], p[2], 0.0f, 1.0f);
      ASSERT_GE(slot, 0);
      particleSystem.slots[slot].size = 0.25f * further;
      particleSystem.slots[slot].angle = 30.0f + 50.0f * slot;
    }
  }

  // The reference: each particle a square rolled and turned by the matrix stack.
  void drawReference(int kind, float now) {
    const bool sphere = kind == LaserBolt || kind == AlienShot;
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, kParticleAlphaCutoff);
    if (sphere) glEnable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D,
                  sphere ? particleSystem.sphereTexture : particleSystem.smokeTexture);
    for (const Particle& p : particleSystem.slots) {
      if (p.active == 0) continue;
      const float a = sphere ? 1.0f : particleEnvelope(kind, (now - p.birthTime) / p.lifetime);
      glColor4f(p.color[0] * particleSystem.colorScaleR[kind] * a,
                p.color[1] * particleSystem.colorScaleG[kind] * a,
                p.color[2] * particleSystem.colorScaleB[kind] * a, a);
      const float h = p.size;
      glPushMatrix();
      glTranslatef(p.position[0], p.position[1], p.position[2]);
      glRotatef(-kHeading, 0, 1, 0);
      glRotatef(-kPitch, 1, 0, 0);
      glRotatef(p.angle, 0, 0, 1);
      glBegin(GL_QUADS);
      glTexCoord2f(0, 0);
      glVertex3f(-h, -h, 0);
      glTexCoord2f(1, 0);
      glVertex3f(h, -h, 0);
      glTexCoord2f(1, 1);
      glVertex3f(h, h, 0);
      glTexCoord2f(0, 1);
      glVertex3f(-h, h, 0);
      glEnd();
      glPopMatrix();
    }
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  }

  // 15 % into a flame's life, where it shines at full brightness.
  static float fullBrightness() { return particleSystem.lifeSpan[Flame] * 0.15f; }

  std::vector<uint8_t> frame(int kind, bool reference, float now) {
    clearToBlack();
    view();
    if (reference) {
      drawReference(kind, now);
    } else {
      particleSystem.draw(kind, 1.0f, 1.0f, kPitch, kHeading, now);
      glDisable(GL_DEPTH_TEST);
    }
    std::vector<uint8_t> pixels(kSize * kSize * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kSize, kSize, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }

  Difference compare(int kind, float now) {
    const std::vector<uint8_t> expected = frame(kind, true, now);
    const std::vector<uint8_t> drawn = frame(kind, false, now);
    Difference d{0, 0, 0, 0};
    for (size_t i = 0; i < expected.size(); i += 3) {
      int worst = 0;
      for (size_t c = 0; c < 3; ++c)
        worst = std::max(worst, std::abs(expected[i + c] - drawn[i + c]));
      d.largest = std::max(d.largest, worst);
      if (worst > 8) ++d.pixels;
      if (expected[i] + expected[i + 1] + expected[i + 2] > 60) ++d.lit;
      if (expected[i] + expected[i + 1] + expected[i + 2] > 0 && drawn[i] + drawn[i + 1] + drawn[i + 2] == 0) ++d.cut;
    }
    return d;
  }
};

TEST_F(BillboardBatch, TexturesHaveATightVisibleDiscThatShrinksForBrighterTexels) {
  const int cutoff = static_cast<int>(kParticleAlphaCutoff * 255.0f);
  for (const float* radii : {particleSystem.smokeSpriteRadii, particleSystem.sphereSpriteRadii}) {
    EXPECT_GT(radii[cutoff], 0.2f);
    EXPECT_LT(radii[cutoff], 0.5f);
    for (int v = 1; v < kAlphaLevels; ++v) ASSERT_LE(radii[v], radii[v - 1]) << v;
    EXPECT_LT(radii[200], radii[cutoff] * 0.8f);
  }
  float missing[kAlphaLevels];
  spriteRadii(0, missing);
  for (float r : missing) ASSERT_FLOAT_EQ(r, kWholeSquare);
}

TEST_F(BillboardBatch, FlamesLookTheSameAsTurnedSquares) {
  placeParticles(Flame);
  const Difference d = compare(Flame, fullBrightness());
  EXPECT_GT(d.lit, 1000) << "nothing to compare: the flames did not show";
  EXPECT_LT(d.pixels, d.lit / 100) << "largest difference " << d.largest;
}

TEST_F(BillboardBatch, FadingFlamesLoseNoPixelToTheirSmallerOutline) {
  // A colour scale so strong that every fragment that passes the alpha test
  // shows, however faint the particle: a pixel cut away by too small an
  // outline is black where the reference is lit.
  for (float* scale : {particleSystem.colorScaleR, particleSystem.colorScaleG,
                       particleSystem.colorScaleB}) {
    scale[Flame] = 40.0f;
  }
  placeParticles(Flame);
  // Ages along a flame's life: rising, full, fading, almost and wholly gone.
  for (float age : {0.02f, 0.15f, 0.5f, 0.75f, 0.9f, 0.95f, 0.99f}) {
    const Difference d = compare(Flame, particleSystem.lifeSpan[Flame] * age);
    EXPECT_EQ(d.cut, 0) << "age " << age;
    EXPECT_LT(d.pixels, d.lit / 100 + 1) << "age " << age << ", largest difference " << d.largest;
  }
}

TEST_F(BillboardBatch, InTheFogTheyLookAsUnderTheGlFog) {
  setUpFog();
  glEnable(GL_FOG);
  // Nearer than the fog's start, deep in it, and beyond its end.
  for (float further : {0.2f, 2.5f, 6.0f}) {
    particleSystem.clear();
    placeParticles(Flame, further);
    const Difference d = compare(Flame, fullBrightness());
    EXPECT_LE(d.largest, 1) << "particles " << 2 * further << " units away";
    if (further < 5.0f) {
      EXPECT_GT(d.lit, 300) << "particles " << 2 * further << " units away";
    }
  }
  glDisable(GL_FOG);
}

TEST_F(BillboardBatch, BoltsLookTheSameAsTurnedSquares) {
  placeParticles(LaserBolt);
  const Difference d = compare(LaserBolt, 0.0f);
  EXPECT_GT(d.lit, 500);
  EXPECT_LT(d.pixels, d.lit / 100) << "largest difference " << d.largest;
}

TEST_F(BillboardBatch, InLineModeTheSquaresKeepTheirOutline) {
  placeParticles(Flame);
  settings.polyMode = 1;
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  // Line mode draws only the edges, which sample the dark border of the
  // texture: both pictures are (nearly) black, and no octagon or triangle
  // edge may cross the lit middle of the texture.
  glLineWidth(3.0f);
  const Difference d = compare(Flame, fullBrightness());
  glLineWidth(1.0f);
  EXPECT_EQ(d.pixels, 0) << "largest difference " << d.largest;
}

TEST_F(BillboardBatch, AMissingTextureShowsTheWholeSquare) {
  particleSystem.smokeTexture = 0;
  spriteRadii(0, particleSystem.smokeSpriteRadii);
  placeParticles(Flame);
  const Difference d = compare(Flame, fullBrightness());
  EXPECT_GT(d.lit, 2000);
  EXPECT_LT(d.pixels, d.lit / 100) << "largest difference " << d.largest;
}

}  // namespace
