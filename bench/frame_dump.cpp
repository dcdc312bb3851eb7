// Preloaded into a GL program to keep the pictures it shows: at every Nth
// glXSwapBuffers (N from CRYPTWELL_FRAME_EVERY, 1 by default) the back
// buffer is read before it is shown and appended to the file named by
// CRYPTWELL_FRAME_DUMP, as raw RGB rows, bottom row first, preceded by a
// line "frame K WIDTH HEIGHT". Two builds that draw the same frames (the
// benchmark's synthetic clock) give the same file byte for byte.
#include <GL/glx.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
using SwapFunction = void (*)(Display*, GLXDrawable);

SwapFunction realSwap = nullptr;
std::FILE* dump = nullptr;
long every = 1;
long swaps = 0;
std::vector<unsigned char> pixels;

void keepBackBuffer(Display* display, GLXDrawable drawable) {
  unsigned width = 0;
  unsigned height = 0;
  glXQueryDrawable(display, drawable, GLX_WIDTH, &width);
  glXQueryDrawable(display, drawable, GLX_HEIGHT, &height);
  pixels.resize(static_cast<size_t>(width) * height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGB,
               GL_UNSIGNED_BYTE, pixels.data());
  std::fprintf(dump, "frame %ld %u %u\n", swaps, width, height);
  std::fwrite(pixels.data(), 1, pixels.size(), dump);
  std::fflush(dump);
}
}  // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  if (realSwap == nullptr) {
    realSwap = reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    const char* path = std::getenv("CRYPTWELL_FRAME_DUMP");
    dump = path != nullptr ? std::fopen(path, "wb") : nullptr;
    const char* n = std::getenv("CRYPTWELL_FRAME_EVERY");
    if (n != nullptr && std::atol(n) > 0) every = std::atol(n);
  }
  ++swaps;
  if (dump != nullptr && swaps % every == 0) keepBackBuffer(display, drawable);
  realSwap(display, drawable);
}
