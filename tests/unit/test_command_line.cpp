// The command line: each option, the bad values, and GLUT's own options left
// in place for glutInit.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "gfx/draw_passes.h"

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
  EXPECT_EQ(o.run.fullScreen, 1u);
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
      {{"-w800x600"}, true, 800, 600, "", true, 0},
      {{"--data=/"}, false, 512, 512, "/", true, 0},
      {{"--data", "/tmp"}, false, 512, 512, "/tmp", true, 0},
      {{"--d", "/"}, false, 512, 512, "/", true, 0},
      {{"--no-s"}, false, 512, 512, "", false, 0},
      {{"--benchmark-l=/tmp/x.csv", "--benchmark"}, false, 512, 512, "", true, 20},
      {{"--no-sound"}, false, 512, 512, "", false, 0},
      {{"--benchmark"}, false, 512, 512, "", true, 20},
      {{"--benchmark=5", "-w"}, true, 512, 512, "", true, 5},
  };
  for (const Case& c : cases) {
    const Parsed p = parse(c.words);
    const std::string what = c.words[0];
    ASSERT_EQ(p.result.action, CommandLineAction::Run) << what;
    const Options& o = p.result.options;
    EXPECT_EQ(o.run.fullScreen == 0, c.windowed) << what;
    EXPECT_EQ(o.run.windowWidth, static_cast<uint32_t>(c.width)) << what;
    EXPECT_EQ(o.run.windowHeight, static_cast<uint32_t>(c.height)) << what;
    EXPECT_EQ(o.dataFolder, c.data) << what;
    EXPECT_EQ(o.sound, c.sound) << what;
    EXPECT_EQ(o.benchmarkSeconds, c.benchmark) << what;
    EXPECT_EQ(p.left.size(), 1u) << what;
  }
}

TEST(CommandLine, HelpAndVersionPrintAndExitWithZero) {
  for (const char* help : {"-h", "--help", "--he", "-hw"}) {
    const Parsed p = parse({"--no-sound", help});
    EXPECT_EQ(p.result.action, CommandLineAction::Exit);
    EXPECT_EQ(p.result.exitStatus, 0);
    EXPECT_EQ(p.result.output.rfind("Usage: cryptwell", 0), 0u) << help;
    EXPECT_NE(p.result.output.find("\nReport bugs to: "), std::string::npos) << help;
    EXPECT_NE(p.result.output.find("home page: <"), std::string::npos) << help;
    for (const char* option :
         {"--window", "--data", "--no-sound", "--benchmark", "--version", "CRYPTWELL_START_MS",
          "--fps", "--vsync", "--no-vsync", "--root", "--window-id", "XSCREENSAVER_WINDOW"}) {
      EXPECT_NE(p.result.output.find(option), std::string::npos) << option;
    }
  }
  // Each option has one entry in the list, where a line starts with its name.
  std::istringstream lines(parse({"--help"}).result.output);
  std::set<std::string> entries;
  for (std::string line; std::getline(lines, line);) {
    const size_t name = line.find("--");
    if (name == std::string::npos || line.find_first_not_of(' ') != line.find('-')) continue;
    const std::string option = line.substr(name, line.find_first_of("=[ ,", name) - name);
    EXPECT_TRUE(entries.insert(option).second) << option << " is listed twice";
  }
  EXPECT_GE(entries.size(), 14u);  // the check found the entries
  for (const char* version : {"--version", "--vers"}) {
    const Parsed v = parse({version});
    EXPECT_EQ(v.result.action, CommandLineAction::Exit);
    const std::string& out = v.result.output;
    EXPECT_EQ(out.rfind("Cryptwell 9.8.7\nCopyright (c) 2026 The Cryptwell developers\n", 0), 0u)
        << out;
    EXPECT_NE(out.find("MIT"), std::string::npos) << out;
    EXPECT_NE(out.find("NO WARRANTY"), std::string::npos) << out;
  }
}

