// The replay log's reader, as a replay loads a log: a log is read through
// or refused with one short, printable line.
#include <string>

#include "fuzz_support.h"
#include "run/replayer.h"

namespace {
constexpr size_t kMaxMessage = 200;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const MemoryFile log(data, size);
  std::string message;
  if (!loadReplay(log.path(), &message)) requireOneSafeLine(message, kMaxMessage, false);
  return 0;
}
