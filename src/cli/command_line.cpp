#include "cli/command_line.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "cli/usage.h"
#include "core/quoted_text.h"
#include "gfx/draw_passes.h"

namespace {
constexpr int kDefaultBenchmarkSeconds = 20;
constexpr int kMaxBenchmarkSeconds = 3600;
constexpr unsigned long long kMaxWindowId = 0xffffffff;  // X ids are 32 bits on the wire

const char* const kVersionNotice =
    "Copyright (c) 2026 The Cryptwell developers\n"
    "License: MIT (Expat) <https://opensource.org/licenses/MIT>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

// GLUT's options, and whether each takes the next argument as its value.
struct GlutOption {
  const char* name;
  bool takesValue;
};
constexpr GlutOption kGlutOptions[] = {
    {"-display", true}, {"-geometry", true}, {"-direct", false}, {"-indirect", false},
    {"-iconic", false}, {"-gldebug", false}, {"-sync", false}};

// What screen-saver mode takes from GLUT's options; -geometry and -iconic
// have no meaning in a window someone else made, and -gldebug's check is
// the picture's own GL error line.
void noteGlutOption(Options& o, const char* name, const char* value) {
  if (std::strcmp(name, "-display") == 0) o.display = value;
  if (std::strcmp(name, "-sync") == 0) o.synchronousX = true;
  if (std::strcmp(name, "-indirect") == 0) o.indirectGl = true;
  if (std::strcmp(name, "-direct") == 0) o.indirectGl = false;
}

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

// What an option's handler makes of it: nothing more to do, stop with a
// text on standard output, or a bad value (the text says why).
enum class Outcome { Go, Exit, BadValue };

struct Applied {
  Outcome outcome;
  std::string text;
};

const Applied kGo{Outcome::Go, ""};

Applied badValue(const std::string& why) { return {Outcome::BadValue, why}; }

// Each handler gets the option's value, or null when it came without one.
using Handler = Applied (*)(Options&, const char* value, const char* version);

Applied showHelp(Options&, const char*, const char*) { return {Outcome::Exit, kUsage}; }

Applied showVersion(Options&, const char*, const char* version) {
  return {Outcome::Exit, std::string("Cryptwell ") + version + "\n" + kVersionNotice};
}

Applied setWindow(Options& o, const char* value, const char*) {
  o.run.fullScreen = 0;
  o.given |= runSettingBit(&RunSettings::fullScreen);
  if (value == nullptr) return kGo;
  const char* x = std::strchr(value, 'x');
  if (x != nullptr) {
    const std::string widthText(value, x);
    const int width = wholeNumber(widthText.c_str(), kMaxWindowEdge);
    const int height = wholeNumber(x + 1, kMaxWindowEdge);
    o.run.windowWidth = static_cast<uint32_t>(width);
    o.run.windowHeight = static_cast<uint32_t>(height);
    o.given |= runSettingBit(&RunSettings::windowWidth) | runSettingBit(&RunSettings::windowHeight);
    if (width != 0 && height != 0) return kGo;
  }
  return badValue("invalid window size " + quoted(value) + " (WIDTHxHEIGHT, each 1 to 16384)");
}

Applied setDataFolder(Options& o, const char* value, const char*) {
  if (*value == '\0') return badValue("option '--data' needs a folder");
  struct stat info {};
  const bool found = stat(value, &info) == 0;
  if (!found || !S_ISDIR(info.st_mode)) {
    return badValue("invalid data folder " + quoted(value) + " (" +
                    (found ? "not a folder" : std::strerror(errno)) + ")");
  }
  o.dataFolder = value;
  return kGo;
}

Applied setNoSound(Options& o, const char*, const char*) {
  o.sound = false;
  return kGo;
}

Applied setBenchmark(Options& o, const char* value, const char*) {
  o.benchmarkLength = value != nullptr;
  o.benchmarkSeconds =
      value == nullptr ? kDefaultBenchmarkSeconds : wholeNumber(value, kMaxBenchmarkSeconds);
  if (o.benchmarkSeconds != 0) return kGo;
  return badValue("invalid benchmark length " + quoted(value) + " (whole seconds, 1 to 3600)");
}

Applied setRoot(Options& o, const char*, const char*) {
  o.root = true;
  return kGo;
}

Applied setWindowId(Options& o, const char* value, const char*) {
  if (parseWindowId(value, o.windowId)) return kGo;
  return badValue("invalid window id " + quoted(value) + " (a number, decimal or 0x hexadecimal)");
}

Applied setFramesPerSecond(Options& o, const char* value, const char*) {
  o.run.framesPerSecond = static_cast<uint32_t>(wholeNumber(value, kMaxFramesPerSecond));
  o.given |= runSettingBit(&RunSettings::framesPerSecond);
  if (o.run.framesPerSecond != 0) return kGo;
  return badValue("invalid frame rate " + quoted(value) + " (frames a second, 1 to 1000)");
}

Applied setSeed(Options& o, const char* value, const char*) {
  char* end = nullptr;
  errno = 0;
  const unsigned long long seed = std::strtoull(value, &end, 10);
  if (*value >= '0' && *value <= '9' && *end == '\0' && errno == 0 && seed <= UINT32_MAX) {
    o.run.seed = static_cast<uint32_t>(seed);
    o.given |= runSettingBit(&RunSettings::seed);
    return kGo;
  }
  return badValue("invalid seed " + quoted(value) + " (0 to 4294967295)");
}

Applied setVsync(Options& o, const char*, const char*) {
  o.verticalSync = VerticalSync::On;
  return kGo;
}

Applied setNoVsync(Options& o, const char*, const char*) {
  o.verticalSync = VerticalSync::Off;
  return kGo;
}

Applied setLeaveOut(Options& o, const char* value, const char*) {
  if (parseDrawPasses(value, &o.passesLeftOut)) return kGo;
  return badValue("invalid passes " + quoted(value) +
                  " (comma-separated: clear, stars, world, targets, particles, overlays)");
}

Applied setFile(std::string& path, const char* value, const char* option) {
  if (*value == '\0') return badValue(std::string("option '") + option + "' needs a file");
  path = value;
  return kGo;
}

Applied setRecord(Options& o, const char* value, const char*) {
  return setFile(o.recordPath, value, "--record");
}

Applied setReplay(Options& o, const char* value, const char*) {
  return setFile(o.replayPath, value, "--replay");
}

Applied setBenchmarkLog(Options& o, const char* value, const char*) {
  return setFile(o.benchmarkLogPath, value, "--benchmark-log");
}

// The options that cannot go together, or only together.
std::string badCombination(const Options& o) {
  if ((o.root || o.windowId != 0) &&
      (!o.recordPath.empty() || !o.replayPath.empty() || o.benchmarkSeconds > 0)) {
    return "--root and --window-id go with none of --record, --replay and --benchmark";
  }
  if (!o.recordPath.empty() && (!o.replayPath.empty() || o.benchmarkSeconds > 0)) {
    return "--record goes with neither --replay nor --benchmark";
  }
  if (!o.benchmarkLogPath.empty() && o.benchmarkSeconds == 0) {
    return "--benchmark-log needs --benchmark";
  }
  if (o.benchmarkLength && !o.replayPath.empty()) {
    return "--benchmark with --replay takes no length: it draws the whole log";
  }
  return "";
}

enum class Value { None, Optional, Required };

// The program's options. A long option may be shortened to any prefix that
// names only it; one with a short letter may also be written -L[VALUE].
// `singleDash` options are also taken as -name [VALUE], the way screen
// lockers and X programs write them.
struct OptionSpec {
  const char* name;
  char letter;  // 0 for none
  Value value;
  bool singleDash;
  Handler apply;
};
constexpr OptionSpec kOptions[] = {
    {"window", 'w', Value::Optional, false, setWindow},
    {"data", 0, Value::Required, false, setDataFolder},
    {"no-sound", 0, Value::None, false, setNoSound},
    {"benchmark", 0, Value::Optional, false, setBenchmark},
    {"leave-out", 0, Value::Required, false, setLeaveOut},
    {"benchmark-log", 0, Value::Required, false, setBenchmarkLog},
    {"record", 0, Value::Required, false, setRecord},
    {"replay", 0, Value::Required, false, setReplay},
    {"help", 'h', Value::None, false, showHelp},
    {"version", 0, Value::None, false, showVersion},
    {"fps", 0, Value::Required, false, setFramesPerSecond},
    {"seed", 0, Value::Required, false, setSeed},
    {"vsync", 0, Value::None, false, setVsync},
    {"no-vsync", 0, Value::None, false, setNoVsync},
    {"root", 0, Value::None, true, setRoot},
    {"window-id", 0, Value::Required, true, setWindowId},
};

CommandLine failure(const std::string& problem) {
  CommandLine result;
  result.action = CommandLineAction::Fail;
  result.exitStatus = 2;
  result.output = "cryptwell: " + problem + "; see 'cryptwell --help'\n";
  return result;
}

// The option `name` (the text between the dashes and any '=') stands for:
// an exact name, else the one option it is a prefix of. Null when none is;
// `ambiguous` lists the candidates when several are.
const OptionSpec* findLongOption(const std::string& name, std::string& ambiguous) {
  std::vector<const OptionSpec*> candidates;
  for (const OptionSpec& spec : kOptions) {
    if (name == spec.name) return &spec;
    if (!name.empty() && std::strncmp(spec.name, name.c_str(), name.size()) == 0) {
      candidates.push_back(&spec);
    }
  }
  if (candidates.size() == 1) return candidates[0];
  for (const OptionSpec* spec : candidates) ambiguous += std::string(" '--") + spec->name + "'";
  return nullptr;
}

const OptionSpec* findSingleDashOption(const char* name) {
  for (const OptionSpec& spec : kOptions) {
    if (spec.singleDash && std::strcmp(name, spec.name) == 0) return &spec;
  }
  return nullptr;
}

const OptionSpec* findLetter(char letter) {
  for (const OptionSpec& spec : kOptions) {
    if (letter != 0 && spec.letter == letter) return &spec;
  }
  return nullptr;
}

// Walks argv; GLUT's options are kept for glutInit, the program's applied.
class Parser {
 public:
  Parser(int& argc, char** argv, const char* version)
      : argc_(argc), argv_(argv), version_(version) {}

