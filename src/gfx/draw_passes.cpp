#include "gfx/draw_passes.h"

#include <GL/gl.h>

#include <cstring>

unsigned passesLeftOut = 0;
bool flushBetweenPasses = true;

namespace {
bool everyPassLeftOut = false;
constexpr const char* kPassNames[kDrawPasses] = {"clear",   "stars",     "world",
                                                 "targets", "particles", "overlays"};
}  // namespace

const char* drawPassName(DrawPass pass) { return kPassNames[static_cast<int>(pass)]; }

bool parseDrawPasses(const char* list, unsigned* passes) {
  unsigned found = 0;
  const char* at = list;
  while (true) {
    const char* comma = std::strchr(at, ',');
    const size_t length = comma != nullptr ? static_cast<size_t>(comma - at) : std::strlen(at);
    int pass = 0;
    while (pass < kDrawPasses && (std::strlen(kPassNames[pass]) != length ||
                                  std::strncmp(kPassNames[pass], at, length) != 0)) {
      ++pass;
    }
    if (pass == kDrawPasses) return false;
    found |= 1u << pass;
    if (comma == nullptr) break;
    at = comma + 1;
  }
  *passes = found;
  return true;
}

void leaveOutEveryPass(bool every) {
  if (every == everyPassLeftOut) return;
  everyPassLeftOut = every;
  if (!every) glDisable(GL_RASTERIZER_DISCARD);  // the next mark may touch no state
}

void beginPass(DrawPass pass) {
  if (flushBetweenPasses) glFlush();
  if (passesLeftOut == 0 && !everyPassLeftOut) return;  // the whole frame: no state to touch
  // Discarding at the rasteriser keeps every vertex, matrix and state change
  // of the pass, so the GL state the next pass finds is the same.
  if (everyPassLeftOut || (passesLeftOut & (1u << static_cast<int>(pass))) != 0) {
    glEnable(GL_RASTERIZER_DISCARD);
  } else {
    glDisable(GL_RASTERIZER_DISCARD);
  }
}
