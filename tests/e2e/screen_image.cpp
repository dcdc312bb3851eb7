// Pixel measures of captured pictures, and saving them for a look by eye.
#include "e2e/screen_image.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {
constexpr int kWhiteFloor = 225;
constexpr int kVioletFloor = 170;
constexpr int kVioletGreenGap = 60;
constexpr int kFlameRedFloor = 240;
constexpr int kFlameGreenFloor = 140;
constexpr int kFlameBlueGap = 40;

// The largest difference of the two pixels in any one channel.
int channelDistance(const Pixel& p, const Pixel& q) {
  return std::max({std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)});
}
}  // namespace

bool isLit(const Pixel& p) { return std::max({p.r, p.g, p.b}) > kLitThreshold; }

bool isWhite(const Pixel& p) { return std::min({p.r, p.g, p.b}) >= kWhiteFloor; }

bool isViolet(const Pixel& p) {
  return p.r >= kVioletFloor && p.b >= kVioletFloor && p.g <= std::min(p.r, p.b) - kVioletGreenGap;
}

bool isFlame(const Pixel& p) {
  return p.r >= kFlameRedFloor && p.g >= kFlameGreenFloor && p.b <= p.g - kFlameBlueGap;
}

ScreenImage::ScreenImage(int width, int height)
    : width_(width), height_(height), rgb_(static_cast<size_t>(width) * height * 3, 0) {}

Pixel ScreenImage::at(int x, int y) const {
  const size_t i = (static_cast<size_t>(y) * width_ + x) * 3;
  return {rgb_[i], rgb_[i + 1], rgb_[i + 2]};
}

void ScreenImage::set(int x, int y, const Pixel& p) {
  const size_t i = (static_cast<size_t>(y) * width_ + x) * 3;
  rgb_[i] = static_cast<unsigned char>(p.r);
  rgb_[i + 1] = static_cast<unsigned char>(p.g);
  rgb_[i + 2] = static_cast<unsigned char>(p.b);
}

Box ScreenImage::clip(const Box& box) const {
  const int x0 = std::clamp(box.x, 0, width_);
  const int y0 = std::clamp(box.y, 0, height_);
  const int x1 = std::clamp(box.x + box.width, 0, width_);
  const int y1 = std::clamp(box.y + box.height, 0, height_);
  return {x0, y0, x1 - x0, y1 - y0};
}

double ScreenImage::litFraction(const Box& box) const {
  const Box b = clip(box);
  const int area = b.width * b.height;
  return area == 0 ? 0.0 : static_cast<double>(litPixels(b)) / area;
}

long long ScreenImage::lightSum(const Box& box) const {
  const Box b = clip(box);
  long long sum = 0;
  for (int y = b.y; y < b.y + b.height; ++y) {
    for (int x = b.x; x < b.x + b.width; ++x) {
      const Pixel p = at(x, y);
      sum += p.r + p.g;
    }
  }
  return sum;
}

double ScreenImage::changedFraction(const ScreenImage& other, const Box& box, int threshold) const {
  if (other.width_ != width_ || other.height_ != height_) return 1.0;
  const Box b = clip(box);
  const int area = b.width * b.height;
  if (area == 0) return 0.0;
  int changed = 0;
  for (int y = b.y; y < b.y + b.height; ++y) {
    for (int x = b.x; x < b.x + b.width; ++x) {
      changed += channelDistance(at(x, y), other.at(x, y)) > threshold ? 1 : 0;
    }
  }
  return static_cast<double>(changed) / area;
}

double ScreenImage::detailFraction(const Box& box, int threshold) const {
  const Box b = clip(box);
  if (b.width < 2 || b.height == 0) return 0.0;
  int steps = 0;
  for (int y = b.y; y < b.y + b.height; ++y) {
    for (int x = b.x + 1; x < b.x + b.width; ++x)
      steps += channelDistance(at(x, y), at(x - 1, y)) > threshold ? 1 : 0;
  }
  return static_cast<double>(steps) / ((b.width - 1) * b.height);
}

double ScreenImage::movedLitFraction(const ScreenImage& before, const Box& box, int radius) const {
  if (before.width_ != width_ || before.height_ != height_) return 1.0;
  const Box b = clip(box);
  int lit = 0;
  int moved = 0;
  for (int y = b.y; y < b.y + b.height; ++y) {
    for (int x = b.x; x < b.x + b.width; ++x) {
      if (!isLit(at(x, y))) continue;
      ++lit;
      moved +=
          before.litPixels({x - radius, y - radius, 2 * radius + 1, 2 * radius + 1}) == 0 ? 1 : 0;
    }
  }
  return lit == 0 ? 0.0 : static_cast<double>(moved) / lit;
}

bool ScreenImage::litRowRange(const Box& box, int* first, int* last) const {
  const Box b = clip(box);
  bool found = false;
  for (int y = b.y; y < b.y + b.height; ++y) {
    if (litPixels({b.x, y, b.width, 1}) == 0) continue;
    if (!found) *first = y;
    *last = y;
    found = true;
  }
  return found;
}

bool ScreenImage::save(const std::string& pathWithoutExtension) const {
  const std::string ppm = pathWithoutExtension + ".ppm";
  {
    std::ofstream out(ppm, std::ios::binary);
    if (!out) return false;
    out << "P6\n" << width_ << " " << height_ << "\n255\n";
    out.write(reinterpret_cast<const char*>(rgb_.data()),
              static_cast<std::streamsize>(rgb_.size()));
    if (!out) return false;
  }
  const std::string png = pathWithoutExtension + ".png";
  const std::string command = "convert '" + ppm + "' '" + png + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) == 0) std::remove(ppm.c_str());
  return true;
}
