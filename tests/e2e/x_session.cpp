// XTest input, window lookup and screen capture on the test's display.
#include "e2e/x_session.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace {
constexpr auto kPollInterval = std::chrono::milliseconds(50);

// Windows come and go while the program starts, resizes and quits; a request
// about one that just went away is not the test's failure.
int ignoreXErrors(Display*, XErrorEvent*) { return 0; }

std::string utf8Property(Display* display, Window window, const char* name) {
  const Atom property = XInternAtom(display, name, True);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", True);
  if (property == None || utf8 == None) return "";
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  std::string text;
  if (XGetWindowProperty(display, window, property, 0, 1024, False, utf8, &type, &format, &items,
                         &after, &data) == Success &&
      data != nullptr) {
    if (type == utf8 && format == 8) text.assign(reinterpret_cast<char*>(data), items);
    XFree(data);
  }
  return text;
}

int channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const unsigned long value = (pixel & mask) >> shift;
  const unsigned long top = mask >> shift;
  return static_cast<int>(value * 255 / top);
}
}  // namespace

XSession::XSession(const std::string& displayName) {
  XSetErrorHandler(ignoreXErrors);
  display_ = XOpenDisplay(displayName.c_str());
}

XSession::~XSession() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

int XSession::screenWidth() const { return DisplayWidth(display_, DefaultScreen(display_)); }

int XSession::screenHeight() const { return DisplayHeight(display_, DefaultScreen(display_)); }

std::string XSession::windowTitle(Window window) {
  std::string title = utf8Property(display_, window, "_NET_WM_NAME");
  if (!title.empty()) return title;
  char* name = nullptr;
  if (XFetchName(display_, window, &name) != 0 && name != nullptr) {
    title = name;
    XFree(name);
  }
  return title;
}

Window XSession::waitForWindow(const std::string& title, double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  do {
    // Breadth-first below the root: a window manager, if any, puts frames
    // between the root and the program's window.
    std::vector<Window> pending = {DefaultRootWindow(display_)};
    while (!pending.empty()) {
      const Window w = pending.back();
      pending.pop_back();
      if (w != DefaultRootWindow(display_) && windowTitle(w) == title && geometry(w).viewable)
        return w;
      Window root = 0, parent = 0;
      Window* children = nullptr;
      unsigned count = 0;
      if (XQueryTree(display_, w, &root, &parent, &children, &count) != 0 && children != nullptr) {
        pending.insert(pending.end(), children, children + count);
        XFree(children);
      }
    }
    std::this_thread::sleep_for(kPollInterval);
  } while (std::chrono::steady_clock::now() < deadline);
  return 0;
}

WindowGeometry XSession::geometry(Window window) {
  WindowGeometry g;
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display_, window, &attributes) == 0) return g;
  Window child = 0;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &g.x, &g.y, &child);
  g.width = attributes.width;
  g.height = attributes.height;
  g.viewable = attributes.map_state == IsViewable;
  return g;
}

void XSession::focus(Window window) {
  XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
  XSync(display_, False);
}

bool XSession::needsShift(KeySym key, KeyCode code) {
  return XkbKeycodeToKeysym(display_, code, 0, 0) != key &&
         XkbKeycodeToKeysym(display_, code, 0, 1) == key;
}

void XSession::sendKey(KeySym key, bool down) {
  const KeyCode code = XKeysymToKeycode(display_, key);
  if (code == 0) return;
  const KeyCode shift = XKeysymToKeycode(display_, XK_Shift_L);
  const bool shifted = needsShift(key, code);
  if (shifted && down) XTestFakeKeyEvent(display_, shift, True, CurrentTime);
  XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
  if (shifted && !down) XTestFakeKeyEvent(display_, shift, False, CurrentTime);
  XSync(display_, False);
}

void XSession::pressKey(KeySym key) { sendKey(key, true); }

void XSession::releaseKey(KeySym key) { sendKey(key, false); }

void XSession::tapKey(KeySym key) {
  pressKey(key);
  releaseKey(key);
}

void XSession::typeText(const std::string& text) {
  // Printable ASCII characters are their own keysyms.
  for (const char c : text) tapKey(static_cast<KeySym>(static_cast<unsigned char>(c)));
}

void XSession::movePointer(Window window, int x, int y) {
  const WindowGeometry g = geometry(window);
  XTestFakeMotionEvent(display_, DefaultScreen(display_), g.x + x, g.y + y, CurrentTime);
  XSync(display_, False);
}

void XSession::pressButton(unsigned button) {
  XTestFakeButtonEvent(display_, button, True, CurrentTime);
  XSync(display_, False);
}

void XSession::releaseButton(unsigned button) {
  XTestFakeButtonEvent(display_, button, False, CurrentTime);
  XSync(display_, False);
}

ScreenImage XSession::captureArea(int x, int y, int width, int height) {
  ScreenImage picture(width, height);
  const int x0 = std::max(x, 0);
  const int y0 = std::max(y, 0);
  const int x1 = std::min(x + width, screenWidth());
  const int y1 = std::min(y + height, screenHeight());
  if (x1 <= x0 || y1 <= y0) return picture;
  XImage* image =
      XGetImage(display_, DefaultRootWindow(display_), x0, y0, static_cast<unsigned>(x1 - x0),
                static_cast<unsigned>(y1 - y0), AllPlanes, ZPixmap);
  if (image == nullptr) return picture;
  for (int row = 0; row < y1 - y0; ++row) {
    for (int column = 0; column < x1 - x0; ++column) {
      const unsigned long value = XGetPixel(image, column, row);
      picture.set(x0 - x + column, y0 - y + row,
                  {channel(value, image->red_mask), channel(value, image->green_mask),
                   channel(value, image->blue_mask)});
    }
  }
  XDestroyImage(image);
  return picture;
}

ScreenImage XSession::captureScreen() { return captureArea(0, 0, screenWidth(), screenHeight()); }

ScreenImage XSession::captureWindow(Window window) {
  const WindowGeometry g = geometry(window);
  return captureArea(g.x, g.y, g.width, g.height);
}
