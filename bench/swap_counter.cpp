// Preloaded into a GL program to count its buffer swaps from outside: every
// glXSwapBuffers is counted and passed on, and once a second the running
// count is appended to the file named by CRYPTWELL_SWAP_LOG as
// "<seconds since the first swap> <swaps so far>".
#include <GL/glx.h>
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {
using SwapFunction = void (*)(Display*, GLXDrawable);
using Clock = std::chrono::steady_clock;

SwapFunction realSwap = nullptr;
std::FILE* logFile = nullptr;
long swaps = 0;
Clock::time_point firstSwap;
double nextReport = 0.0;

double secondsSinceFirstSwap() {
  return std::chrono::duration<double>(Clock::now() - firstSwap).count();
}
}  // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  if (realSwap == nullptr) {
    realSwap = reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    const char* path = std::getenv("CRYPTWELL_SWAP_LOG");
    if (path != nullptr) logFile = std::fopen(path, "w");
    firstSwap = Clock::now();
  }
  realSwap(display, drawable);
  ++swaps;
  const double now = secondsSinceFirstSwap();
  if (logFile != nullptr && now >= nextReport) {
    std::fprintf(logFile, "%.3f %ld\n", now, swaps);
    std::fflush(logFile);
    nextReport += 1.0;
  }
}
