// Helpers of the GL tests: the test window, resizing it, and reading pixels.
#pragma once
#include <GL/gl.h>

#include <cstdint>

struct Rgb {
  int r, g, b;
};

void openTestWindow(int* argc, char** argv);
// Resizes the window and waits until GLUT reports the new size, then tells
// the program (as the reshape callback would).
void resizeTestWindow(int width, int height);
// Pixel of the back buffer at window coordinates counted from the TOP edge.
Rgb pixelAt(int x, int yFromTop);
// Rows from the top, between which some pixel in columns [x0, x1) is lit
// above the threshold; returns false when nothing is lit.
bool litRows(int x0, int x1, int threshold, int* firstRow, int* lastRow);
bool litColumns(int y0, int y1, int threshold, int* firstColumn, int* lastColumn);
void clearToBlack();
// Loads the program's textures afresh (releasing those of an earlier call),
// then installs the world's draw callbacks and the emitter values as start-up does.
void loadTestResources();
