// Start-up, input, capture and clean-exit steps shared by the end-to-end tests.
#include "e2e/program_test.h"

#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <utility>

namespace {
constexpr double kWindowSeconds = 30.0;  // a loaded machine under the sanitizers is slow to start
constexpr double kFirstFrameSeconds = 30.0;
constexpr auto kPollInterval = std::chrono::milliseconds(50);
constexpr const char* kTitle = "Cryptwell";
constexpr const char* kScreensFolder = "e2e-screens";
// A view at rest: three looks this far apart, in which under this share of
// the lit pixels has no lit pixel within this radius in the other look.
constexpr double kStillLook = 0.5;
constexpr int kRestingPairs = 2;
constexpr double kMaxStillMoved = 0.3;
constexpr int kEdgeRadius = 1;
}  // namespace

void ProgramTest::startProgram(const std::string& folder, const std::vector<std::string>& arguments,
                               const std::string& program,
                               const std::vector<std::string>& environment) {
  display_ = std::make_unique<VirtualDisplay>(kScreenWidth, kScreenHeight);
  ASSERT_TRUE(display_->ready()) << display_->failure();
  x_ = std::make_unique<XSession>(display_->name());
  ASSERT_TRUE(x_->connected());
  ASSERT_NO_FATAL_FAILURE(beforeProgramStarts());
  run_ = std::make_unique<ProgramRun>(display_->name(), folder, arguments, program, environment);
  ASSERT_TRUE(run_->started());
  window_ = x_->waitForWindow(kTitle, kWindowSeconds);
  ASSERT_NE(window_, 0u) << "no window titled " << kTitle
                         << "; the program: " << describe(run_->waitForExit(0.0)) << "\n"
                         << run_->standardError();
  // The keyboard goes to the window, as a window manager would arrange on a click.
  x_->focus(window_);
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(kFirstFrameSeconds);
  for (;;) {
    const WindowGeometry g = windowGeometry();
    if (g.width == expectedWidth_ && g.height == expectedHeight_ &&
        x_->captureWindow(window_).litPixels({0, 0, g.width, g.height}) > 0) {
      break;
    }
    ASSERT_TRUE(std::chrono::steady_clock::now() < deadline)
        << "no picture of " << expectedWidth_ << "x" << expectedHeight_ << " within "
        << kFirstFrameSeconds << " s; window " << g.width << "x" << g.height;
    ASSERT_NO_FATAL_FAILURE(expectRunning());
    std::this_thread::sleep_for(kPollInterval);
  }
}

void ProgramTest::waitUntil(double seconds) {
  const double left = seconds - secondsSinceStart();
  if (left > 0) pause(left);
}

bool ProgramTest::waitForSize(int width, int height, double seconds) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    const WindowGeometry g = windowGeometry();
    if (g.width == width && g.height == height) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

void ProgramTest::pause(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

ScreenImage ProgramTest::capture(const std::string& label) {
  ScreenImage picture = x_->captureWindow(window_);
  keep(label, picture);
  return picture;
}

ScreenImage ProgramTest::captureWhen(const std::string& label,
                                     const std::function<bool(const ScreenImage&)>& condition,
                                     double seconds) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    ScreenImage picture = x_->captureWindow(window_);
    if (condition(picture) || std::chrono::steady_clock::now() >= deadline) {
      keep(label, picture);
      return picture;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

bool ProgramTest::viewComesToRest(const Box& box, int minEdgePixels, double seconds) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  ScreenImage look = capture("still");
  int agreeing = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    pause(kStillLook);
    ScreenImage later = capture("still");
    const bool same = later.litPixels(box) >= minEdgePixels &&
                      later.movedLitFraction(look, box, kEdgeRadius) < kMaxStillMoved &&
                      look.movedLitFraction(later, box, kEdgeRadius) < kMaxStillMoved;
    agreeing = same ? agreeing + 1 : 0;
    if (agreeing == kRestingPairs) return true;
    look = std::move(later);
  }
  return false;
}

ScreenImage ProgramTest::captureScreen(const std::string& label) {
  ScreenImage picture = x_->captureScreen();
  keep(label, picture);
  return picture;
}

void ProgramTest::keep(const std::string& label, const ScreenImage& picture) {
  pictures_.emplace_back(label, picture);
}

void ProgramTest::expectRunning() {
  ASSERT_TRUE(run_->running()) << "the program ended: " << describe(run_->waitForExit(0.0))
                               << "\nstdout:\n"
                               << run_->standardOutput() << "\nstderr:\n"
                               << run_->standardError();
}

void ProgramTest::quitAndExpectCleanExit(double seconds) {
  ASSERT_NO_FATAL_FAILURE(expectRunning());
  tapKey(XK_Escape);
  const ChildEnd& end = run_->waitForExit(seconds);
  ASSERT_TRUE(end.ended) << "still running " << seconds << " s after ESC";
  EXPECT_TRUE(end.exited && end.status == 0) << describe(end) << "\nstderr:\n"
                                             << run_->standardError();
}

void ProgramTest::expectQuietConsole() {
  EXPECT_EQ(run_->standardOutput(), "");
  EXPECT_EQ(run_->standardError(), "");
}

void ProgramTest::TearDown() {
  const bool always = std::getenv("CRYPTWELL_E2E_SAVE_SCREENS") != nullptr;
  if (pictures_.empty() || (!HasFailure() && !always)) return;
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string stem = std::string(test->test_suite_name()) + "." + test->name();
  std::error_code ignored;
  std::filesystem::create_directories(kScreensFolder, ignored);
  for (size_t i = 0; i < pictures_.size(); ++i) {
    const std::string path = std::string(kScreensFolder) + "/" + stem + "-" + std::to_string(i) +
                             "-" + pictures_[i].first;
    pictures_[i].second.save(path);
  }
  std::printf("pictures saved in %s/%s-*\n",
              std::filesystem::absolute(kScreensFolder, ignored).c_str(), stem.c_str());
}
