// The test's own connection to the virtual display, standing in for the
// person at the keyboard: it finds the program's window, gives it the
// keyboard (as a window manager would on a click), types keys and moves and
// clicks the mouse through XTest, and captures what the screen shows.
#pragma once
#include <X11/Xlib.h>

#include <string>

#include "e2e/screen_image.h"

struct WindowGeometry {
  int x = 0, y = 0;  // top-left corner on the screen
  int width = 0, height = 0;
  bool viewable = false;
};

class XSession {
 public:
  explicit XSession(const std::string& displayName);
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool connected() const { return display_ != nullptr; }
  int screenWidth() const;
  int screenHeight() const;

  // A top-level window with this title, waiting up to `seconds`; 0 if none.
  Window waitForWindow(const std::string& title, double seconds);
  std::string windowTitle(Window window);
  WindowGeometry geometry(Window window);
  void focus(Window window);

  // Key by keysym (XK_Up, XK_question, ...); shift is held for shifted ones.
  void pressKey(KeySym key);
  void releaseKey(KeySym key);
  void tapKey(KeySym key);
  // Taps the key of each character in turn ("ll?" taps l, l and ?).
  void typeText(const std::string& text);

  // Pointer to a position in window coordinates.
  void movePointer(Window window, int x, int y);
  void pressButton(unsigned button);
  void releaseButton(unsigned button);

  ScreenImage captureScreen();
  // The window's area as the screen shows it; parts off the screen are black.
  ScreenImage captureWindow(Window window);

 private:
  bool needsShift(KeySym key, KeyCode code);
  void sendKey(KeySym key, bool down);
  ScreenImage captureArea(int x, int y, int width, int height);

  Display* display_ = nullptr;
};
