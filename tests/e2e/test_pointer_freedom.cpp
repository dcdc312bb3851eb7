// The pointer in a window under a window manager (openbox): the fly-through
// leaves it alone, so a person moves it out of the window; the manual
// camera re-centres it inside even a window too small for the usual centre
// point, so a push turns the view once and it stops.
#include <chrono>
#include <memory>
#include <thread>

#include "e2e/child_process.h"
#include "e2e/program_test.h"

// After GoogleTest, whose names the X headers' macros would clash with.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {
constexpr double kManagerSeconds = 20.0;
constexpr double kRecentreSeconds = 10.0;
constexpr int kStep = 20;  // pixels per relative mouse movement
constexpr int kSteps = 20;
constexpr double kStepInterval = 0.05;
constexpr double kFrameTime = 0.4;
constexpr int kPushEvents = 4;
constexpr double kPushInterval = 0.05;
constexpr int kEdgeRadius = 1;
constexpr double kMinMoved = 0.3;
constexpr int kMinEdgePixels = 50;
constexpr double kCaptionGoneSeconds = 10.5;
// Between the bars of letterbox 6 in the 300 x 200 window, less two rows at
// each edge.
constexpr Box kPicture{0, 62, 300, 76};

struct DisplayCloser {
  void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayHandle = std::unique_ptr<Display, DisplayCloser>;

// Openbox on the test's display, ended with the test.
struct WindowManager {
  pid_t pid = -1;
  ~WindowManager() {
    if (pid > 0) stopChild(pid);
  }
};

bool managed(Display* d) {
  const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, left = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(d, DefaultRootWindow(d), check, 0, 1, False, XA_WINDOW,
                                        &type, &format, &count, &left, &data);
  if (data != nullptr) XFree(data);
  return status == Success && count == 1;
}
}  // namespace

class PointerFreedom : public ProgramTest {
 protected:
  void beforeProgramStarts() override {
    mouse_.reset(XOpenDisplay(display_->name().c_str()));
    ASSERT_NE(mouse_, nullptr);
    manager_.pid = startChild({{"/usr/bin/openbox"}, {"DISPLAY=" + display_->name()}, "", "", ""});
    ASSERT_GT(manager_.pid, 0);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(kManagerSeconds);
    while (!managed(mouse_.get())) {
      ASSERT_TRUE(std::chrono::steady_clock::now() < deadline) << "openbox did not start";
      pause(0.05);
    }
  }

  // A movement of the mouse itself, by (dx, dy), as a person's hand gives it.
  void nudgePointer(int dx, int dy) {
    XTestFakeRelativeMotionEvent(mouse_.get(), dx, dy, CurrentTime);
    XFlush(mouse_.get());
  }

  // The pointer's place in the program's window (outside it when beyond its size).
  void pointerInWindow(int* x, int* y) {
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0;
    unsigned mask = 0;
    XQueryPointer(mouse_.get(), window_, &root, &child, &rootX, &rootY, x, y, &mask);
  }

  bool pointerInsideWindow() {
    int x = 0, y = 0;
    pointerInWindow(&x, &y);
    return x >= 0 && x < expectedWidth_ && y >= 0 && y < expectedHeight_;
  }

  // Waits until the pointer is at (x, y) in the window; false on time-out.
  bool waitForPointerAt(int x, int y) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(kRecentreSeconds);
    for (;;) {
      int px = 0, py = 0;
      pointerInWindow(&px, &py);
      if (px == x && py == y) return true;
      if (std::chrono::steady_clock::now() > deadline) return false;
      pause(0.05);
    }
  }

  DisplayHandle mouse_;
  WindowManager manager_;
};

TEST_F(PointerFreedom, TheFlyThroughLetsThePointerLeaveTheWindow) {
  expectedWidth_ = 640;
  expectedHeight_ = 480;
  ASSERT_NO_FATAL_FAILURE(startProgram(programFolder(), {"--window=640x480", "--no-sound"}));
  waitUntil(kFadeInSeconds);
  movePointer(320, 240);
  pause(kFrameTime);
  // Rightwards in small movements, frames running in between, as a hand
  // moves a mouse; a pointer warped back each frame would never get out.
  for (int i = 0; i < kSteps; ++i) {
    nudgePointer(kStep, 0);
    pause(kStepInterval);
  }
  pause(kFrameTime);
  EXPECT_FALSE(pointerInsideWindow()) << "the pointer is held in the window";
  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(5.0));
  expectQuietConsole();
}

TEST_F(PointerFreedom, AManualViewInAWindowSmallerThanTheCentrePointDoesNotSpin) {
  expectedWidth_ = 300;
  expectedHeight_ = 200;
  ASSERT_NO_FATAL_FAILURE(startProgram(programFolder(), {"--window=300x200", "--no-sound"}));
  movePointer(150, 100);
  // Full letterbox bars, behind the message and the status lines; no stars,
  // the manual camera, line drawing; and the title caption gone.
  typeText("lllllluvw");
  waitUntil(kCaptionGoneSeconds);
  const ScreenImage before = capture("before-push");
  ASSERT_GE(before.litPixels(kPicture), kMinEdgePixels) << "room edges in view";
  for (int i = 0; i < kPushEvents; ++i) {
    movePointer(150 + 40, 100 + 20);
    pause(kPushInterval);
  }
  ASSERT_TRUE(waitForPointerAt(150, 100)) << "re-centred at the middle of the window";
  const auto turned = [&](const ScreenImage& p) {
    return p.movedLitFraction(before, kPicture, kEdgeRadius) > kMinMoved;
  };
  EXPECT_TRUE(turned(captureWhen("after-push", turned))) << "the push turns the view";
  EXPECT_TRUE(viewComesToRest(kPicture, kMinEdgePixels)) << "and then the view stops";
  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(5.0));
  expectQuietConsole();
}
