#include "text/text_renderer.h"

#include <cstring>

#include "core/run_state.h"

TextRenderer screenText;

namespace {
constexpr int kGridColumns = 16;
constexpr float kCellWidth = 1.0f / 16.0f;  // in texture coordinates
constexpr float kCellHeight = 0.125f;
constexpr float kFirstRowBottom = 0.875f;
constexpr float kSampleShift = 0.01f;  // cells are sampled shifted by this in s and t
constexpr float kGlyphWidth = 0.5f;    // times size
constexpr float kPenAdvance = 0.45f;   // times size
constexpr float kAlphaCutoff = 0.1f;
}  // namespace

TextRenderer::TextRenderer()
    : messageX(0),
      messageY(0),
      lastX(0),
      lastY(0),
      recordText(1),
      messageExpiry(0.0),
      color{1.0f, 1.0f, 1.0f, 1.0f},
      lastText{},
      fontTexture(0) {
  resetMessagePosition();
}

void TextRenderer::resetMessagePosition() {
  messageX = 10;
  messageY = 25;
}

GlyphCell glyphCell(unsigned char c) {
  const int index = static_cast<unsigned char>(c - 32);
  const int column = index % kGridColumns;
  const int row = index / kGridColumns;
  return {column, row, column * kCellWidth + kSampleShift,
          kFirstRowBottom - row * kCellHeight - kSampleShift};
}

int16_t advancePen(int16_t pen, float size) {
  return static_cast<int16_t>(pen + kPenAdvance * size);
}

void TextRenderer::drawText(const char* text, int16_t x, int16_t y, float size) {
  const int height = windowHeight;
  const int width = windowWidth;
  const int16_t baseline = static_cast<int16_t>(height - y);
  const size_t length = std::strlen(text);
  const float glyphWidth = kGlyphWidth * size;

  if (recordText != 0) {
    lastX = x;
    lastY = y;
    // Texts of 80 bytes or more are drawn whole but remembered cut to 79.
    // drawMessage redraws lastText itself, which needs no copy.
    if (text != lastText) {
      std::strncpy(lastText, text, kTextCapacity - 1);
      lastText[kTextCapacity - 1] = '\0';
    }
  }
  // Before the window has a size (a greeting shown at start-up) there is
  // nothing to draw into, and a projection of no size is a GL error that the
  // first frame would print on the screen.
  if (width <= 0 || height <= 0) return;

  glColor4fv(color);
  glEnable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, fontTexture);
  glDepthMask(GL_FALSE);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, kAlphaCutoff);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);  // text stays solid in line and point modes

  glPushMatrix();
  glPushAttrib(GL_VIEWPORT_BIT);
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  int16_t pen = x;
  for (size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c != ' ') {
      const GlyphCell cell = glyphCell(c);
      const float left = pen;
      const float right = pen + glyphWidth;
      const float bottom = baseline;
      const float top = baseline + size;
      glBegin(GL_QUADS);
      glTexCoord2f(cell.s0, cell.t0);
      glVertex2f(left, bottom);
      glTexCoord2f(cell.s0 + kCellWidth, cell.t0);
      glVertex2f(right, bottom);
      glTexCoord2f(cell.s0 + kCellWidth, cell.t0 + kCellHeight);
      glVertex2f(right, top);
      glTexCoord2f(cell.s0, cell.t0 + kCellHeight);
      glVertex2f(left, top);
      glEnd();
    }
    pen = advancePen(pen, size);
  }

  glPopMatrix();
  glPopAttrib();
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
  glDepthMask(GL_TRUE);

}
