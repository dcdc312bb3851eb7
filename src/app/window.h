// The program's own window, GLUT's: the display, idle, reshape and window
// status callbacks, and the seeding before the window opens. The idle
// callback keeps to the frame cap, if any; a window nobody can see draws
// nothing.
#pragma once

bool PreInit();  // seeds the random generator from the clock
void onReshape(int width, int height);
void onDisplay();
void onIdle();
void onWindowStatus(int state);
// Runs action once, right after the first frame is on screen, in the order
// given (two at most): work that no frame needs waits there, off the way to
// the first picture.
void runAfterFirstFrame(void (*action)());