  CommandLine run() {
    CommandLine result;
    int kept = 1;
    bool optionsEnded = false;
    for (next_ = 1; next_ < argc_;) {
      const char* arg = argv_[next_++];
      const std::string valueLeftOut = std::move(withoutValue_);
      withoutValue_.clear();
      std::string problem;
      Applied applied = kGo;
      if (optionsEnded || arg[0] != '-' || arg[1] == '\0') {
        return failure("unexpected argument " + quoted(arg) + joinedValueHint(valueLeftOut, arg));
      } else if (std::strcmp(arg, "--") == 0) {
        optionsEnded = true;
      } else if (const GlutOption* glut = glutOption(arg)) {
        argv_[kept++] = const_cast<char*>(arg);
        const char* value = nullptr;
        if (glut->takesValue) {
          if (next_ == argc_) return failure("option " + quoted(arg) + " needs a value");
          value = argv_[kept++] = argv_[next_++];
        }
        noteGlutOption(result.options, glut->name, value);
      } else if (arg[1] == '-') {
        if (!longOption(arg + 2, result.options, applied, problem)) return failure(problem);
      } else if (const OptionSpec* spec = findSingleDashOption(arg + 1)) {
        if (!withValue(*spec, arg, nullptr, result.options, applied, problem)) {
          return failure(problem);
        }
      } else if (!shortOptions(arg + 1, result.options, applied, problem)) {
        return failure(problem);
      }
      if (applied.outcome == Outcome::BadValue) return failure(applied.text);
      if (applied.outcome == Outcome::Exit) {
        CommandLine exit;
        exit.action = CommandLineAction::Exit;
        exit.output = applied.text;
        return exit;
      }
    }
    argc_ = kept;
    argv_[argc_] = nullptr;
    const std::string combination = badCombination(result.options);
    if (!combination.empty()) return failure(combination);
    return result;
  }

