// The BMP reader on any file, at both picture sizes and both ways of
// computing alpha (the first byte chooses).
#include <vector>

#include "fuzz_support.h"
#include "gfx/textures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t choice = size > 0 ? data[0] : 0;
  const int edge = (choice & 1) != 0 ? 256 : 128;
  const int alphaValue = (choice & 2) != 0 ? 255 : -1;
  const MemoryFile picture(data, size);
  std::vector<uint8_t> rgba(static_cast<size_t>(edge) * edge * 4);
  readBmpPixels(picture.path().c_str(), edge, alphaValue, choice >> 2, rgba.data());
  return 0;
}
