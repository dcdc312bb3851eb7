// Arrow keys and the mouse, recorded as plain state for the next frame:
// which arrows are held, the pointer's offset from the fixed centre, whether
// it moved, and whether the left button is held.
#pragma once

enum ArrowBit { ArrowLeft = 1, ArrowRight = 2, ArrowUp = 4, ArrowDown = 8 };

constexpr int kPointerCentreX = 450;  // the pointer is warped back here
constexpr int kPointerCentreY = 350;

extern int arrowKeys;   // ArrowBit set
extern int mouseDX;     // pointer x - 450 at the last pointer event
extern int mouseDY;     // pointer y - 350 (y grows downward)
extern int mouseMoved;  // a pointer event arrived since the last re-centre
extern int fireHeld;    // left button held

void onSpecialKeyDown(int key, int x, int y);
void onSpecialKeyUp(int key, int x, int y);
void onMouseButton(int button, int state, int x, int y);
void onMouseMotion(int x, int y);
