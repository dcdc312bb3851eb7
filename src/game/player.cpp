#include "game/player.h"

#include <cmath>
#include <initializer_list>

#include "core/easing.h"
#include "core/frame_clock.h"
#include "core/input_state.h"
#include "world/regions.h"

Player player = {};

namespace {
// Moves by (dx, dz) if that lands in open space; otherwise keeps whichever
// single component does (x tried first), so the player slides along walls.
void step(double dx, double dz) {
  const double x = player.x;
  const double z = player.z;
  if (findRegion(static_cast<float>(x + dx), static_cast<float>(z + dz)) >= 0) {
    player.x = x + dx;
    player.z = z + dz;
  } else if (findRegion(static_cast<float>(x + dx), static_cast<float>(z)) >= 0) {
    player.x = x + dx;
  } else if (findRegion(static_cast<float>(x), static_cast<float>(z + dz)) >= 0) {
    player.z = z + dz;
  }
}
}  // namespace

void resetPlayerPosition() {
  player.x = 0.0;
  player.y = 0.5;
  player.z = 13.0;
}

void movePlayer() {
  const float stepLength = kWalkSpeed * delta;
  const double h = player.heading / kDegreesPerRadian;
  // Each held key is its own tested step, applied before the next is tried.
  for (int bit : {ArrowLeft, ArrowRight, ArrowUp, ArrowDown}) {
    if ((arrowKeys & bit) == 0) continue;
    const float s = static_cast<float>(std::sin(h)) * stepLength;
    const float c = static_cast<float>(std::cos(h)) * stepLength;
    switch (bit) {
      case ArrowLeft: step(-c, -s); break;
      case ArrowRight: step(c, s); break;
      case ArrowUp: step(s, -c); break;
      default: step(-s, c); break;
    }
  }
}
