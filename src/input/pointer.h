// The arrow-key and mouse callbacks: they record plain input state for the
// next frame to read (core/input_state.h).
#pragma once

void onSpecialKeyDown(int key, int x, int y);
void onSpecialKeyUp(int key, int x, int y);
void onMouseButton(int button, int state, int x, int y);
void onMouseMotion(int x, int y);
