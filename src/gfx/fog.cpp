#include "gfx/fog.h"

#include <GL/gl.h>

#include <algorithm>
#include <limits>

namespace {
// A corner with what the GL interpolates across a triangle: the texture
// coordinates and the fog coordinate, the distance from the eye plane.
struct FogVertex {
  float position[3];
  float s;
  float t;
  float depth;
};

float fogFactor(float depth) {
  return std::clamp((kFogEnd - depth) / (kFogEnd - kFogStart), 0.0f, 1.0f);
}

// The fog coordinate as the GL takes it: the size of the eye-space z.
float eyeDepth(const float modelView[16], const float p[3]) {
  const float z = modelView[2] * p[0] + modelView[6] * p[1] + modelView[10] * p[2] + modelView[14];
  return z < 0.0f ? -z : z;
}

// The point between a and b at the given depth, worked out from the nearer
// of the two whichever way round they come, so that the two triangles
// sharing an edge cut it at exactly the same point.
FogVertex atDepth(const FogVertex& a, const FogVertex& b, float depth) {
  const FogVertex& from = a.depth < b.depth ? a : b;
  const FogVertex& to = a.depth < b.depth ? b : a;
  const float k = (depth - from.depth) / (to.depth - from.depth);
  FogVertex v{};
  for (int i = 0; i < 3; ++i)
    v.position[i] = from.position[i] + k * (to.position[i] - from.position[i]);
  v.s = from.s + k * (to.s - from.s);
  v.t = from.t + k * (to.t - from.t);
  v.depth = depth;
  return v;
}

void emitVertex(const FogVertex& v, const float color[4]) {
  const float f = fogFactor(v.depth);
  glColor4f(color[0] * f, color[1] * f, color[2] * f, color[3]);
  glTexCoord2f(v.s, v.t);
  glVertex3fv(v.position);
}

// The fog factor is linear in the fog coordinate only between the fog's
// start and end and constant beyond them, while the GL interpolates colours
// linearly across a triangle. So the triangle is cut where the fog
// coordinate crosses the start and the end, and each piece is drawn with
// the factor at its corners: across each piece the colour is then what the
// GL's fog would have made of every pixel.
void emitFoggedTriangle(const FogVertex& a, const FogVertex& b, const FogVertex& c,
                        const float color[4]) {
  constexpr float kCuts[2] = {kFogStart, kFogEnd};
  const FogVertex* corners[3] = {&a, &b, &c};
  // The outline with the cuts in place: at most two on each edge.
  FogVertex outline[9];
  int n = 0;
  for (int i = 0; i < 3; ++i) {
    const FogVertex& from = *corners[i];
    const FogVertex& to = *corners[(i + 1) % 3];
    outline[n++] = from;
    const bool rising = from.depth < to.depth;
    for (int k = 0; k < 2; ++k) {
      const float cut = kCuts[rising ? k : 1 - k];
      if (std::min(from.depth, to.depth) < cut && cut < std::max(from.depth, to.depth)) {
        outline[n++] = atDepth(from, to, cut);
      }
    }
  }
  // Each band's piece is the run of the outline inside it, a convex polygon.
  constexpr float kNowhere = std::numeric_limits<float>::max();
  const float bandEdges[4] = {-kNowhere, kFogStart, kFogEnd, kNowhere};
  for (int band = 0; band < 3; ++band) {
    const FogVertex* piece[9];
    int m = 0;
    for (int i = 0; i < n; ++i) {
      if (bandEdges[band] <= outline[i].depth && outline[i].depth <= bandEdges[band + 1]) {
        piece[m++] = &outline[i];
      }
    }
    for (int i = 1; i + 1 < m; ++i) {
      emitVertex(*piece[0], color);
      emitVertex(*piece[i], color);
      emitVertex(*piece[i + 1], color);
    }
  }
}
}  // namespace

void setUpFog() {
  static const float kFogColor[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glFogfv(GL_FOG_COLOR, kFogColor);
  glFogf(GL_FOG_START, kFogStart);
  glFogf(GL_FOG_END, kFogEnd);
}

void drawFoggedQuad(const float corners[4][3], const float s[4], const float t[4],
                    const float color[4]) {
  GLint polygonMode[2] = {GL_FILL, GL_FILL};
  glGetIntegerv(GL_POLYGON_MODE, polygonMode);
  if (polygonMode[0] != GL_FILL) {
    // Lines and points show the quad's own edges: the GL's fog, on the quad as it is.
    glEnable(GL_FOG);
    glColor4fv(color);
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
      glTexCoord2f(s[i], t[i]);
      glVertex3fv(corners[i]);
    }
    glEnd();
    glDisable(GL_FOG);
    return;
  }
  float modelView[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
  FogVertex v[4];
  for (int i = 0; i < 4; ++i) {
    const float* p = corners[i];
    v[i] = {{p[0], p[1], p[2]}, s[i], t[i], eyeDepth(modelView, p)};
  }
  // The two triangles the GL makes of a quad, whose last corner is shared.
  glBegin(GL_TRIANGLES);
  emitFoggedTriangle(v[0], v[1], v[3], color);
  emitFoggedTriangle(v[1], v[2], v[3], color);
  glEnd();
  glColor4fv(color);
}

float fogFactorAt(const float modelView[16], const float point[3]) {
  return fogFactor(eyeDepth(modelView, point));
}
