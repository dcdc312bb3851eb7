#include "text/title_caption.h"

#include "core/easing.h"
#include "core/random.h"
#include "text/text_renderer.h"

namespace {
constexpr double kShakeRate = 40.0;
constexpr int kShakeChannelX = 17;
constexpr int kShakeChannelY = 18;
constexpr double kJoltChance = 0.01;  // the product of two uniform draws below this

// Occasionally throws the caption by up to half its size either way.
int16_t jolt(int16_t position, float size) {
  const double r1 = randomValue(1.0);
  const double r2 = randomValue(1.0);
  if (r1 * r2 < kJoltChance) {
    return static_cast<int16_t>(position + randomValue(size) - 0.5 * size);
  }
  return position;
}
}  // namespace

void drawTitleCaption(const char* text, int16_t x, int16_t y, float size, float alpha) {
  const double half = 0.5 * size;
  int16_t px = static_cast<int16_t>(x + oscillatorValue(kShakeChannelX, kShakeRate, size, -half));
  int16_t py = static_cast<int16_t>(y + oscillatorValue(kShakeChannelY, kShakeRate, size, -half));
  px = jolt(px, size);
  py = jolt(py, size);

  screenText.recordText = 0;
  screenText.color[3] = alpha;
  screenText.drawText(text, px, py, size);
  screenText.color[3] = 1.0f;
  screenText.recordText = 1;
}
