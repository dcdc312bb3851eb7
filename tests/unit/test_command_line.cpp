// The command line: each option, the bad values, and GLUT's own options left
// in place for glutInit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

struct Parsed {
  CommandLine result;
  std::vector<std::string> left;  // argv as glutInit would see it
};

Parsed parse(std::vector<std::string> words) {
  words.insert(words.begin(), "cryptwell");
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  int argc = static_cast<int>(words.size());
  Parsed p{parseCommandLine(argc, argv.data(), "9.8.7"), {}};
  for (int i = 0; i < argc; ++i) p.left.emplace_back(argv[i]);
  EXPECT_EQ(argv[argc], nullptr);
  return p;
}

TEST(CommandLine, WithoutOptionsTheProgramRunsAsDesigned) {
  const Parsed p = parse({});
  EXPECT_EQ(p.result.action, CommandLineAction::Run);
  const Options& o = p.result.options;
  EXPECT_FALSE(o.windowed);
  EXPECT_TRUE(o.sound);
  EXPECT_EQ(o.benchmarkSeconds, 0);
  EXPECT_EQ(o.dataFolder, "");
  EXPECT_EQ(p.left, std::vector<std::string>{"cryptwell"});
}

TEST(CommandLine, EachOptionSetsItsValue) {
  struct Case {
    std::vector<std::string> words;
    bool windowed;
    int width, height;
    const char* data;
    bool sound;
    int benchmark;
  };
  const Case cases[] = {
      {{"-w"}, true, 512, 512, "", true, 0},
      {{"--window"}, true, 512, 512, "", true, 0},
      {{"--window=800x600"}, true, 800, 600, "", true, 0},
      {{"--data=/opt/x"}, false, 512, 512, "/opt/x", true, 0},
      {{"--data", "/opt/y"}, false, 512, 512, "/opt/y", true, 0},
      {{"--no-sound"}, false, 512, 512, "", false, 0},
      {{"--benchmark"}, false, 512, 512, "", true, 20},
      {{"--benchmark=5", "-w"}, true, 512, 512, "", true, 5},
  };
  for (const Case& c : cases) {
    const Parsed p = parse(c.words);
    const std::string what = c.words[0];
    ASSERT_EQ(p.result.action, CommandLineAction::Run) << what;
    const Options& o = p.result.options;
    EXPECT_EQ(o.windowed, c.windowed) << what;
    EXPECT_EQ(o.windowWidth, c.width) << what;
    EXPECT_EQ(o.windowHeight, c.height) << what;
    EXPECT_EQ(o.dataFolder, c.data) << what;
    EXPECT_EQ(o.sound, c.sound) << what;
    EXPECT_EQ(o.benchmarkSeconds, c.benchmark) << what;
    EXPECT_EQ(p.left.size(), 1u) << what;
  }
}

TEST(CommandLine, HelpAndVersionPrintAndExitWithZero) {
  for (const char* help : {"-h", "--help"}) {
    const Parsed p = parse({"--no-sound", help});
    EXPECT_EQ(p.result.action, CommandLineAction::Exit);
    EXPECT_EQ(p.result.exitStatus, 0);
    EXPECT_EQ(p.result.output.rfind("Usage: cryptwell", 0), 0u) << help;
    for (const char* option :
         {"--window", "--data", "--no-sound", "--benchmark", "--version", "CRYPTWELL_START_MS"}) {
      EXPECT_NE(p.result.output.find(option), std::string::npos) << option;
    }
  }
  const Parsed v = parse({"--version"});
  EXPECT_EQ(v.result.action, CommandLineAction::Exit);
  EXPECT_EQ(v.result.output, "Cryptwell 9.8.7\n");
}

TEST(CommandLine, ABadOptionOrValueIsOneLineNamingItAndStatusTwo) {
  const std::vector<std::vector<std::string>> bad = {
      {"--window=0x0"},
      {"--window=abc"},
      {"--window=640x"},
      {"--window=x480"},
      {"--window=1x-1"},
      {"--window=99999x1"},
      {"--benchmark=-3"},
      {"--benchmark=0"},
      {"--benchmark=2s"},
      {"--data="},
      {"--no-sound=1"},
      {"--bogus"},
      {"-x"},
      {"stray"},
      {"--helpme"},
      {"-display"},
  };
  for (const std::vector<std::string>& words : bad) {
    const Parsed p = parse(words);
    const std::string& out = p.result.output;
    EXPECT_EQ(p.result.action, CommandLineAction::Fail) << words[0];
    EXPECT_EQ(p.result.exitStatus, 2) << words[0];
    EXPECT_EQ(out.rfind("cryptwell: ", 0), 0u) << out;
    EXPECT_NE(out.find(words[0].substr(words[0].find('=') + 1)), std::string::npos) << out;
    EXPECT_NE(out.find("--help"), std::string::npos) << out;
    EXPECT_EQ(out.find('\n'), out.size() - 1) << "one line: " << out;
  }
}

TEST(CommandLine, GlutOptionsAndTheirValuesPassThrough) {
  const Parsed p = parse({"-display", ":9", "--no-sound", "-geometry", "300x200+1+2", "-iconic",
                          "--window=640x480", "-sync"});
  ASSERT_EQ(p.result.action, CommandLineAction::Run);
  EXPECT_EQ(p.left, (std::vector<std::string>{"cryptwell", "-display", ":9", "-geometry",
                                              "300x200+1+2", "-iconic", "-sync"}));
  EXPECT_FALSE(p.result.options.sound);
  EXPECT_EQ(p.result.options.windowWidth, 640);
}

}  // namespace

namespace {
TEST(CommandLine, RecordReplayAndBenchmarkLogTakeAFileAndGoTogetherOnlyWhereTheyMeanSomething) {
  const Parsed p = parse({"--record=run.log"});
  ASSERT_EQ(p.result.action, CommandLineAction::Run);
  EXPECT_EQ(p.result.options.recordPath, "run.log");
  const Parsed t = parse({"--benchmark", "--replay=run.log", "--benchmark-log=t.csv"});
  ASSERT_EQ(t.result.action, CommandLineAction::Run) << t.result.output;
  EXPECT_EQ(t.result.options.replayPath, "run.log");
  EXPECT_EQ(t.result.options.benchmarkLogPath, "t.csv");

  for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
           {"--record"}, {"--replay="}, {"--record=a", "--replay=b"}, {"--record=a", "--benchmark"},
           {"--benchmark-log=t.csv"}, {"--benchmark=5", "--replay=b"}}) {
    const Parsed bad = parse(words);
    EXPECT_EQ(bad.result.action, CommandLineAction::Fail) << words[0];
    EXPECT_EQ(bad.result.exitStatus, 2) << words[0];
    EXPECT_EQ(bad.result.output.find('\n'), bad.result.output.size() - 1) << bad.result.output;
  }
}
}  // namespace