TEST(CommandLine, ABadOptionOrValueIsOneLineNamingItAndStatusTwo) {
  struct Case {
    const char* word;
    const char* named;  // what the line must quote
  };
  const Case cases[] = {
      {"--window=0x0", "'0x0'"},
      {"--window=abc", "'abc'"},
      {"--window=640x", "'640x'"},
      {"--window=x480", "'x480'"},
      {"--window=1x-1", "'1x-1'"},
      {"--window=99999x1", "'99999x1'"},
      {"-w0x0", "'0x0'"},
      {"-wq", "'q'"},
      {"--benchmark=-3", "'-3'"},
      {"--benchmark=0", "'0'"},
      {"--benchmark=2s", "'2s'"},
      {"--data=", "'--data'"},
      {"--data", "'--data'"},
      {"--data=/nonexistent/cryptwell", "'/nonexistent/cryptwell'"},
      {"--data=/etc/passwd", "'/etc/passwd'"},
      {"--no-sound=1", "'--no-sound=1'"},
      {"--bogus", "'--bogus'"},
      {"--helpme", "'--helpme'"},
      {"-x", "'-x'"},
      {"stray", "'stray'"},
      {"-display", "'-display'"},
      {"--win=300x200", "ambiguous"},  // --window or --window-id
      {"--bench", "ambiguous"},        // --benchmark or --benchmark-log
      {"--window-id=abc", "'abc'"},
      {"--window-id=0x", "'0x'"},
      {"--window-id=-5", "'-5'"},
      {"--window-id=0", "'0'"},
      {"--window-id=0x1ffffffff", "'0x1ffffffff'"},
      {"--window-id=12 ", "'12 '"},
      {"-window-id", "'-window-id'"},
      {"--fps=0", "'0'"},
      {"--fps=1001", "'1001'"},
      {"--fps=fast", "'fast'"},
      {"--vsync=1", "'--vsync=1'"},
  };
  for (const Case& c : cases) {
    const Parsed p = parse({c.word});
    const std::string& out = p.result.output;
    EXPECT_EQ(p.result.action, CommandLineAction::Fail) << c.word;
    EXPECT_EQ(p.result.exitStatus, 2) << c.word;
    EXPECT_EQ(out.rfind("cryptwell: ", 0), 0u) << out;
    EXPECT_NE(out.find(c.named), std::string::npos) << out;
    EXPECT_NE(out.find("--help"), std::string::npos) << out;
    EXPECT_EQ(out.find('\n'), out.size() - 1) << "one line: " << out;
  }
  // A size after -w is a stray word: the line shows the joined spelling.
  for (const auto& [option, joined] : {std::pair{"-w", "'-w800x600'"},
                                       std::pair{"--window", "'--window=800x600'"}}) {
    const Parsed p = parse({option, "800x600"});
    EXPECT_EQ(p.result.exitStatus, 2) << option;
    EXPECT_NE(p.result.output.find(joined), std::string::npos) << p.result.output;
  }
  EXPECT_EQ(parse({"--no-sound", "800x600"}).result.output.find("joined"), std::string::npos);
}

TEST(CommandLine, ScreenSaverSpellingsFrameCapAndVerticalSync) {
  struct Case {
    std::vector<std::string> words;
    bool root;
    unsigned long windowId;
    int fps;
    VerticalSync sync;
  };
  const Case cases[] = {
      {{"--root"}, true, 0, 0, VerticalSync::DriverDefault},
      {{"-root"}, true, 0, 0, VerticalSync::DriverDefault},
      {{"--window-id=4194312"}, false, 4194312, 0, VerticalSync::DriverDefault},
      {{"--window-id", "0x400008"}, false, 0x400008, 0, VerticalSync::DriverDefault},
      {{"-window-id", "0X1fFfFfFf"}, false, 0x1fffffff, 0, VerticalSync::DriverDefault},
      {{"--window-id=0xffffffff"}, false, 0xffffffff, 0, VerticalSync::DriverDefault},
      {{"--fps=1", "--vsync"}, false, 0, 1, VerticalSync::On},
      {{"--fps", "1000", "--no-vsync"}, false, 0, 1000, VerticalSync::Off},
      {{"--vsync", "--no-vsync"}, false, 0, 0, VerticalSync::Off},  // the last one counts
  };
  for (const Case& c : cases) {
    const Parsed p = parse(c.words);
    const std::string what = c.words[0];
    ASSERT_EQ(p.result.action, CommandLineAction::Run) << what;
    const Options& o = p.result.options;
    EXPECT_EQ(o.root, c.root) << what;
    EXPECT_EQ(o.windowId, c.windowId) << what;
    EXPECT_EQ(o.run.framesPerSecond, static_cast<uint32_t>(c.fps)) << what;
    EXPECT_EQ(o.verticalSync, c.sync) << what;
    EXPECT_EQ(p.left.size(), 1u) << what;
  }
}

