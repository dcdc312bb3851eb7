// Fog put into the vertex colour draws what the GL's own fog drew: quads that
// reach behind the eye, cross the fog's start and end, or lie wholly inside
// it, each drawn both ways with the wall texture and compared pixel by pixel.
// Two differences are allowed, both from rounding: a colour channel one level
// off where texel times colour lies close to half way between two levels
// (the renderer rounds the colour to 8 bits before it modulates), and, very
// rarely, a 2 x 2 block that takes the neighbouring mip level because the
// corners of a cut piece put its level of detail on the other side of the
// boundary.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "gfx/fog.h"
#include "gfx/textures.h"
#include "gl/gl_support.h"
#include "support/state.h"

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Quad {
  const char* what;
  float corners[4][3];
};

const Quad kQuads[] = {
    {"floor from behind the eye to beyond the fog",
     {{-2, -0.5f, 3}, {-2, -0.5f, -20}, {2, -0.5f, -20}, {2, -0.5f, 3}}},
    {"side wall from behind the eye into the fog",
     {{-1, -1, 2}, {-1, 1, 2}, {-1, 1, -15}, {-1, -1, -15}}},
    {"tilted quad inside the fog", {{-3, -2, -4}, {-3, 2, -4}, {3, 2, -8}, {3, -2, -8}}},
    {"ceiling just above the eye, all nearer than the fog's start",
     {{-0.3f, 0.1f, 0.2f}, {0.3f, 0.1f, 0.2f}, {0.3f, 0.1f, -0.4f}, {-0.3f, 0.1f, -0.4f}}},
};

// The walls' and the floor's grey after the fade-in, and one of the fade-in.
const float kTints[] = {1.0f, 0.75f, 0.5f};

std::vector<uint8_t> draw(const Quad& q, float level, bool glFog) {
  const float s[4] = {0, 0, 4, 4};
  const float t[4] = {0, 2, 2, 0};
  const float color[4] = {level, level, level, 1.0f};
  clearToBlack();
  glClear(GL_DEPTH_BUFFER_BIT);
  if (glFog) {
    glEnable(GL_FOG);
    glColor4fv(color);
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
      glTexCoord2f(s[i], t[i]);
      glVertex3fv(q.corners[i]);
    }
    glEnd();
    glDisable(GL_FOG);
  } else {
    drawFoggedQuad(q.corners, s, t, color);
  }
  return readRegion(0, kWidth, 0, kHeight);
}
}  // namespace

TEST(Fog, VertexColourFogMatchesTheGlFog) {
  restoreProgramState();
  resizeTestWindow(kWidth, kHeight);
  loadTestResources();
  setUpFog();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(60.0, double(kWidth) / kHeight, 0.02, 50.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, textureSet.names[WallSlot]);
  for (const Quad& q : kQuads) {
    for (const float tint : kTints) {
      const std::vector<uint8_t> reference = draw(q, tint, true);
      const std::vector<uint8_t> drawn = draw(q, tint, false);
      int lit = 0;
      int offByOne = 0;
      int offByMore = 0;
      for (size_t i = 0; i < drawn.size(); ++i) {
        lit += reference[i] > 0 ? 1 : 0;
        const int d = std::abs(int(drawn[i]) - int(reference[i]));
        offByOne += d == 1 ? 1 : 0;
        offByMore += d > 1 ? 1 : 0;
      }
      EXPECT_GT(lit, 1000) << q.what;
      EXPECT_LE(offByOne, lit / 20) << q.what << " at " << tint;
      EXPECT_LE(offByMore, lit / 5000) << q.what << " at " << tint;
    }
  }
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  restoreProgramState();
}