 private:
  // --name, --name=VALUE, or --name VALUE for an option that needs one.
  bool longOption(const char* body, Options& o, Applied& applied, std::string& problem) {
    const char* equals = std::strchr(body, '=');
    const std::string name = equals != nullptr ? std::string(body, equals) : std::string(body);
    std::string ambiguous;
    const OptionSpec* spec = findLongOption(name, ambiguous);
    const std::string written = std::string("--") + body;
    if (spec == nullptr) {
      problem = ambiguous.empty()
                    ? "unrecognized option " + quoted(written)
                    : "option " + quoted(written) + " is ambiguous; possibilities:" + ambiguous;
      return false;
    }
    if (equals != nullptr && spec->value == Value::None) {
      problem = "option " + quoted(written) + " takes no value";
      return false;
    }
    return withValue(*spec, written.c_str(), equals != nullptr ? equals + 1 : nullptr, o, applied,
                     problem);
  }

  // -h, -w, -wSIZE, and letters run together (-hw).
  bool shortOptions(const char* letters, Options& o, Applied& applied, std::string& problem) {
    for (const char* at = letters; *at != '\0' && applied.outcome == Outcome::Go; ++at) {
      const OptionSpec* spec = findLetter(*at);
      if (spec == nullptr) {
        problem = "unrecognized option " + quoted(std::string("-") + letters);
        return false;
      }
      const char* rest = at[1] != '\0' ? at + 1 : nullptr;
      if (spec->value != Value::None) {
        return withValue(*spec, (std::string("-") + *at).c_str(), rest, o, applied, problem);
      }
      applied = spec->apply(o, nullptr, version_);
    }
    return true;
  }

