// The fixture of the end-to-end tests: a virtual display of a known size,
// the program running on it, and the test's X connection to drive and watch
// it. Pictures taken through it are saved when a test fails (and always when
// CRYPTWELL_E2E_SAVE_SCREENS is set), so a failure can be looked at.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "e2e/program_run.h"
#include "e2e/screen_image.h"
#include "e2e/screen_layout.h"
#include "e2e/virtual_display.h"
#include "e2e/x_session.h"

class ProgramTest : public ::testing::Test {
 protected:
  static constexpr int kScreenWidth = layout::kWidth;
  static constexpr int kScreenHeight = layout::kHeight;
  static constexpr double kFadeInSeconds = 2.2;  // the scene is at full brightness from 2 s on
  static constexpr double kConditionSeconds = 30.0;  // for what a few frames should show

  void TearDown() override;
  // Runs once the display is up, before the program starts: a test starts
  // a window manager here.
  virtual void beforeProgramStarts() {}

  // Starts `program` with `arguments` from `folder`, with `environment` added
  // to its own (see ProgramRun), and waits until its window has the expected
  // size (the whole screen unless a test says otherwise) and shows
  // something. Use with ASSERT_NO_FATAL_FAILURE.
  void startProgram(const std::string& folder = programFolder(),
                    const std::vector<std::string>& arguments = {},
                    const std::string& program = programPath(),
                    const std::vector<std::string>& environment = {});
  // Waits until `seconds` have passed since the program was started.
  void waitUntil(double seconds);
  static void pause(double seconds);
  double secondsSinceStart() const { return run_->secondsSinceStart(); }

  ScreenImage capture(const std::string& label);        // the program's window
  // Captures the window until `condition` holds or `seconds` pass, and
  // returns the last picture for the test to check: what a key or a push
  // does reaches the screen a few frames later, and on a loaded machine
  // frames come slowly.
  ScreenImage captureWhen(const std::string& label,
                          const std::function<bool(const ScreenImage&)>& condition,
                          double seconds = kConditionSeconds);
  ScreenImage captureScreen(const std::string& label);  // the whole screen
  // True once three looks half a second apart show the line drawing in `box`
  // in the same place, with at least `minEdgePixels` lit; false if it still
  // moves after `seconds`. Frames drawn before an input ended may still be on
  // their way on a busy machine, so a view is given time to come to rest; a
  // spinning one never does. The looks must agree both ways round, with edges
  // in view, and more than two of them, since a spinning view also passes
  // through looks at nothing and, now and then, through the same look again.
  bool viewComesToRest(const Box& box, int minEdgePixels, double seconds = 10.0);
  WindowGeometry windowGeometry() { return x_->geometry(window_); }
  // Waits until the program's window has this size; false after `seconds`.
  bool waitForSize(int width, int height, double seconds);

  void typeText(const std::string& text) { x_->typeText(text); }
  void tapKey(KeySym key) { x_->tapKey(key); }
  void pressKey(KeySym key) { x_->pressKey(key); }
  void releaseKey(KeySym key) { x_->releaseKey(key); }
  void movePointer(int x, int y) { x_->movePointer(window_, x, y); }
  void pressButton(unsigned button) { x_->pressButton(button); }
  void releaseButton(unsigned button) { x_->releaseButton(button); }

  // The program is still there; if not, says how it ended and what it printed.
  void expectRunning();
  // ESC, then the process must end by itself within `seconds` with status 0.
  void quitAndExpectCleanExit(double seconds);
  // Nothing on standard output or standard error (no sanitizer report either).
  void expectQuietConsole();

  int expectedWidth_ = kScreenWidth;  // the window's size once started
  int expectedHeight_ = kScreenHeight;
  std::unique_ptr<VirtualDisplay> display_;
  std::unique_ptr<ProgramRun> run_;
  std::unique_ptr<XSession> x_;
  Window window_ = 0;

 private:
  void keep(const std::string& label, const ScreenImage& picture);

  std::vector<std::pair<std::string, ScreenImage>> pictures_;
};
