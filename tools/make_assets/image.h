// An 8-bit RGB picture held in the row order it is stored in a BMP file:
// row 0 is the first row after the header. The font layout is defined in
// that order, so nothing in the generator ever flips rows.
#pragma once
#include <cstdint>
#include <vector>

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
};

class Image {
 public:
  Image(int width, int height) : width_(width), height_(height), pixels_(width * height) {}

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb& at(int x, int y) { return pixels_[y * width_ + x]; }
  const Rgb& at(int x, int y) const { return pixels_[y * width_ + x]; }

 private:
  int width_;
  int height_;
  std::vector<Rgb> pixels_;
};