  // Applies `spec` with `value`; a required value missing there is the next argument.
  bool withValue(const OptionSpec& spec, const char* written, const char* value, Options& o,
                 Applied& applied, std::string& problem) {
    if (value == nullptr && spec.value == Value::Required) {
      if (next_ == argc_) {
        problem = "option " + quoted(written) + " needs a value";
        return false;
      }
      value = argv_[next_++];
    }
    if (value == nullptr && spec.value == Value::Optional) withoutValue_ = written;
    applied = spec.apply(o, value, version_);
    return true;
  }

  // An optional value takes no argument of its own (-w 800x600 leaves the
  // size stray), so a stray word after such an option gets the spelling
  // that joins them.
  static std::string joinedValueHint(const std::string& option, const char* arg) {
    if (option.empty()) return "";
    const bool longForm = option.rfind("--", 0) == 0;
    return "; an optional value is joined to its option: " +
           quoted(option + (longForm ? "=" : "") + arg);
  }

  int& argc_;
  char** argv_;
  const char* version_;
  int next_ = 1;
  std::string withoutValue_;  // the last option, as written, if it came without a value
};
}  // namespace

bool parseWindowId(const char* text, unsigned long& id) {
  const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const char* digits = hex ? text + 2 : text;
  const char* allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
  if (*digits == '\0' || digits[std::strspn(digits, allowed)] != '\0') return false;
  errno = 0;
  const unsigned long long value = std::strtoull(digits, nullptr, hex ? 16 : 10);
  if (errno != 0 || value == 0 || value > kMaxWindowId) return false;
  id = static_cast<unsigned long>(value);
  return true;
}

CommandLine parseCommandLine(int& argc, char** argv, const char* version) {
  return Parser(argc, argv, version).run();
}
