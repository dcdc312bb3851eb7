// Bitmap-font text in window pixels, and the timed status message.
// One glyph quad per character from a 16 x 8 grid of 8 x 16 cells in the
// font texture. Positions: x from the left edge to the first glyph, y from
// the TOP edge down to the glyph bottoms; glyphs rise `size` pixels above y.
// The last text drawn while recordText is set is remembered: showMessage
// keeps it on screen for three seconds through drawMessage. The members of
// the message row (showMessage, drawMessage, drawFrameRate, drawGlError)
// are defined in text/status_messages.cpp, the glyphs in text_renderer.cpp.
#pragma once
#include <GL/gl.h>

#include <cstdint>

constexpr int kTextCapacity = 80;  // bytes, terminator included
constexpr float kMessageSize = 20.0f;
constexpr double kMessageSeconds = 3.0;

class TextRenderer {
 public:
  TextRenderer();
  virtual ~TextRenderer() {}

  void drawText(const char* text, int16_t x, int16_t y, float size);
  void resetMessagePosition();

  void showMessage(const char* format);
  void showMessage(const char* format, int value);
  void showMessage(const char* format, double value);
  void drawMessage();
  void drawFrameRate(int framesPerSecond);
  void drawGlError();

  int messageX;
  int messageY;
  int lastX;
  int lastY;
  int recordText;
  double messageExpiry;  // clock seconds; 0.0 while no message is showing
  float color[4];
  char lastText[kTextCapacity];
  GLuint fontTexture;

 private:
  void showFormatted(const char* text);
};

extern TextRenderer screenText;

// The cell of the font grid a byte samples, and the texture rectangle drawn.
struct GlyphCell {
  int column;
  int row;
  float s0;  // left edge
  float t0;  // bottom edge
};
GlyphCell glyphCell(unsigned char c);
// Pen position after one glyph: truncated toward zero, kept in 16 bits.
int16_t advancePen(int16_t pen, float size);
