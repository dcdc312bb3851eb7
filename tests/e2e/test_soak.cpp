// A minute (CRYPTWELL_SOAK_SECONDS to change it) of seeded random input:
// every command key, the arrows, clicks and pointer moves, in any order and
// at any pace, but no ESC until the end. The program must survive it all
// and then end cleanly, with nothing printed and no sanitizer report.
// The seed is printed; CRYPTWELL_SOAK_SEED replays a run.
#include <X11/keysym.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "e2e/program_test.h"

namespace {
constexpr double kDefaultSeconds = 60.0;
constexpr double kExitLimitSeconds = 10.0;
constexpr double kAliveCheckInterval = 1.0;
constexpr int kMaxPauseMs = 120;
constexpr int kMaxHoldMs = 600;
constexpr unsigned kButtons = 5;  // left, middle, right and the two wheel steps
// Every command character, the number keys (8, 9, 0 do nothing) and a few
// keys without a command.
const std::string kCommandKeys = "rRfF wWlLvVcCpPuUsStToO1234567890?/-=_+(){}[],.xz";
const KeySym kArrows[] = {XK_Left, XK_Right, XK_Up, XK_Down};

double setting(const char* name, double fallback) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::atof(value) : fallback;
}
}  // namespace

class Soak : public ProgramTest {};

TEST_F(Soak, RandomInputForOneMinute) {
  const double seconds = setting("CRYPTWELL_SOAK_SECONDS", kDefaultSeconds);
  const auto seed =
      static_cast<std::uint32_t>(setting("CRYPTWELL_SOAK_SEED", std::random_device{}()));
  std::printf("soak: %.0f s of random input, seed %u\n", seconds, seed);
  RecordProperty("seed", std::to_string(seed));
  std::mt19937 random(seed);
  auto chance = [&](int percent) {
    return std::uniform_int_distribution<int>(0, 99)(random) < percent;
  };
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };

  ASSERT_NO_FATAL_FAILURE(startProgram());
  std::vector<KeySym> heldKeys;
  bool buttonHeld = false;
  int events = 0;
  double nextAliveCheck = secondsSinceStart() + kAliveCheckInterval;
  while (secondsSinceStart() < seconds) {
    const int kind = below(100);
    if (kind < 45) {
      typeText(std::string(1, kCommandKeys[below(static_cast<int>(kCommandKeys.size()))]));
    } else if (kind < 60) {
      const KeySym arrow = kArrows[below(4)];
      pressKey(arrow);
      if (chance(50)) {
        heldKeys.push_back(arrow);  // let go of later
      } else {
        pause(below(kMaxHoldMs) / 1000.0);
        releaseKey(arrow);
      }
    } else if (kind < 65 && !heldKeys.empty()) {
      releaseKey(heldKeys.back());
      heldKeys.pop_back();
    } else if (kind < 85) {
      movePointer(below(kScreenWidth), below(kScreenHeight));
    } else if (kind < 92) {
      const unsigned button = 1 + static_cast<unsigned>(below(kButtons));
      if (button == 1 && buttonHeld) {
        releaseButton(1);
        buttonHeld = false;
      } else if (button == 1 && chance(50)) {
        pressButton(1);  // keep firing for a while
        buttonHeld = true;
      } else {
        pressButton(button);
        releaseButton(button);
      }
    }
    ++events;
    pause(below(kMaxPauseMs) / 1000.0);
    if (secondsSinceStart() >= nextAliveCheck) {
      ASSERT_NO_FATAL_FAILURE(expectRunning()) << "after " << events << " events, seed " << seed;
      nextAliveCheck += kAliveCheckInterval;
    }
  }
  for (const KeySym key : heldKeys) releaseKey(key);
  if (buttonHeld) releaseButton(1);
  std::printf("soak: %d events sent\n", events);
  capture("after-soak");
  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kExitLimitSeconds)) << "seed " << seed;
  expectQuietConsole();
}
