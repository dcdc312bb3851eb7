// A captured picture (what the screen showed at one moment) and the few
// measures the tests take of it: lit, white and violet pixels in a box,
// channel sums, texture detail, and how much of a box changed between two
// pictures.
#pragma once
#include <string>
#include <vector>

struct Pixel {
  int r, g, b;
};

// A rectangle of pixels, y counted from the top edge like the program's text.
struct Box {
  int x, y, width, height;
};

constexpr int kLitThreshold = 40;  // brighter than the background pulse (blue 0.1)

bool isLit(const Pixel& p);
bool isWhite(const Pixel& p);   // text: all three channels near full
bool isViolet(const Pixel& p);  // a laser bolt: red and blue high, green low
// The fire: flames of colour (1, 0.5, 0.25) added up, red near full, green
// well lit, blue well below green. Floors, walls and red alien shots are not.
bool isFlame(const Pixel& p);

class ScreenImage {
 public:
  ScreenImage() = default;
  ScreenImage(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  Box whole() const { return {0, 0, width_, height_}; }
  Pixel at(int x, int y) const;
  void set(int x, int y, const Pixel& p);

  template <typename Test>
  int count(const Box& box, Test test) const {
    const Box b = clip(box);
    int n = 0;
    for (int y = b.y; y < b.y + b.height; ++y) {
      for (int x = b.x; x < b.x + b.width; ++x) n += test(at(x, y)) ? 1 : 0;
    }
    return n;
  }
  int litPixels(const Box& box) const { return count(box, isLit); }
  int whitePixels(const Box& box) const { return count(box, isWhite); }
  double litFraction(const Box& box) const;
  // Sum of red and green over the box: the light of the picture there, not
  // counting the background's slow blue pulse.
  long long lightSum(const Box& box) const;
  // Share of the box's pixels whose colour moved by more than `threshold` in
  // some channel between this picture and `other` (same size).
  double changedFraction(const ScreenImage& other, const Box& box, int threshold) const;
  // Share of the box's pixels that differ from their left neighbour by more
  // than `threshold` in some channel: the fine detail of textured surfaces,
  // where untextured ones, smoothly shaded, score near zero.
  double detailFraction(const Box& box, int threshold) const;
  // Share of this picture's lit pixels in the box that have no lit pixel
  // within `radius` at the same place in `before`: how much of the drawing
  // moved. Texture and light changes leave it low, a change of view raises it.
  double movedLitFraction(const ScreenImage& before, const Box& box, int radius) const;
  // Rows of the box holding at least one lit pixel, top to bottom; false if none.
  bool litRowRange(const Box& box, int* first, int* last) const;

  // Writes a PNG (through ImageMagick) or, failing that, the plain PPM.
  bool save(const std::string& pathWithoutExtension) const;

 private:
  Box clip(const Box& box) const;

  int width_ = 0;
  int height_ = 0;
  std::vector<unsigned char> rgb_;
};