TEST(CommandLine, GlutOptionsAndTheirValuesPassThrough) {
  const Parsed p = parse({"-display", ":9", "--no-sound", "-geometry", "300x200+1+2", "-iconic",
                          "--window=640x480", "-sync"});
  ASSERT_EQ(p.result.action, CommandLineAction::Run);
  EXPECT_EQ(p.left, (std::vector<std::string>{"cryptwell", "-display", ":9", "-geometry",
                                              "300x200+1+2", "-iconic", "-sync"}));
  EXPECT_FALSE(p.result.options.sound);
  EXPECT_EQ(p.result.options.run.windowWidth, 640u);
  // Screen-saver mode opens the display itself, with what GLUT would use.
  EXPECT_EQ(p.result.options.display, ":9");
  EXPECT_TRUE(p.result.options.synchronousX);
  EXPECT_TRUE(parse({"-indirect"}).result.options.indirectGl);
}

}  // namespace

TEST(CommandLine, LeaveOutTakesAListOfPassNames) {
  struct Case {
    const char* word;
    unsigned passes;  // 0: refused
  };
  const Case cases[] = {
      {"--leave-out=world", 1u << static_cast<int>(DrawPass::World)},
      {"--leave-out=clear,overlays", 1u << static_cast<int>(DrawPass::Clear) |
                                         1u << static_cast<int>(DrawPass::Overlays)},
      {"--leave-out=stars,targets,particles", 0x1au},
      {"--leave-out=", 0},
      {"--leave-out=sky", 0},
      {"--leave-out=world,", 0},
      {"--leave-out=World", 0},
      {"--leave-out=worlds", 0},
  };
  for (const Case& c : cases) {
    const Parsed p = parse({c.word});
    if (c.passes == 0) {
      EXPECT_EQ(p.result.action, CommandLineAction::Fail) << c.word;
      EXPECT_NE(p.result.output.find("clear, stars, world"), std::string::npos) << c.word;
    } else {
      ASSERT_EQ(p.result.action, CommandLineAction::Run) << c.word;
      EXPECT_EQ(p.result.options.passesLeftOut, c.passes) << c.word;
    }
  }
  EXPECT_EQ(parse({}).result.options.passesLeftOut, 0u);
}

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

namespace {
// A replay keeps the settings its log holds; an option that says otherwise
// is refused, naming both values, and one that agrees or shapes nothing the
// log holds goes through.
TEST(CommandLine, AnOptionThatContradictsTheReplayLogIsNamedWithBothValues) {
  RunSettings windowed;
  windowed.fullScreen = 0, windowed.windowWidth = 800, windowed.windowHeight = 600;
  windowed.seed = 7;
  const RunSettingMask all = (1u << kRunSettingFieldCount) - 1;
  const struct {
    std::vector<std::string> words;
    RunSettingMask held;  // what the log holds: a version 1 log holds nothing
    std::string conflict;
  } cases[] = {
      {{"--no-sound", "--vsync", "--benchmark", "--leave-out=stars"}, all, ""},
      {{"-w800x600", "--seed=7"}, all, ""},
      {{"--seed=8"}, all, "the run was recorded with seed 7, but --seed asks for 8"},
      {{"-w1024x600"}, all, "the run was recorded with window-width 800, but --window asks for 1024"},
      {{"--fps=30"}, all, "the run was recorded with fps 0, but --fps asks for 30"},
      {{"--seed=8", "--fps=30"}, 0, ""},
  };
  for (const auto& c : cases) {
    const Options o = parse(c.words).result.options;
    EXPECT_EQ(settingConflict(windowed, c.held, o.run, o.given), c.conflict) << c.words[0];
  }
  const Options w = parse({"-w"}).result.options;
  EXPECT_EQ(settingConflict(RunSettings{}, all, w.run, w.given),
            "the run was recorded with full-screen 1, but --window asks for 0");
}
}  // namespace
