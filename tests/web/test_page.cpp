// The page in a real headless Chromium, drawing with WebGL in software: it
// shows the lit, textured fly-through with its fire, ? opens the help page
// and C the frame-rate line, as on the desktop (the same pixel checks, the
// canvas being the desktop tests' 800 x 600 screen), ESC ends the run with
// a line on the page, and nothing the page does writes an error to the
// console; an option a page cannot honour is named there instead. The tests
// run in order, on one page.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "e2e/child_process.h"
#include "e2e/screen_layout.h"
#include "web/chromium.h"

namespace {
constexpr double kLookSeconds = 90.0;  // a software renderer on a busy machine starts slowly
constexpr double kStillSeconds = 2.0;  // dozens of frames at the page's pace
constexpr auto kLookPause = std::chrono::milliseconds(200);
constexpr int kFireInView = 5000;  // as the desktop's long run: the fire, not a stray flame
constexpr int kMinTextPixels = 100;
constexpr int kMinTextWhite = 20;
constexpr int kDetailStep = 8;
constexpr double kMinDetail = 0.05;
constexpr double kMinLitShare = 0.5;

template <typename Done>
bool waitFor(Done done, double seconds = kLookSeconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(kLookPause);
  }
  return true;
}
}  // namespace

class Page : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string folder = ::testing::TempDir() + "cryptwell-page";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string serverLog = folder + "/server.log";
    server = startChild({{"/usr/bin/python3", "-u", "-m", "http.server", "0", "--bind", "127.0.0.1",
                          "--directory", CRYPTWELL_WEB_DIR}, {}, "", serverLog, ""});
    // "Serving HTTP on 127.0.0.1 port N (...)": the number after "port ".
    std::string log;
    size_t at = std::string::npos;
    ASSERT_TRUE(waitFor([&] { return (at = (log = readFile(serverLog)).find("port ")) != log.npos; }))
        << "the page's server did not start: " << log;
    url = "http://127.0.0.1:" + std::to_string(std::atoi(log.c_str() + at + 5)) +
                            "/index.html";
    browser = std::make_unique<Chromium>();
    ASSERT_TRUE(browser->start(layout::kWidth, layout::kHeight, folder + "/profile"));
    ASSERT_TRUE(browser->open(url));
    ASSERT_TRUE(waitFor([] { return framesDrawn() > 0; })) << "no frame drawn";
  }
  static void TearDownTestSuite() {
    browser.reset();
    if (server > 0) stopChild(server);
  }
  // Each test answers for the errors that came while it ran.
  void TearDown() override {
    const std::vector<std::string>& errors = browser->errors();
    for (; errorsSeen < errors.size(); ++errorsSeen) ADD_FAILURE() << "console: " << errors[errorsSeen];
  }

  // Screenshots until one satisfies `wanted`, or the last one at the deadline.
  static ScreenImage captureWhen(const std::function<bool(const ScreenImage&)>& wanted) {
    ScreenImage picture;
    waitFor([&] { return wanted(picture = browser->screenshot()); });
    return picture;
  }

  static int framesDrawn() {
    return std::atoi(browser->evaluate("Module._webFramesDrawn ? Module._webFramesDrawn() : 0").c_str());
  }

  static pid_t server;
  static std::string url;
  static std::unique_ptr<Chromium> browser;
  static size_t errorsSeen;
};
pid_t Page::server = -1;
std::string Page::url;
std::unique_ptr<Chromium> Page::browser;
size_t Page::errorsSeen = 0;

TEST_F(Page, ShowsTheLitTexturedFlyThroughWithItsFire) {
  const ScreenImage scene = captureWhen([](const ScreenImage& p) {
    return p.litFraction(layout::kLowerScene) > kMinLitShare &&
           p.count(p.whole(), isFlame) >= kFireInView;
  });
  EXPECT_TRUE(scene.width() == layout::kWidth && scene.height() == layout::kHeight)
      << "the canvas fills the page: " << scene.width() << " x " << scene.height();
  EXPECT_GT(scene.litFraction(layout::kLowerScene), kMinLitShare) << "a lit scene";
  EXPECT_GT(scene.detailFraction(layout::kLowerScene, kDetailStep), kMinDetail) << "textured";
  EXPECT_GE(scene.count(scene.whole(), isFlame), kFireInView) << "the fire";
}

TEST_F(Page, QuestionMarkShowsTheHelpPage) {
  browser->typeKey("?");
  const ScreenImage help = captureWhen(
      [](const ScreenImage& p) { return p.litPixels(layout::kHelpHeading) >= kMinTextPixels; });
  EXPECT_GE(help.litPixels(layout::kHelpHeading), kMinTextPixels) << "the help page's heading";
  EXPECT_GE(help.litPixels(layout::helpLine(23)), kMinTextPixels) << "its first line";
  browser->typeKey("/");  // closed again for the tests after
}

TEST_F(Page, CShowsTheFrameRateLine) {
  browser->typeKey("c");
  const ScreenImage shown = captureWhen(
      [](const ScreenImage& p) { return p.whitePixels(layout::kFrameRateLine) >= kMinTextWhite; });
  EXPECT_GE(shown.whitePixels(layout::kFrameRateLine), kMinTextWhite);
  browser->typeKey("c");
}

TEST_F(Page, EscapeEndsTheRunWithALineOnThePage) {
  browser->typeKey("Escape");
  EXPECT_TRUE(waitFor([] { return browser->evaluate("notice.hidden") == "false"; }));
  EXPECT_NE(browser->evaluate("notice.textContent").find("ended"), std::string::npos);
  const int last = framesDrawn();
  EXPECT_FALSE(waitFor([&] { return framesDrawn() > last; }, kStillSeconds)) << "frames go on";
}

TEST_F(Page, AnOptionThePageCannotHonourIsNamedNotIgnored) {
  ASSERT_TRUE(browser->open(url + "?replay=run.log"));
  const std::string expected = "--replay is not available in a web page";
  bool named = false;
  EXPECT_TRUE(waitFor([&] {
    const std::vector<std::string>& errors = browser->errors();
    for (; errorsSeen < errors.size(); ++errorsSeen) {
      named = named || errors[errorsSeen].find(expected) != std::string::npos;
    }
    return named && browser->evaluate("notice.hidden") == "false";
  })) << "console: " << expected;
  EXPECT_NE(browser->evaluate("notice.textContent").find("cannot start"), std::string::npos);
}
