// The real program records 20 s of random keys, arrows, pointer moves and
// clicks, says in one line what it recorded, and replays them from the log:
// the replay says it matches, with status 0 and nothing else on the console. The benchmark draws the same
// frames every time: twice 300 frames and the same final state.
#include <X11/keysym.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "e2e/program_test.h"

namespace {
constexpr double kInputSeconds = 20.0;
constexpr double kExitSeconds = 60.0;
constexpr double kReplaySeconds = 180.0;  // recorded pace, slower under sanitizers and load
constexpr double kBenchmarkSeconds = 120.0;
const KeySym kKeys[] = {XK_v, XK_w, XK_c, XK_space, XK_bracketleft, XK_bracketright, XK_l,
                        XK_p, XK_u, XK_r, XK_o, XK_1, XK_7, XK_question, XK_equal, XK_period};
const KeySym kArrows[] = {XK_Left, XK_Right, XK_Up, XK_Down};

int countLines(const std::string& text, const std::string& start) {
  int count = 0;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) count += line.rfind(start, 0) == 0 ? 1 : 0;
  return count;
}
}  // namespace

class ReplayRun : public ProgramTest {
 protected:
  void TearDown() override {
    unlink(log_.c_str());
    ProgramTest::TearDown();
  }
  std::string log_ = ::testing::TempDir() + "cryptwell-e2e-" + std::to_string(getpid()) + ".log";
};

TEST_F(ReplayRun, RandomInputRecordedReplaysToAMatch) {
  ASSERT_NO_FATAL_FAILURE(startProgram(programFolder(), {"--no-sound", "--record=" + log_}));
  std::mt19937 random(20);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < std::chrono::duration<double>(kInputSeconds)) {
    switch (pick(5)) {
      case 0: tapKey(kKeys[pick(static_cast<int>(std::size(kKeys)))]); break;
      case 1: {
        const KeySym arrow = kArrows[pick(4)];
        pressKey(arrow);
        pause(0.05 * pick(6));
        releaseKey(arrow);
        break;
      }
      case 2:
        pressButton(1);
        pause(0.05 * pick(6));
        releaseButton(1);
        break;
      default: movePointer(300 + pick(300), 200 + pick(300)); break;
    }
    pause(0.02 * pick(10));
  }
  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kExitSeconds));

  std::ifstream in(log_);
  std::stringstream text;
  text << in.rdbuf();
  const int frames = countLines(text.str(), "f ");
  EXPECT_EQ(run_->standardOutput(), "");
  const std::string said = run_->standardError();
  EXPECT_EQ(said.rfind("cryptwell: recorded " + std::to_string(frames) + " frames, ", 0), 0u)
      << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line, naming the file:\n" << said;
  EXPECT_NE(said.find(log_), std::string::npos) << said;
  EXPECT_GT(countLines(text.str(), "key "), 10) << "the keys reached the log";
  EXPECT_GT(countLines(text.str(), "button "), 5);

  x_.reset();  // its display goes with the recording's run
  ASSERT_NO_FATAL_FAILURE(startProgram(programFolder(), {"--no-sound", "--replay=" + log_}));
  const ChildEnd& end = run_->waitForExit(kReplaySeconds);
  ASSERT_TRUE(end.exited) << describe(end);
  EXPECT_EQ(end.status, 0) << run_->standardOutput();
  EXPECT_EQ(run_->standardOutput(), "replay: " + std::to_string(frames) + " frames, matches\n");
  EXPECT_EQ(run_->standardError(), "");
}

// A run in a window of its own size and seed that went full screen replays
// without options: the same window, the same frames.
TEST_F(ReplayRun, ARunReplaysInItsRecordedWindowWithoutOptions) {
  constexpr int kWidth = 800;
  constexpr int kHeight = 600;
  expectedWidth_ = kWidth;
  expectedHeight_ = kHeight;
  ASSERT_NO_FATAL_FAILURE(startProgram(
      programFolder(), {"-w800x600", "--seed=7", "--no-sound", "--record=" + log_}));
  waitUntil(kFadeInSeconds);
  tapKey(XK_f);
  ASSERT_TRUE(waitForSize(kScreenWidth, kScreenHeight, kConditionSeconds));
  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kExitSeconds));

  x_.reset();
  ASSERT_NO_FATAL_FAILURE(startProgram(programFolder(), {"--replay=" + log_}));
  EXPECT_TRUE(waitForSize(kScreenWidth, kScreenHeight, kReplaySeconds)) << "F is replayed too";
  const ChildEnd& end = run_->waitForExit(kReplaySeconds);
  ASSERT_TRUE(end.exited) << describe(end);
  EXPECT_EQ(end.status, 0) << run_->standardOutput() << run_->standardError();
  EXPECT_NE(run_->standardOutput().find(" frames, matches\n"), std::string::npos);
}

TEST_F(ReplayRun, TheBenchmarkDrawsTheSameFramesEveryTime) {
  std::string hashes[2];
  for (std::string& hash : hashes) {
    // It may be over before a window could be seen: only its end is waited for.
    display_ = std::make_unique<VirtualDisplay>(kScreenWidth, kScreenHeight);
    ASSERT_TRUE(display_->ready()) << display_->failure();
    run_ = std::make_unique<ProgramRun>(display_->name(), programFolder(),
                                        std::vector<std::string>{"--benchmark=5"});
    const ChildEnd& end = run_->waitForExit(kBenchmarkSeconds);
    ASSERT_TRUE(end.exited) << describe(end);
    EXPECT_EQ(end.status, 0);
    const std::string report = run_->standardOutput();
    EXPECT_EQ(std::atoi(reportValue(report, "frames").c_str()), 300) << report;
    hash = reportValue(report, "state hash");
    EXPECT_EQ(hash.size(), 16u) << report;
  }
  EXPECT_EQ(hashes[0], hashes[1]);
}
