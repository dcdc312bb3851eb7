// The check a sound file passes before it is decoded, on any file.
#include <vector>

#include "fuzz_support.h"
#include "platform/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const MemoryFile sound(data, size);
  std::vector<uint8_t> bytes;
  if (readWaveFile(sound.path().c_str(), bytes) && bytes.size() != size) __builtin_trap();
  return 0;
}
