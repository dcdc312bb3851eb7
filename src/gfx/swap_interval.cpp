#include "gfx/swap_interval.h"

#include <GL/glx.h>
#include <GL/glxext.h>

#include <cstring>

namespace {
bool offered(Display* display, const char* extension) {
  const char* list = glXQueryExtensionsString(display, DefaultScreen(display));
  if (list == nullptr) return false;
  const size_t length = std::strlen(extension);
  for (const char* p = std::strstr(list, extension); p != nullptr;
       p = std::strstr(p + length, extension)) {
    const bool starts = p == list || p[-1] == ' ';
    const bool ends = p[length] == ' ' || p[length] == '\0';
    if (starts && ends) return true;
  }
  return false;
}

template <typename Function>
Function lookUp(const char* name) {
  return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}
}  // namespace

void applyVerticalSync(VerticalSync sync) {
  if (sync == VerticalSync::DriverDefault) return;
  Display* display = glXGetCurrentDisplay();
  const GLXDrawable drawable = glXGetCurrentDrawable();
  if (display == nullptr || drawable == None) return;
  const int interval = sync == VerticalSync::On ? 1 : 0;
  if (offered(display, "GLX_EXT_swap_control")) {
    if (auto set = lookUp<PFNGLXSWAPINTERVALEXTPROC>("glXSwapIntervalEXT")) {
      set(display, drawable, interval);
      return;
    }
  }
  if (offered(display, "GLX_MESA_swap_control")) {
    if (auto set = lookUp<PFNGLXSWAPINTERVALMESAPROC>("glXSwapIntervalMESA")) {
      set(static_cast<unsigned>(interval));
      return;
    }
  }
  // SGI's form refuses 0: it can only turn vertical sync on.
  if (interval > 0 && offered(display, "GLX_SGI_swap_control")) {
    if (auto set = lookUp<PFNGLXSWAPINTERVALSGIPROC>("glXSwapIntervalSGI")) set(interval);
  }
}

int swapIntervalInForce() {
  Display* display = glXGetCurrentDisplay();
  const GLXDrawable drawable = glXGetCurrentDrawable();
  if (display == nullptr || drawable == None) return -1;
  if (offered(display, "GLX_EXT_swap_control")) {
    unsigned value = 0;
    glXQueryDrawable(display, drawable, GLX_SWAP_INTERVAL_EXT, &value);
    return static_cast<int>(value);
  }
  if (offered(display, "GLX_MESA_swap_control")) {
    if (auto get = lookUp<PFNGLXGETSWAPINTERVALMESAPROC>("glXGetSwapIntervalMESA")) return get();
  }
  return -1;
}
