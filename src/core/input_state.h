// What the arrow keys and the mouse left for the next frame: which arrows are
// held, the pointer's offset from the centre point, whether it moved, and
// whether the left button is held. Written by the input handlers, read by
// walking, looking and firing.
#pragma once

enum ArrowBit { ArrowLeft = 1, ArrowRight = 2, ArrowUp = 4, ArrowDown = 8 };

constexpr int kPointerCentreX = 450;  // the usual centre point, in window pixels
constexpr int kPointerCentreY = 350;

struct PointerPoint {
  int x, y;
};

// Where the manual camera re-centres the pointer and measures its offsets
// from: (450, 350) while that point lies inside the window, else the
// window's middle, so the pointer is never warped outside the window, where
// no motion would come back to stop the turn.
PointerPoint pointerCentre();

extern int arrowKeys;   // ArrowBit set
extern int mouseDX;     // pointer x minus the centre point's at the last pointer event
extern int mouseDY;     // the same for y (y grows downward)
extern int mouseMoved;  // a pointer event arrived since the last re-centre
extern int fireHeld;    // left button held
