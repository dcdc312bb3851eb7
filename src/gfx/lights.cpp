#include "gfx/lights.h"

#include <GL/gl.h>

#include "core/easing.h"

namespace {
constexpr float kSpotExponent = 30.0f;
constexpr float kSpotCutoff = 30.0f;  // degrees
constexpr int kFirstLightChannel = 50;
constexpr int kChannelsPerLight = 5;
constexpr double kColourRate = 30.0;
constexpr double kSwingRate = 5.0;
constexpr double kSwingDegrees = 720.0;

GLenum light(int i) { return static_cast<GLenum>(GL_LIGHT0 + i); }
}  // namespace

void setupLights(int count, float ambientLevel, float specularLevel) {
  if (count == 0) return;
  const float ambient[4] = {ambientLevel, ambientLevel, ambientLevel, 1.0f};
  const float specular[4] = {specularLevel, specularLevel, specularLevel, 1.0f};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
  for (int i = 0; i < count; ++i) {
    glLightf(light(i), GL_SPOT_EXPONENT, kSpotExponent);
    glLightf(light(i), GL_SPOT_CUTOFF, kSpotCutoff);
    glEnable(light(i));
  }
}

void updateLights(int count, float ambientFactor, float diffuseFactor, float specularFactor,
                  float level, float distance) {
  static const float kPosition[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  static const float kDirection[3] = {0.0f, 0.0f, -1.0f};
  for (int i = 0; i < count; ++i) {
    const int base = kFirstLightChannel + kChannelsPerLight * i;
    float ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float diffuse[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    for (int c = 0; c < 3; ++c) {
      // One light shines a steady grey; several change hue slowly.
      const double hue = count == 1 ? 1.0 : oscillatorValue(base + c, kColourRate, 0.5, 0.5);
      ambient[c] = static_cast<float>(hue * ambientFactor * level);
      diffuse[c] = static_cast<float>(hue * diffuseFactor * level);
      specular[c] = static_cast<float>(hue * specularFactor * level);
    }
    if (i == 0) glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightfv(light(i), GL_AMBIENT, ambient);
    glLightfv(light(i), GL_DIFFUSE, diffuse);
    glLightfv(light(i), GL_SPECULAR, specular);

    glPushMatrix();
    glRotatef(static_cast<float>(oscillatorValue(base + 3, kSwingRate, kSwingDegrees, 0.0)), 0.0f,
              1.0f, 0.0f);
    glRotatef(static_cast<float>(oscillatorValue(base + 4, kSwingRate, kSwingDegrees, 0.0)), 1.0f,
              0.0f, 0.0f);
    glTranslatef(0.0f, 0.0f, distance);
    glLightfv(light(i), GL_POSITION, kPosition);
    glLightfv(light(i), GL_SPOT_DIRECTION, kDirection);
    glPopMatrix();
  }
}
