// The scene's parameters, changed at run time by the keys and read by the
// frame; resetSettings puts back their start-up values.
#pragma once

class SceneSettings {
 public:
  virtual ~SceneSettings() {}

  int fov;         // vertical field of view, degrees
  int letterbox;   // 0..6, bars of 5 % of the height each
  int universe;    // star field drawn
  int blanking;    // buffers cleared each frame; 0 is hyperspace
  int spotLights;  // the targets lit by the spotlight
  int textures;    // the tunnels and particles textured
  int polyMode;    // 0 polygons, 1 lines, 2 points
  int cameraMode;  // 0 automatic path, 1 manual
  int particleOption;
  int frameClock;  // frame-rate readout shown
  float rotateSpeed;
  float movementSpeed;
  float cameraZ;
  float objectSize;
  float effectScale;
  float lightRotateSpeed;
  float health;  // the player's health, 0..1
};

extern SceneSettings settings;

void resetSettings();
