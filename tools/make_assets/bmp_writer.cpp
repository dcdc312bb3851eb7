// 24-bit BMP output. The program's loader skips the header and reads the
// pixels straight from offset 54, so the header must be exactly 54 bytes and
// rows must carry no padding (all our widths are multiples of 4).
#include "bmp_writer.h"

#include <cstdint>
#include <fstream>
#include <vector>

#include "little_endian.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr uint16_t kBitsPerPixel = 24;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dpi, only for viewers

}  // namespace

bool writeBmp(const std::string& path, const Image& image) {
  const uint32_t rowBytes = image.width() * 3;
  const uint32_t pixelBytes = rowBytes * image.height();

  std::vector<uint8_t> out;
  out.reserve(kPixelOffset + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  put32(out, kPixelOffset + pixelBytes);
  put32(out, 0);  // two reserved 16-bit fields
  put32(out, kPixelOffset);

  put32(out, kInfoHeaderSize);
  put32(out, image.width());
  put32(out, image.height());  // positive: bottom-up, as the loader expects
  put16(out, 1);               // colour planes
  put16(out, kBitsPerPixel);
  put32(out, kBiRgb);
  put32(out, pixelBytes);
  put32(out, kPixelsPerMetre);
  put32(out, kPixelsPerMetre);
  put32(out, 0);  // colours used: no palette
  put32(out, 0);  // important colours

  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const Rgb& p = image.at(x, y);
      out.push_back(p.b);
      out.push_back(p.g);
      out.push_back(p.r);
    }
  }

  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(out.data()), out.size());
  file.close();
  return static_cast<bool>(file);
}
