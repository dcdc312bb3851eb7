// The window and its GLUT callbacks: size, display, idle and reshape.
#pragma once

constexpr const char* kProductName = "Cryptwell";  // window title and caption

extern int windowWidth;  // as last reported by GLUT; 0 until the first reshape
extern int windowHeight;

bool PreInit();  // seeds the random generator from the clock
void onReshape(int width, int height);
void onDisplay();
void onIdle();
