// Preloaded into a GL program to save chosen frames from outside: before the
// swaps whose numbers CRYPTWELL_GRAB_FRAMES lists (comma-separated, counted
// from 1), the back buffer is read and written to CRYPTWELL_GRAB_DIR as
// frame-<number>.ppm. With the program's synthetic clock (--benchmark) the
// same frame numbers show the same simulated moments in every build, so two
// builds' pictures can be compared pixel by pixel.
#include <GL/gl.h>
#include <GL/glx.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
using SwapFunction = void (*)(Display*, GLXDrawable);
SwapFunction realSwap = nullptr;
long swaps = 0;

bool wanted(long frame) {
  const char* p = std::getenv("CRYPTWELL_GRAB_FRAMES");
  while (p != nullptr && *p != '\0') {
    char* end = nullptr;
    if (std::strtol(p, &end, 10) == frame) return true;
    if (*end != ',') return false;
    p = end + 1;
  }
  return false;
}

void grab(Display* display, GLXDrawable drawable, long frame) {
  unsigned int width = 0;
  unsigned int height = 0;
  glXQueryDrawable(display, drawable, GLX_WIDTH, &width);
  glXQueryDrawable(display, drawable, GLX_HEIGHT, &height);
  std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  const char* dir = std::getenv("CRYPTWELL_GRAB_DIR");
  const std::string path = std::string(dir != nullptr ? dir : ".") + "/frame-" +
                           std::to_string(frame) + ".ppm";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  std::fprintf(file, "P6\n%d %d\n255\n", width, height);
  for (long row = long(height) - 1; row >= 0; --row) {  // GL's rows run bottom up
    std::fwrite(rgb.data() + static_cast<size_t>(row) * width * 3, 1, width * 3, file);
  }
  std::fclose(file);
}
}  // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  if (realSwap == nullptr) {
    realSwap = reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
  }
  ++swaps;
  if (wanted(swaps)) grab(display, drawable, swaps);
  realSwap(display, drawable);
}
