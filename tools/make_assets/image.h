// 8-bit pictures held in the row order they are stored in their file: row 0
// is the first row written. For a BMP that is the bottom row, and the font
// layout is defined in that order, so nothing in the generator ever flips
// rows; for the PNG icon it is the top row.
#pragma once
#include <cstdint>
#include <vector>

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
};

struct Rgba {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  uint8_t a = 0;  // 0 transparent, 255 opaque
};

template <typename Pixel>
class Raster {
 public:
  Raster(int width, int height) : width_(width), height_(height), pixels_(width * height) {}

  int width() const { return width_; }
  int height() const { return height_; }
  Pixel& at(int x, int y) { return pixels_[y * width_ + x]; }
  const Pixel& at(int x, int y) const { return pixels_[y * width_ + x]; }
  const Pixel* data() const { return pixels_.data(); }

 private:
  int width_;
  int height_;
  std::vector<Pixel> pixels_;
};

using Image = Raster<Rgb>;
using RgbaImage = Raster<Rgba>;
