// Preloaded into a GL program to count its buffer swaps from outside: every
// glXSwapBuffers is counted and passed on, and once a second the running
// count is appended to the file named by CRYPTWELL_SWAP_LOG as
// "<seconds since the first swap> <swaps so far>". When CRYPTWELL_SWAP_TIMES
// names a file, the end of every swap is appended to it too, one a line, in
// seconds of the wall clock (CLOCK_REALTIME), so that a script's
// `date +%s.%N` lines up with it: when the first frame came, how long each
// frame took. Both files are written out at the first swap and then once a
// second.
#include <GL/glx.h>
#include <dlfcn.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {
using SwapFunction = void (*)(Display*, GLXDrawable);
using Clock = std::chrono::steady_clock;

SwapFunction realSwap = nullptr;
std::FILE* logFile = nullptr;
std::FILE* timesFile = nullptr;
long swaps = 0;
Clock::time_point firstSwap;
double nextReport = 0.0;

double secondsSinceFirstSwap() {
  return std::chrono::duration<double>(Clock::now() - firstSwap).count();
}

std::FILE* openNamedFile(const char* variable) {
  const char* path = std::getenv(variable);
  return path != nullptr ? std::fopen(path, "w") : nullptr;
}
}  // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  if (realSwap == nullptr) {
    realSwap = reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    logFile = openNamedFile("CRYPTWELL_SWAP_LOG");
    timesFile = openNamedFile("CRYPTWELL_SWAP_TIMES");
    firstSwap = Clock::now();
  }
  realSwap(display, drawable);
  ++swaps;
  if (timesFile != nullptr) {
    timespec wall{};
    clock_gettime(CLOCK_REALTIME, &wall);
    std::fprintf(timesFile, "%ld.%09ld\n", static_cast<long>(wall.tv_sec), wall.tv_nsec);
  }
  const double now = secondsSinceFirstSwap();
  if (now >= nextReport) {
    if (logFile != nullptr) {
      std::fprintf(logFile, "%.3f %ld\n", now, swaps);
      std::fflush(logFile);
    }
    if (timesFile != nullptr) std::fflush(timesFile);
    nextReport += 1.0;
  }
}
