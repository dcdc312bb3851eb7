// The window's GLUT callbacks: display, idle and reshape, and the seeding
// before the window opens.
#pragma once

bool PreInit();  // seeds the random generator from the clock
void onReshape(int width, int height);
void onDisplay();
void onIdle();
