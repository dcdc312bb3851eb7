#include "core/run_state.h"

float fadeLevel = 1.0f;
int quitting = 0;
int paused = 0;
int helpScreen = 0;
int fullScreen = 1;
int windowedWidth = kWindowedSize;
int windowedHeight = kWindowedSize;

int windowWidth = 0;
int windowHeight = 0;

void setWindowSize(int width, int height) {
  windowWidth = width;
  windowHeight = height;
}
