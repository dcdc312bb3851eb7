// The replay log's reader, as a replay loads a log: a log is read through
// or refused with one short, printable line.
#include <string>

#include "fuzz_support.h"
#include "run/replayer.h"

constexpr size_t kMaxMessage = 200;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const MemoryFile log(data, size);
  std::string message;
  if (!loadReplay(log.path().c_str(), &message)) requireOneSafeLine(message, kMaxMessage);
  return 0;
}
