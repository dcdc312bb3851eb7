// What the arrow keys and the mouse left for the next frame: which arrows are
// held, the pointer's offset from the fixed centre, whether it moved, and
// whether the left button is held. Written by the input handlers, read by
// walking, looking and firing.
#pragma once

enum ArrowBit { ArrowLeft = 1, ArrowRight = 2, ArrowUp = 4, ArrowDown = 8 };

constexpr int kPointerCentreX = 450;  // the pointer is warped back here
constexpr int kPointerCentreY = 350;

extern int arrowKeys;   // ArrowBit set
extern int mouseDX;     // pointer x - 450 at the last pointer event
extern int mouseDY;     // pointer y - 350 (y grows downward)
extern int mouseMoved;  // a pointer event arrived since the last re-centre
extern int fireHeld;    // left button held
