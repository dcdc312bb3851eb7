// The real program's command line: help, version and bad options end at once
// without opening a window; --benchmark measures and reports on its own.
#include <cstdio>

#include "e2e/program_test.h"

namespace {
constexpr double kQuickExitSeconds = 10.0;
constexpr double kBenchmarkLimitSeconds = 120.0;  // 420 frames under the sanitizers, on a loaded machine

bool startsWith(const std::string& text, const std::string& start) {
  return text.rfind(start, 0) == 0;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}
}  // namespace

class CommandLineRun : public ProgramTest {};

// Without a display a window cannot open, so an answer with the right status
// and text proves the program ended before it tried.
TEST_F(CommandLineRun, HelpVersionAndBadOptionsAnswerWithoutAWindow) {
  struct Case {
    std::vector<std::string> arguments;
    int status;
    const char* stdoutStart;  // what standard output begins with; "" for nothing at all
    const char* named;        // what the one line on standard error names; "" for no line
  };
  const Case cases[] = {
      {{"--help"}, 0, "Usage: cryptwell [OPTION]...\n", ""},
      {{"-h"}, 0, "Usage: cryptwell [OPTION]...\n", ""},
      {{"--version"}, 0, "Cryptwell ", ""},
      {{"--window=0x0"}, 2, "", "'0x0'"},
      {{"--benchmark=-3"}, 2, "", "'-3'"},
      {{"--window=abc"}, 2, "", "'abc'"},
      {{"--frobnicate"}, 2, "", "'--frobnicate'"},
      {{"--vers"}, 0, "Cryptwell ", ""},
      {{"-w800x600", "--data=/nonexistent"}, 2, "", "'/nonexistent'"},
  };
  for (const Case& c : cases) {
    ProgramRun run("", programFolder(), c.arguments);
    ASSERT_TRUE(run.started());
    const ChildEnd& end = run.waitForExit(kQuickExitSeconds);
    const std::string& what = c.arguments[0];
    ASSERT_TRUE(end.exited) << what << ": " << describe(end);
    EXPECT_EQ(end.status, c.status) << what;
    const std::string out = run.standardOutput();
    const std::string err = run.standardError();
    EXPECT_TRUE(*c.stdoutStart == '\0' ? out.empty() : startsWith(out, c.stdoutStart))
        << what << " printed:\n"
        << out;
    if (*c.named == '\0') {
      EXPECT_EQ(err, "") << what;
    } else {
      EXPECT_TRUE(startsWith(err, "cryptwell: ") && contains(err, c.named) &&
                  contains(err, "--help") && err.find('\n') == err.size() - 1)
          << what << " complained:\n"
          << err;
    }
  }
  ProgramRun version("", programFolder(), {"--version"});
  version.waitForExit(kQuickExitSeconds);
  unsigned major = 0, minor = 0, patch = 0;
  EXPECT_EQ(
      std::sscanf(version.standardOutput().c_str(), "Cryptwell %u.%u.%u\n", &major, &minor, &patch),
      3)
      << version.standardOutput();
}

// Help that could not be written is a failure, said on standard error.
TEST_F(CommandLineRun, AnAnswerThatCannotBeWrittenIsAnErrorWithStatusOne) {
  const std::string errors = ::testing::TempDir() + "cryptwell_full_stderr";
  const ChildEnd end = runChild({{programPath(), "--help"}, {}, "", "/dev/full", errors},
                                kQuickExitSeconds);
  ASSERT_TRUE(end.exited) << describe(end);
  EXPECT_EQ(end.status, 1);
  const std::string err = readFile(errors);
  EXPECT_TRUE(startsWith(err, "cryptwell: write error: ") && err.find('\n') == err.size() - 1)
      << err;
}

TEST_F(CommandLineRun, BenchmarkReportsItsFiguresAndExitsZero) {
  ASSERT_NO_FATAL_FAILURE(startProgram(programFolder(), {"--benchmark=5"}));
  const ChildEnd& end = run_->waitForExit(kBenchmarkLimitSeconds);
  ASSERT_TRUE(end.exited) << describe(end);
  EXPECT_EQ(end.status, 0);
  const std::string report = run_->standardOutput();
  EXPECT_TRUE(startsWith(report, "Cryptwell benchmark: ")) << report;
  EXPECT_EQ(reportValue(report, "window"),
            std::to_string(kScreenWidth) + " x " + std::to_string(kScreenHeight))
      << report;
  EXPECT_TRUE(contains(reportValue(report, "renderer"), "llvmpipe")) << report;
  EXPECT_NE(reportValue(report, "GL version"), "") << report;
  EXPECT_EQ(std::atoi(reportValue(report, "frames").c_str()), 300) << "5 s of 60 frames";
  EXPECT_GT(std::atof(reportValue(report, "mean").c_str()), 2.0) << report;
  double median = 0, p95 = 0, p99 = 0, worst = 0;
  ASSERT_EQ(std::sscanf(reportValue(report, "frame time").c_str(),
                        "median %lf ms, 95th %lf ms, 99th %lf ms, worst %lf ms", &median, &p95,
                        &p99, &worst),
            4)
      << report;
  EXPECT_TRUE(0 < median && median <= p95 && p95 <= p99 && p99 <= worst) << report;
  EXPECT_EQ(run_->standardError(), "");
}
