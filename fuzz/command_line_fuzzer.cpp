// The option parser on any arguments (the input split at its NUL bytes): a
// refusal is one short, printable line.
#include <algorithm>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "fuzz_support.h"

constexpr size_t kMaxMessage = 400;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> arguments{"cryptwell"};
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (size_t begin = 0, end = 0; begin <= text.size(); begin = end + 1) {
    end = std::min(text.find('\0', begin), text.size());
    arguments.push_back(text.substr(begin, end - begin));
  }
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  int argc = static_cast<int>(arguments.size());
  const CommandLine result = parseCommandLine(argc, argv.data(), "1.0.0");
  if (result.action == CommandLineAction::Fail) requireOneSafeLine(result.output, kMaxMessage);
  return 0;
}
