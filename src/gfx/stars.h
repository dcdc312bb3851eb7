// The star universe: points in a shell around the scene, recorded once into
// a display list and drawn three times a frame (sizes 1, 2 and 3, turned
// about y) under the frame driver's slow rotations.
#pragma once

enum StarShape { SphereShell = 0, CubeShell = 1, UpperSphereShell = 2 };

class StarUniverse {
 public:
  StarUniverse() : listId(-1) {}
  virtual ~StarUniverse() {}

  // count stars between half-sizes inner and outer; mode picks the shape
  // (1 cube shell, 2 upper spherical shell, anything else spherical shell).
  void buildStars(int count, float outer, float inner, int mode);
  void drawStars();
  void releaseStars();

  int listId;  // the display list, -1 when there is none
};

extern StarUniverse universeStars;

// One star position by rejection sampling (three random draws per try).
void pickStarPosition(float outer, float inner, int mode, double* x, double* y, double* z);
