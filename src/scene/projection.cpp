#include "scene/projection.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdint>

#include "core/run_state.h"
#include "core/settings.h"

namespace {
constexpr double kLetterboxStep = 0.05;  // share of the height each bar takes per step
constexpr double kNearPlane = 0.02;
constexpr double kFarBeyondEye = 40.0;
}  // namespace

LetterboxViewport letterboxViewport(int letterbox, int windowHeight) {
  const double f = letterbox * kLetterboxStep;
  const int16_t bottom = static_cast<int16_t>(f * windowHeight);
  const int16_t top = static_cast<int16_t>((1.0 - f) * windowHeight);
  return {bottom, top};
}

void applyCamera() {
  switch (settings.polyMode) {
    case 0: glPolygonMode(GL_FRONT_AND_BACK, GL_FILL); break;
    case 1: glPolygonMode(GL_FRONT_AND_BACK, GL_LINE); break;
    case 2: glPolygonMode(GL_FRONT_AND_BACK, GL_POINT); break;
    default: break;
  }

  const LetterboxViewport view = letterboxViewport(settings.letterbox, windowHeight);
  const int height = view.top - view.bottom;
  glViewport(0, view.bottom, windowWidth, height);

  // The aspect of the letterboxed viewport, so the bars do not squash the
  // picture. A zero height (before the first reshape) gives inf or NaN here,
  // which GLU accepts without fault and the next frame replaces.
  const double aspect = static_cast<double>(windowWidth) / height;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(settings.fov, aspect, kNearPlane, settings.cameraZ + kFarBeyondEye);

  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(0.0, 0.0, settings.cameraZ, 0.0, 0.0, settings.cameraZ - 1.0, 0.0, 1.0, 0.0);
}
