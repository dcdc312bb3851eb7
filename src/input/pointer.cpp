#include "input/pointer.h"

#include <GL/freeglut.h>

#include "core/input_state.h"

namespace {
int arrowBit(int key) {
  switch (key) {
    case GLUT_KEY_LEFT: return ArrowLeft;
    case GLUT_KEY_RIGHT: return ArrowRight;
    case GLUT_KEY_UP: return ArrowUp;
    case GLUT_KEY_DOWN: return ArrowDown;
    default: return 0;
  }
}
}  // namespace

void onSpecialKeyDown(int key, int, int) { arrowKeys |= arrowBit(key); }

void onSpecialKeyUp(int key, int, int) { arrowKeys &= ~arrowBit(key); }

void onMouseMotion(int x, int y) {
  mouseMoved = 1;
  const PointerPoint centre = pointerCentre();
  mouseDX = x - centre.x;
  mouseDY = y - centre.y;
}

void onMouseButton(int button, int state, int x, int y) {
  // Other buttons, and wheel steps reported as buttons, change nothing at all.
  if (button != GLUT_LEFT_BUTTON) return;
  if (state == GLUT_DOWN) fireHeld = 1;
  if (state == GLUT_UP) fireHeld = 0;
  onMouseMotion(x, y);
}
