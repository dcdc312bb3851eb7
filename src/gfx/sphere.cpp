#include "gfx/sphere.h"

#include <GL/gl.h>

#include <cmath>

#include "core/easing.h"

static void sphereVertex(double radius, double phi, double theta, double s, double t) {
  const double nx = std::sin(phi) * std::sin(theta);
  const double ny = std::cos(phi);
  const double nz = std::sin(phi) * std::cos(theta);
  glNormal3d(nx, ny, nz);
  glTexCoord2d(s, t);
  glVertex3d(radius * nx, radius * ny, radius * nz);
}

void drawSphere(double radius, int slices, int stacks, double sScale, double tScale, double sOffset,
                double tOffset) {
  const double dTheta = kTwoPi / slices;
  const double dPhi = kPi / (stacks - 1);
  for (int i = 0; i <= stacks - 2; ++i) {
    const double phi0 = i * dPhi;
    const double phi1 = (i + 1) * dPhi;
    const double t0 = i * tScale / stacks + tOffset;
    const double t1 = (i + 1) * tScale / stacks + tOffset;
    glBegin(GL_TRIANGLE_STRIP);
    // The strip runs from the last column down to -1, which repeats the
    // last column with s one whole sScale lower, so the ring closes and a
    // texture repeated around the sphere wraps without a seam.
    for (int j = slices - 1; j >= -1; --j) {
      const int k = (j == -1) ? slices - 1 : j;
      const double theta = k * dTheta;
      const double s = j * sScale / slices + sOffset;
      sphereVertex(radius, phi1, theta, s, t1);
      sphereVertex(radius, phi0, theta, s, t0);
    }
    glEnd();
  }
}
