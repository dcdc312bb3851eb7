#include "game/player_status.h"

#include <cstdint>
#include <cstdio>

#include "core/run_state.h"
#include "core/settings.h"
#include "game/targets.h"
#include "text/text_renderer.h"

namespace {
constexpr float kStatusSize = 30.0f;
constexpr double kHealthX = 0.05;  // shares of the window size
constexpr double kTargetsX = 0.5;
constexpr double kLinesY = 0.95;
constexpr float kLowHealth = 0.2f;
}  // namespace

void drawPlayerStatus() {
  screenText.recordText = 0;
  const int16_t y = static_cast<int16_t>(windowHeight * kLinesY);
  char text[kTextCapacity];

  std::snprintf(text, sizeof text, "Health: %3.0f", settings.health * 100.0);
  if (settings.health < kLowHealth) {
    screenText.color[1] = 0.0f;
    screenText.color[2] = 0.0f;
  }
  screenText.drawText(text, static_cast<int16_t>(windowWidth * kHealthX), y, kStatusSize);
  screenText.color[1] = 1.0f;
  screenText.color[2] = 1.0f;

  std::snprintf(text, sizeof text, "Targets: %3.0d", targetCount);
  screenText.drawText(text, static_cast<int16_t>(windowWidth * kTargetsX), y, kStatusSize);
  screenText.recordText = 1;
}
