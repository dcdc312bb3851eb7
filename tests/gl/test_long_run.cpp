// Left alone for days: the frame driver, started as if the program had run
// for an hour, a day, 20 days, to either side of the point where a 32-bit
// millisecond count wraps (49.7 days), or 107 days (where nanoseconds times
// 1000 no longer fit 64 bits), keeps every step exact to the millisecond,
// stays clear of the first seconds' fade-in and caption, samples the frame
// rate every second, expires a message after three seconds, and keeps the
// fire and smoke burning with particles that die of age.
#include <gtest/gtest.h>

#include <iterator>

#include "scene/frame_driver.h"
#include "core/frame_clock.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "gl/gl_support.h"
#include "input/keyboard.h"
#include "particles/particles.h"
#include "platform/clock.h"
#include "support/state.h"
#include "text/text_renderer.h"

namespace {
constexpr int kTestWidth = 640;
constexpr int kTestHeight = 480;
constexpr uint64_t kHourMs = 3600000;
constexpr uint64_t kDayMs = 24 * kHourMs;
constexpr uint64_t kWrapMs = uint64_t{1} << 32;
constexpr uint64_t kRunMs = 6000;  // of frames after each start
// Frame gaps, over and over: steady and uneven ones, exactly the 100 ms that
// still counts as a step, and the first gap that is a stall.
constexpr uint64_t kGapsMs[] = {16, 17, 17, 33, 100, 16, 101, 7};
constexpr uint64_t kKeyAtMs = 500;  // C: frame-rate line on, and its message
constexpr uint64_t kMessageMs = 3000;
constexpr uint64_t kSampleMs = 1000;
constexpr double kLongestLife = 4.0;  // seconds: smoke, bolts and shots
// With letterbox 6 the top bar (144 rows) holds only text: the message line
// above row 28, the frame-rate line right of x 520 and the caption between.
constexpr int kCaptionLeft = 0;
constexpr int kCaptionRight = 450;
constexpr int kCaptionTop = 30;
constexpr int kCaptionBottom = 140;
constexpr int kCaptionLit = 40;  // well above the background's blue pulse

class LongRun : public ::testing::Test {
 protected:
  void SetUp() override { resizeTestWindow(kTestWidth, kTestHeight); }
  void TearDown() override {
    clearToBlack();
    glDisable(GL_DEPTH_TEST);  // a frame leaves the bolts' depth test on
    restoreProgramState();
  }
};

bool captionShows() {
  int first = 0, last = 0;
  return litRowsIn(kCaptionLeft, kCaptionRight, kCaptionTop, kCaptionBottom, kCaptionLit, &first,
                   &last);
}
}  // namespace

TEST_F(LongRun, TimersKeepWorkingAtAnyUptime) {
  struct Start {
    const char* name;
    uint64_t ms;
    bool firstSeconds;  // a fresh start: fade-in and caption are due
  };
  const Start starts[] = {
      {"a fresh start", 0, true},
      {"1 hour", kHourMs, false},
      {"1 day", kDayMs, false},
      {"20 days", 20 * kDayMs, false},
      {"1 s before the 32-bit wrap", kWrapMs - 1000, false},
      {"1 s after the 32-bit wrap", kWrapMs + 1000, false},
      {"107 days", 107 * kDayMs, false},
  };
  for (const Start& start : starts) {
    SCOPED_TRACE(start.name);
    restoreProgramState();
    loadTestResources();  // the rooms' callbacks and the emitter values again
    settings.letterbox = 6;
    startClockAt(start.ms);  // as the program starts: the frame clock begins there

    uint64_t ms = start.ms;
    uint64_t messageAt = 0;  // clock reading when the message was shown
    uint64_t nextSample = start.ms + kSampleMs;
    int framesSinceSample = 0;
    int samples = 0;
    bool fadedIn = false;
    int flames = 0;  // emissions of the room fire
    double lastFlame = particleSystem.lastEmitTime[Flame];
    for (size_t frame = 0; ms < start.ms + kRunMs; ++frame) {
      const uint64_t gap = kGapsMs[frame % std::size(kGapsMs)];
      ms += gap;
      setClockMs(ms);
      runFrame();

      if (particleSystem.lastEmitTime[Flame] != lastFlame) {
        lastFlame = particleSystem.lastEmitTime[Flame];
        ++flames;
      }
      const float step = gap > 100 ? 0.05f : static_cast<float>(gap) / 1000.0f;
      ASSERT_FLOAT_EQ(delta, step) << "frame at +" << ms - start.ms << " ms";
      if (start.firstSeconds) {
        fadedIn = fadedIn || fadeLevel < 1.0f;
      } else {
        ASSERT_EQ(fadeLevel, 1.0f) << "fade-in at +" << ms - start.ms << " ms";
      }

      ++framesSinceSample;
      if (ms >= nextSample) {
        ASSERT_EQ(framesPerSecond, framesSinceSample) << "sample at +" << ms - start.ms << " ms";
        nextSample += kSampleMs;
        framesSinceSample = 0;
        ++samples;
        // Once a second, a look at the caption's place in the top bar.
        if (samples == 1 && start.firstSeconds) {
          EXPECT_TRUE(captionShows()) << "the caption belongs to the first seconds";
        } else if (!start.firstSeconds) {
          ASSERT_FALSE(captionShows()) << "caption at +" << ms - start.ms << " ms";
        }
      }

      if (messageAt == 0 && ms >= start.ms + kKeyAtMs) {
        onKey('c', 0, 0);  // between frames, as GLUT calls it
        messageAt = ms;
      } else if (messageAt != 0) {
        const bool due = ms < messageAt + kMessageMs;
        ASSERT_EQ(screenText.messageExpiry != 0.0, due) << "+" << ms - messageAt << " ms";
      }
    }
    EXPECT_EQ(fadedIn, start.firstSeconds);
    EXPECT_EQ(samples, static_cast<int>(kRunMs / kSampleMs));

    // Fire and smoke still come, the fire at its pace (one flame per 0.1 s
    // at most, taken at the first frame after that), and nothing lives
    // longer than it should.
    EXPECT_LE(flames, static_cast<int>(kRunMs / 100));
    EXPECT_GE(flames, static_cast<int>(kRunMs / 250));
    EXPECT_GT(particleSystem.lastEmitTime[Flame], seconds - 0.5);
    EXPECT_GT(particleSystem.lastEmitTime[Smoke], seconds - 0.5);
    EXPECT_GT(liveCount(Flame), 0);
    EXPECT_GT(liveCount(Smoke), 0);
    for (const Particle& p : particleSystem.slots) {
      if (p.active == 0) continue;
      EXPECT_LE(p.birthTime, seconds);
      EXPECT_GE(p.birthTime, seconds - kLongestLife);
      EXPECT_GE(p.deathTime, seconds);
    }
  }
}
