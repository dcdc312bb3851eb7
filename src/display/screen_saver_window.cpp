#include "display/screen_saver_window.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "core/frame_clock.h"
#include "core/run_state.h"
#include "display/frame_cap.h"
#include "gfx/swap_interval.h"
#include "platform/clock.h"
#include "platform/stop_signals.h"
#include "scene/frame_driver.h"
#include "scene/run_end.h"
#include "scene/scene_setup.h"

namespace {
volatile sig_atomic_t stopRequested = 0;
volatile sig_atomic_t framesRunning = 0;  // the first frame is up: a stop is taken between frames
pthread_t mainThread;
pid_t mainThreadId = 0;
Display* display = nullptr;
Window target = None;
bool windowGone = false;  // destroyed under us: the locker is done with it
bool mapped = true;
bool covered = false;

// Until the first frame is up there is nothing worth tidying (the X server
// frees what a vanished client held, and nothing is written), so a stop
// ends the process at once, however far the start-up got: a locker stops
// its hack as soon as the user moves, which may be while it is still
// connecting, or while the renderer compiles its first frame. From then on
// a stop is a request that the loop takes between frames. The renderer's
// threads, started with the GL context, may be the ones to receive it; they
// hand it to the main thread, whose waits it must wake.
void onStopSignal(int signal) {
  if (framesRunning == 0) _exit(0);
  stopRequested = 1;
  if (gettid() != mainThreadId) pthread_kill(mainThread, signal);
}

// Errors are expected here: a bad id at start, and requests that meet the
// window just after the locker destroyed it. Neither is worth a message of
// Xlib's, which would also end the process with status 1.
int noteXError(Display*, XErrorEvent* error) {
  if (error->resourceid == target) windowGone = true;
  return 0;
}

void takePendingSignals() {
  sigset_t none;
  sigset_t held;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, &held);  // a pending signal is delivered here
  sigprocmask(SIG_SETMASK, &held, nullptr);
}

void handleEvent(const XEvent& event) {
  switch (event.type) {
    case ConfigureNotify:
      windowWidth = event.xconfigure.width;
      windowHeight = event.xconfigure.height;
      break;
    case DestroyNotify: windowGone = true; break;
    case UnmapNotify: mapped = false; break;
    case MapNotify: mapped = true; break;
    case VisibilityNotify: covered = event.xvisibility.state == VisibilityFullyObscured; break;
    default: break;
  }
}

// The window the options name: --window-id, else the locker's, else the root.
// 0 with a message for a malformed locker variable.
unsigned long chosenWindow(const Options& options, Display* display) {
  if (options.windowId != 0) return options.windowId;
  const char* locker = std::getenv(kLockerWindowVariable);
  if (locker == nullptr || *locker == '\0') return RootWindow(display, DefaultScreen(display));
  unsigned long id = 0;
  if (parseWindowId(locker, id)) return id;
  std::fprintf(stderr, "cryptwell: invalid window id '%s' in %s\n", locker, kLockerWindowVariable);
  return 0;
}

// A GL context for the window's own visual, made current; null with a
// message when the window is not there or cannot take GL.
GLXContext contextFor(Display* display, Window window, bool direct) {
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(display, window, &attributes) == 0) {
    std::fprintf(stderr, "cryptwell: no window 0x%lx on the display\n", window);
    return nullptr;
  }
  XVisualInfo wanted{};
  wanted.visualid = XVisualIDFromVisual(attributes.visual);
  wanted.screen = XScreenNumberOfScreen(attributes.screen);
  int found = 0;
  XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &found);
  int usesGl = 0;
  if (attributes.c_class == InputOnly || visual == nullptr ||
      glXGetConfig(display, visual, GLX_USE_GL, &usesGl) != 0 || usesGl == 0) {
    std::fprintf(stderr, "cryptwell: window 0x%lx has no OpenGL visual\n", window);
    if (visual != nullptr) XFree(visual);
    return nullptr;
  }
  GLXContext context = glXCreateContext(display, visual, nullptr, direct ? True : False);
  XFree(visual);
  if (context == nullptr || !glXMakeCurrent(display, window, context)) {
    std::fprintf(stderr, "cryptwell: cannot draw with OpenGL into window 0x%lx\n", window);
    if (context != nullptr) glXDestroyContext(display, context);
    return nullptr;
  }
  windowWidth = attributes.width;
  windowHeight = attributes.height;
  mapped = attributes.map_state == IsViewable;
  return context;
}

bool running() { return stopRequested == 0 && !windowGone; }
}  // namespace

bool wantsScreenSaverWindow(const Options& options) { return options.root || options.windowId != 0; }

void catchStopSignals() {
  mainThread = pthread_self();
  mainThreadId = gettid();
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : kStopSignals) sigaction(signal, &action, nullptr);
}

int runInScreenSaverWindow(const Options& options, const RunSettings& settings) {
  const char* name = options.display.empty() ? nullptr : options.display.c_str();
  display = XOpenDisplay(name);
  if (display == nullptr) {
    std::fprintf(stderr, "cryptwell: cannot open display '%s'\n", XDisplayName(name));
    return 1;
  }
  if (options.synchronousX) XSynchronize(display, True);
  target = chosenWindow(options, display);
  if (target == None) {
    XCloseDisplay(display);
    return 2;
  }
  XSetErrorHandler(noteXError);
  // Watch the window's size, end and visibility before reading its state,
  // so that no change falls between the two.
  XSelectInput(display, target, StructureNotifyMask | VisibilityChangeMask);
  GLXContext context = contextFor(display, target, !options.indirectGl);
  if (context == nullptr) {
    XCloseDisplay(display);
    return 1;
  }
  applyVerticalSync(options.verticalSync);
  const int cap = static_cast<int>(settings.framesPerSecond);
  setFrameRateCap(cap > 0 ? cap : kSaverFramesPerSecond);
  setUpScene();

  const int connection = ConnectionNumber(display);
  while (running()) {
    takePendingSignals();
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      handleEvent(event);
    }
    if (!running()) break;
    if (!mapped || covered) {
      waitForInput(connection, -1);  // nobody can see a frame: sleep until that changes
      continue;
    }
    if (!waitForFrameDue(connection)) continue;
    setClockMs(clockMilliseconds());
    runFrame();
    glXSwapBuffers(display, target);
    if (framesRunning == 0) {
      // From here the stop signals are held back while a frame runs and let
      // in only where the loop waits or checks, so a stop never lands
      // mid-frame or slips in between the check and the sleep.
      holdStopSignals(true);
      framesRunning = 1;
    }
  }

  // The scene's GL objects are released with the context current; nothing
  // there touches the window, which may be gone already. The context and the
  // connection go with the process.
  endRun(RunEnd::Stopped);
}
