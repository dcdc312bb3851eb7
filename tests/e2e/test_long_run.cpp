// Left alone for weeks: started as if it had already run to 5 s before the
// point where a 32-bit millisecond count wraps (49.7 days), the fly-through
// keeps its fire burning after that point, and the program still ends
// cleanly with nothing printed and no sanitizer report.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "e2e/program_test.h"

namespace {
constexpr const char* kStartVariable = "CRYPTWELL_START_MS";
constexpr const char* kFiveSecondsBeforeTheWrap = "4294962296";  // 2^32 - 5000
constexpr double kWrapSeconds = 5.0;
// Flames live 2 s: from here on every flame on screen was lit after the wrap.
constexpr double kFirstLook = kWrapSeconds + 3.0;
constexpr double kRunSeconds = 15.0;
constexpr double kLookInterval = 0.5;
// The fire seen from the camera path covers tens of thousands of pixels; a
// stray flame or the orange target far fewer.
constexpr int kFireInView = 5000;
constexpr double kExitLimitSeconds = 30.0;  // the fade-out takes 36 frames or more
}  // namespace

class LongRun : public ProgramTest {};

TEST_F(LongRun, FireStillBurnsAfterTheThirtyTwoBitMillisecondWrap) {
  // The program inherits the variable; the test's own runs after it do not.
  setenv(kStartVariable, kFiveSecondsBeforeTheWrap, 1);
  startProgram();
  unsetenv(kStartVariable);
  ASSERT_FALSE(HasFatalFailure());

  int mostFire = 0;
  std::string seen;
  for (double t = kFirstLook; t <= kRunSeconds; t += kLookInterval) {
    waitUntil(t);
    const ScreenImage picture = capture("after-wrap");
    const int fire = picture.count(picture.whole(), isFlame);
    mostFire = std::max(mostFire, fire);
    seen += " " + std::to_string(fire);
    ASSERT_NO_FATAL_FAILURE(expectRunning());
  }
  EXPECT_GE(mostFire, kFireInView)
      << "fire pixels, a look every " << kLookInterval << " s from " << kFirstLook << " s:" << seen;
  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kExitLimitSeconds));
  expectQuietConsole();
}
