#include "gfx/stars.h"

#include <GL/gl.h>

#include <cmath>

#include "core/random.h"

StarUniverse universeStars;

namespace {
constexpr double kInnerMargin = 0.01;
constexpr double kTintedChance = 0.1;

bool accepted(int mode, double x, double y, double z, float outer, float inner) {
  if (mode == CubeShell) {
    const double edge = inner + kInnerMargin;
    return std::fabs(x) >= edge || std::fabs(y) >= edge || std::fabs(z) >= edge;
  }
  const double d = std::sqrt(x * x + y * y + z * z);
  if (!(inner <= d && d <= outer)) return false;
  return mode != UpperSphereShell || y >= 0.0;
}
}  // namespace

void pickStarPosition(float outer, float inner, int mode, double* x, double* y, double* z) {
  const double span = 2.0 * outer;
  do {
    *x = randomValue(span) - outer;
    *y = randomValue(span) - outer;
    *z = randomValue(span) - outer;
  } while (!accepted(mode, *x, *y, *z, outer, inner));
}

void StarUniverse::buildStars(int count, float outer, float inner, int mode) {
  releaseStars();
  listId = static_cast<int>(glGenLists(1));
  glNewList(static_cast<GLuint>(listId), GL_COMPILE);
  glBegin(GL_POINTS);
  for (int i = 0; i < count; ++i) {
    double x, y, z;
    pickStarPosition(outer, inner, mode, &x, &y, &z);
    // About one star in ten is strongly tinted; the rest are pale.
    const bool tinted = randomValue(1.0) < kTintedChance;
    const double range = tinted ? 0.5 : 0.3;
    const double base = tinted ? 0.3 : 0.5;
    const float blue = static_cast<float>(randomValue(range) + base);
    const float green = static_cast<float>(randomValue(range) + base);
    const float red = static_cast<float>(randomValue(range) + base);
    glColor3f(red, green, blue);
    glVertex3d(x, y, z);
  }
  glEnd();
  glEndList();
}

void StarUniverse::drawStars() {
  glColor3f(1.0f, 1.0f, 1.0f);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glPushMatrix();
  glPointSize(1.0f);
  glCallList(static_cast<GLuint>(listId));
  glRotatef(120.0f, 0.0f, 1.0f, 0.0f);
  glPointSize(2.0f);
  glCallList(static_cast<GLuint>(listId));
  // 240 more brings the third copy back onto the first, now at size 3.
  glRotatef(240.0f, 0.0f, 1.0f, 0.0f);
  glPointSize(3.0f);
  glCallList(static_cast<GLuint>(listId));
  glPopMatrix();
  glDisable(GL_BLEND);
}

void StarUniverse::releaseStars() {
  if (listId != -1) glDeleteLists(static_cast<GLuint>(listId), 1);
  listId = -1;
}
