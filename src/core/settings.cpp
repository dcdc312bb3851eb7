#include "core/settings.h"

SceneSettings settings;

void resetSettings() {
  settings.fov = 70;
  settings.letterbox = 0;
  settings.universe = 1;
  settings.blanking = 1;
  settings.spotLights = 1;
  settings.textures = 1;
  settings.polyMode = 0;
  settings.cameraMode = 0;
  settings.particleOption = 2;
  settings.frameClock = 0;
  settings.rotateSpeed = 3.0f;
  settings.movementSpeed = 1.0f;
  settings.cameraZ = 0.0f;
  settings.objectSize = 1.0f;
  settings.effectScale = 1.0f;
  settings.lightRotateSpeed = 1.0f;
  settings.health = 1.0f;
}
