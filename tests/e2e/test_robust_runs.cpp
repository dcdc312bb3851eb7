// Runs that cannot hang, grow or fail in silence: a gap in a replay log is
// not waited out, a file that is no log is refused at once, every output
// that cannot be written ends the run with one line and status 1, and what a
// message quotes from a log reaches the terminal as plain text.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "e2e/program_test.h"

namespace {
constexpr double kDeadlineSeconds = 120.0;  // a few frames, or a benchmark second, under the sanitizers
const std::string kHeader = "cryptwell-replay 1\nprogram 1.0.0\nstart 0\nwindow 320 240\n";
}  // namespace

class RobustRun : public ProgramTest {
 protected:
  void TearDown() override {
    std::filesystem::remove_all(folder_);
    ProgramTest::TearDown();
  }
  std::string write(const std::string& name, const std::string& text) {
    std::filesystem::create_directories(folder_);
    std::ofstream(folder_ + name, std::ios::binary) << text;
    return folder_ + name;
  }
  std::string folder_ =
      ::testing::TempDir() + "cryptwell-robust-" + std::to_string(getpid()) + "/";
};

TEST_F(RobustRun, NoWaitNoGrowthNoSilentFailure) {
  const std::string gap = write("gap.log", kHeader + "f 16\nf 1000000000\nf 4503599627370496\nend -\n");
  const std::string ok = write("ok.log", kHeader + "f 16\nf 16\nend -\n");
  const std::string escape = write("escape.log", "cryptwell-replay \x1b]0;owned\x07\n");
  struct Case {
    std::vector<std::string> arguments;
    bool toFullDisk, window;  // standard output is /dev/full; the run gets as far as a window
    int status;
    const char* stdoutText;  // all of standard output, when not /dev/full
    const char* named;       // what the one line on standard error names; "" for none
  };
  const Case cases[] = {
      {{"--replay=" + gap}, false, true, 0, "replay: 3 frames, matches\n", ""},
      {{"--replay=/dev/zero"}, false, false, 2, "", "longer than"},
      {{"--replay=" + folder_}, false, false, 2, "", "is a folder"},
      {{"--replay=" + escape}, false, false, 2, "", "\\x1b]0;owned\\x07"},
      {{"--replay=" + ok}, true, true, 1, "", "standard output: No space left"},
      {{"--benchmark=1", "-w"}, true, true, 1, "", "standard output: No space left"},
      {{"--benchmark=1", "--benchmark-log=/dev/full"}, false, false, 1, "", "/dev/full: No space"},
      {{"--benchmark=1", "--benchmark-log=" + folder_}, false, false, 1, "", "is a folder"},
      {{"--benchmark=1", "--benchmark-log=/nonexistent/b.csv"}, false, false, 1, "", "No such"},
      {{"--record=/dev/full"}, false, false, 1, "", "/dev/full: No space"},
      {{"--record=/nonexistent/r.log"}, false, false, 1, "", "No such"},
  };
  display_ = std::make_unique<VirtualDisplay>(kScreenWidth, kScreenHeight);
  ASSERT_TRUE(display_->ready()) << display_->failure();
  for (const Case& c : cases) {
    // Without a display a window cannot open: a run refused there ended before it tried.
    const std::vector<std::string> program = {"-c", "exec \"$0\" \"$@\" >/dev/full", programPath()};
    std::vector<std::string> arguments = c.toFullDisk ? program : std::vector<std::string>{};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    ProgramRun run(c.window ? display_->name() : "", programFolder(), arguments,
                   c.toFullDisk ? "/bin/sh" : programPath());
    const std::string& what = c.arguments[0];
    const ChildEnd& end = run.waitForExit(kDeadlineSeconds);
    ASSERT_TRUE(end.exited) << what << ": " << describe(end);
    EXPECT_EQ(end.status, c.status) << what;
    if (!c.toFullDisk) {
      EXPECT_EQ(run.standardOutput(), c.stdoutText) << what;
    }
    const std::string err = run.standardError();
    const bool printable =
        !err.empty() && std::all_of(err.begin(), err.end() - 1, [](char b) { return b >= 0x20; });
    EXPECT_TRUE(*c.named == '\0' ? err.empty()
                                  : err.rfind("cryptwell: ", 0) == 0 && printable &&
                                        err.find(c.named) != std::string::npos &&
                                        err.find('\n') == err.size() - 1)
        << what << " complained:\n" << err;
  }
}
