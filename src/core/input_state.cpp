#include "core/input_state.h"

#include "core/run_state.h"

int arrowKeys = 0;
int mouseDX = 0;
int mouseDY = 0;
int mouseMoved = 0;
int fireHeld = 0;

PointerPoint pointerCentre() {
  if (kPointerCentreX < windowWidth && kPointerCentreY < windowHeight) {
    return {kPointerCentreX, kPointerCentreY};
  }
  return {windowWidth / 2, windowHeight / 2};
}
