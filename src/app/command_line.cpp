#include "app/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/run_state.h"

namespace {
constexpr int kDefaultBenchmarkSeconds = 20;
constexpr int kMaxBenchmarkSeconds = 3600;
constexpr int kMaxWindowEdge = 16384;

const char* const kUsage =
    "Usage: cryptwell [OPTION]...\n"
    "Walk through two underground rooms joined by a corridor, with fire, smoke,\n"
    "alien targets and a laser. Press ? in the program for its keys.\n"
    "\n"
    "  -w, --window[=WIDTHxHEIGHT]  start in a window (512x512 without a size)\n"
    "                               instead of full screen; F still toggles\n"
    "      --data=DIR               look for the data files in DIR first\n"
    "      --no-sound               never open the sound device\n"
    "      --benchmark[=SECONDS]    fly through SECONDS (default 20) of the same\n"
    "                               frames on every machine after the fade-in,\n"
    "                               print frame times and exit; with --replay,\n"
    "                               draw the log's frames as fast as they go\n"
    "      --benchmark-log=FILE     write each measured frame's time to FILE (CSV)\n"
    "      --record=FILE            write a replay log of the run to FILE\n"
    "      --replay=FILE            run the recorded input of FILE again and say\n"
    "                               whether the run matches (status 0) or not (1)\n"
    "  -h, --help                   show this help and exit\n"
    "      --version                show the version and exit\n"
    "\n"
    "GLUT's own options, such as -display DISPLAY and -geometry WxH+X+Y, are\n"
    "passed on to GLUT.\n"
    "\n"
    "Environment:\n"
    "  CRYPTWELL_START_MS  start the clock this many milliseconds in, as if the\n"
    "                      program had been running that long (for testing)\n"
    "\n"
    "The data files are looked for in the --data folder, the working directory,\n"
    "the program's folder, then ../share/cryptwell beside it.\n";

// GLUT's options, and whether each takes the next argument as its value.
struct GlutOption {
  const char* name;
  bool takesValue;
};
constexpr GlutOption kGlutOptions[] = {
    {"-display", true}, {"-geometry", true}, {"-direct", false}, {"-indirect", false},
    {"-iconic", false}, {"-gldebug", false}, {"-sync", false}};

const GlutOption* glutOption(const char* arg) {
  for (const GlutOption& option : kGlutOptions) {
    if (std::strcmp(arg, option.name) == 0) return &option;
  }
  return nullptr;
}

// A whole number from 1 to max, digits only; 0 for anything else.
int wholeNumber(const char* text, int max) {
  if (*text < '0' || *text > '9') return 0;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (*end != '\0' || errno != 0 || value < 1 || value > max) return 0;
  return static_cast<int>(value);
}

bool windowSize(const char* text, int& width, int& height) {
  const char* x = std::strchr(text, 'x');
  if (x == nullptr) return false;
  const std::string widthText(text, x);
  width = wholeNumber(widthText.c_str(), kMaxWindowEdge);
  height = wholeNumber(x + 1, kMaxWindowEdge);
  return width != 0 && height != 0;
}

CommandLine failure(const std::string& problem) {
  CommandLine result;
  result.action = CommandLineAction::Fail;
  result.exitStatus = 2;
  result.output = "cryptwell: " + problem + "; see 'cryptwell --help'\n";
  return result;
}

CommandLine exitWith(const std::string& text) {
  CommandLine result;
  result.action = CommandLineAction::Exit;
  result.output = text;
  return result;
}

// The value of --name=value, or null when arg is not that option; `bare` is
// set when the option came without a value.
const char* longOption(const char* arg, const char* name, bool& bare) {
  const size_t length = std::strlen(name);
  if (std::strncmp(arg, name, length) != 0) return nullptr;
  bare = arg[length] == '\0';
  if (bare) return arg + length;
  return arg[length] == '=' ? arg + length + 1 : nullptr;
}

// The options that cannot go together, or only together.
CommandLine checkCombinations(const Options& o, bool benchmarkLength, CommandLine result) {
  if (!o.recordPath.empty() && (!o.replayPath.empty() || o.benchmarkSeconds > 0)) {
    return failure("--record goes with neither --replay nor --benchmark");
  }
  if (!o.benchmarkLogPath.empty() && o.benchmarkSeconds == 0) {
    return failure("--benchmark-log needs --benchmark");
  }
  if (benchmarkLength && !o.replayPath.empty()) {
    return failure("--benchmark with --replay takes no length: it draws the whole log");
  }
  return result;
}
}  // namespace

CommandLine parseCommandLine(int& argc, char** argv, const char* version) {
  CommandLine result;
  Options& o = result.options;
  o.windowWidth = kWindowedSize;
  o.windowHeight = kWindowedSize;
  int kept = 1;
  bool benchmarkLength = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    bool bare = false;
    const char* value = nullptr;
    if (const GlutOption* glut = glutOption(arg)) {
      argv[kept++] = argv[i];
      if (glut->takesValue) {
        if (i + 1 == argc) return failure(std::string("option '") + arg + "' needs a value");
        argv[kept++] = argv[++i];
      }
    } else if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
      return exitWith(kUsage);
    } else if (std::strcmp(arg, "--version") == 0) {
      return exitWith(std::string("Cryptwell ") + version + "\n");
    } else if (std::strcmp(arg, "-w") == 0) {
      o.windowed = true;
    } else if ((value = longOption(arg, "--window", bare)) != nullptr) {
      o.windowed = true;
      if (!bare && !windowSize(value, o.windowWidth, o.windowHeight)) {
        return failure(std::string("invalid window size '") + value +
                       "' (WIDTHxHEIGHT, each 1 to 16384)");
      }
    } else if ((value = longOption(arg, "--data", bare)) != nullptr) {
      if (bare && i + 1 < argc) value = argv[++i];  // --data DIR
      if (*value == '\0') return failure("option '--data' needs a folder");
      o.dataFolder = value;
    } else if ((value = longOption(arg, "--record", bare)) != nullptr ||
               (value = longOption(arg, "--replay", bare)) != nullptr ||
               (value = longOption(arg, "--benchmark-log", bare)) != nullptr) {
      const std::string name(arg, std::strcspn(arg, "="));
      if (bare || *value == '\0') return failure("option '" + name + "' needs a file");
      std::string& path = name == "--record"   ? o.recordPath
                          : name == "--replay" ? o.replayPath
                                               : o.benchmarkLogPath;
      path = value;
    } else if (std::strcmp(arg, "--no-sound") == 0) {
      o.sound = false;
    } else if ((value = longOption(arg, "--benchmark", bare)) != nullptr) {
      benchmarkLength = !bare;
      o.benchmarkSeconds =
          bare ? kDefaultBenchmarkSeconds : wholeNumber(value, kMaxBenchmarkSeconds);
      if (o.benchmarkSeconds == 0) {
        return failure(std::string("invalid benchmark length '") + value +
                       "' (whole seconds, 1 to 3600)");
      }
    } else if (arg[0] == '-' && arg[1] != '\0') {
      return failure(std::string("unrecognized option '") + arg + "'");
    } else {
      return failure(std::string("unexpected argument '") + arg + "'");
    }
  }
  argc = kept;
  argv[argc] = nullptr;
  return checkCombinations(o, benchmarkLength, result);
}
