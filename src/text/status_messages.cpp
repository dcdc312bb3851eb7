// The status message (three seconds, top left), the frame-rate readout (top
// right) and the GL error line (top middle), all on the message row: the
// TextRenderer's members for them (declared in text/text_renderer.h).
#include <GL/glu.h>

#include <cstdio>

#include "core/frame_clock.h"
#include "core/run_state.h"
#include "text/text_renderer.h"

namespace {
constexpr int kFrameRateFromRight = 120;
constexpr double kErrorLineAt = 0.4;  // share of the window width
constexpr int kErrorTextLimit = 60;
}  // namespace

void TextRenderer::showFormatted(const char* text) {
  drawText(text, static_cast<int16_t>(messageX), static_cast<int16_t>(messageY), kMessageSize);
  messageExpiry = clockSeconds() + kMessageSeconds;
}

// Formatting is bounded by the buffer: a longer text is cut to 79 characters.
void TextRenderer::showMessage(const char* format) {
  char text[kTextCapacity];
  std::snprintf(text, sizeof text, "%s", format);
  showFormatted(text);
}

void TextRenderer::showMessage(const char* format, int value) {
  char text[kTextCapacity];
  std::snprintf(text, sizeof text, format, value);
  showFormatted(text);
}

void TextRenderer::showMessage(const char* format, double value) {
  char text[kTextCapacity];
  std::snprintf(text, sizeof text, format, value);
  showFormatted(text);
}

void TextRenderer::drawMessage() {
  if (clockSeconds() >= messageExpiry) {
    messageExpiry = 0.0;
    return;
  }
  drawText(lastText, static_cast<int16_t>(lastX), static_cast<int16_t>(lastY), kMessageSize);
}

void TextRenderer::drawFrameRate(int rate) {
  recordText = 0;
  char text[kTextCapacity];
  std::snprintf(text, sizeof text, "%3d Frame/Sec", rate);
  drawText(text, static_cast<int16_t>(windowWidth - kFrameRateFromRight),
           static_cast<int16_t>(messageY), kMessageSize);
  recordText = 1;
}

void TextRenderer::drawGlError() {
  recordText = 0;
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR) {
    const GLubyte* description = gluErrorString(error);
    const char* name = description != nullptr ? reinterpret_cast<const char*>(description) : "";
    char text[kTextCapacity];
    std::snprintf(text, sizeof text, "OpenGL Error: %.*s", kErrorTextLimit, name);
    drawText(text, static_cast<int16_t>(windowWidth * kErrorLineAt), static_cast<int16_t>(messageY),
             kMessageSize);
    // The error line is not remembered, so this brings back the last status
    // message along with it for three seconds.
    messageExpiry = clockSeconds() + kMessageSeconds;
  }
  recordText = 1;
}
