#include "core/input_state.h"

int arrowKeys = 0;
int mouseDX = 0;
int mouseDY = 0;
int mouseMoved = 0;
int fireHeld = 0;
