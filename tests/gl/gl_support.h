// Helpers of the GL tests: the test window, resizing it, and reading pixels.
#pragma once
#include <GL/gl.h>

#include <cstdint>
#include <functional>
#include <vector>

struct Rgb {
  int r, g, b;
};

void openTestWindow(int* argc, char** argv);
// Lets GLUT deliver window-system events until `done` holds or a generous
// deadline passes (the server answers asynchronously, slowly when the
// machine is busy); returns whether `done` held. A test that waits for
// something that must not happen gives a shorter time.
bool pumpEventsUntil(const std::function<bool()>& done, double seconds = 10.0);
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

// Like litRows, but only rows [y0, y1) from the top are looked at.
bool litRowsIn(int x0, int x1, int y0, int y1, int threshold, int* firstRow, int* lastRow);
// The RGB bytes of the back buffer in columns [x0, x1) and rows [y0, y1)
// from the top, row by row from the top: for comparing two renderings.
std::vector<uint8_t> readRegion(int x0, int x1, int y0, int y1);
// A 128 x 128 opaque white texture: as the font it turns every glyph into a
// solid quad, so the quads' exact extents show in the pixels.
GLuint makeSolidWhiteTexture();
// An RGBA texture of edge x edge texels, linear filters, modulate, as the
// program's font and particle textures are set up.
GLuint makeTestTexture(int edge, const uint8_t* rgba);
// Keeps the GL driver mapped until the process ends. Mesa unloads it at exit
// before the leak check runs, and the driver's lifelong allocations then come
// from an unknown module that no suppression can name.
void keepGlDriverLoaded();
// resizeTestWindow followed by a buffer swap: Mesa gives the drawable its new
// size only at a swap, and until then clips drawing to the old size.
void resizeTestDrawable(int width, int height);

// Live particles of a kind anywhere in the pool.
int liveCount(int kind);

// Loads the program's textures afresh (releasing those of an earlier call),
// then installs the world's draw callbacks and the emitter values as start-up does.
void loadTestResources();
