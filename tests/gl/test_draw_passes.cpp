// Leaving drawing passes out: the simulation runs exactly as in whole frames
// (the same random draws, particles, targets and camera), and only the
// left-out passes' pixels are missing.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "scene/frame_driver.h"
#include "core/frame_clock.h"
#include "core/input_state.h"
#include "core/random.h"
#include "core/settings.h"
#include "game/combat.h"
#include "game/player.h"
#include "gfx/draw_passes.h"
#include "gfx/stars.h"
#include "gl/gl_support.h"
#include "particles/particles.h"
#include "support/state.h"
#include "text/text_renderer.h"
#include "world/regions.h"

namespace {
constexpr int kWidth = 320;
constexpr int kHeight = 240;

struct Outcome {
  int nextDraw;  // the random generator's next value
  ParticleSystem particles;
  Target targets[kMaxTargets];
  Player player;
  std::vector<uint8_t> pixels;
};

// Where the eye stands: in the far room looking back over the corridor's
// mouth, or with the map taken away, on open ground facing the targets that
// stand still at (0, 0.5, 6) under the stars.
enum class View { FarRoom, OpenGround };

class DrawPasses : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreProgramState();
    resizeTestWindow(kWidth, kHeight);
    universeStars.buildStars(660, 20.0f, 15.0f, CubeShell);  // as start-up builds them
  }
  void TearDown() override {
    glDisable(GL_RASTERIZER_DISCARD);
    glDisable(GL_DEPTH_TEST);
    universeStars.releaseStars();
    restoreProgramState();
  }

  // Two seconds of frames with everything going: fire and smoke, the laser
  // held, every target alive, the overlays.
  Outcome run(View view, unsigned leftOut) {
    restoreProgramState();
    loadTestResources();
    settings.cameraMode = 1;
    settings.frameClock = 1;
    fireHeld = 1;
    targetCount = kMaxTargets;
    for (Target& t : targets) t = Target{0.0f, 0.5f, 6.0f, 1.0f, 1};
    if (view == View::FarRoom) {
      player.x = 0.0;
      player.y = 1.5;
      player.z = 14.5;
    } else {
      worldObjectCount = 0;
      player.x = 0.0;
      player.y = 0.5;
      player.z = 4.5;
      player.heading = 180.0;
    }
    screenText.showMessage("Passes");
    passesLeftOut = leftOut;
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);  // what a left-out clear leaves
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (uint64_t ms = 3000; ms <= 5000; ms += 20) {
      setClockMs(ms);
      runFrame();
    }
    passesLeftOut = 0;
    glDisable(GL_RASTERIZER_DISCARD);
    Outcome o{nextRandom(), particleSystem, {}, player, readRegion(0, kWidth, 0, kHeight)};
    std::memcpy(o.targets, targets, sizeof targets);
    return o;
  }
};

TEST_F(DrawPasses, ALeftOutPassChangesNothingButThePicture) {
  for (View view : {View::FarRoom, View::OpenGround}) {
    const Outcome whole = run(view, 0);
    ASSERT_GT(liveCount(LaserBolt), 5) << "no bolts flew";
    for (int pass = 0; pass < kDrawPasses; ++pass) {
      const std::string name = drawPassName(static_cast<DrawPass>(pass)) +
                               std::string(view == View::FarRoom ? " in the far room" : " outside");
      const Outcome part = run(view, 1u << pass);
      EXPECT_EQ(part.nextDraw, whole.nextDraw) << name;
      EXPECT_EQ(std::memcmp(&part.particles.slots, &whole.particles.slots,
                            sizeof whole.particles.slots), 0)
          << name;
      EXPECT_EQ(std::memcmp(part.targets, whole.targets, sizeof whole.targets), 0) << name;
      EXPECT_EQ(part.player.z, whole.player.z) << name;
      // What each view shows: the rooms there, the stars and targets here.
      const bool shown = view == View::FarRoom ? pass != static_cast<int>(DrawPass::Stars) &&
                                                     pass != static_cast<int>(DrawPass::Targets)
                                               : pass != static_cast<int>(DrawPass::World);
      if (shown) {
        EXPECT_TRUE(part.pixels != whole.pixels) << name << " was drawn all the same";
      }
    }
  }
}

TEST_F(DrawPasses, WithEveryPassLeftOutNotAPixelIsTouched) {
  const Outcome none = run(View::FarRoom, (1u << kDrawPasses) - 1);
  for (size_t i = 0; i < none.pixels.size(); i += 3) {
    ASSERT_EQ(none.pixels[i], 255) << "pixel " << i / 3;
    ASSERT_EQ(none.pixels[i + 1], 0) << "pixel " << i / 3;
    ASSERT_EQ(none.pixels[i + 2], 0) << "pixel " << i / 3;
  }
}

TEST(DrawPassNames, ReadBackAsTheyAreWritten) {
  for (int pass = 0; pass < kDrawPasses; ++pass) {
    unsigned passes = 0;
    ASSERT_TRUE(parseDrawPasses(drawPassName(static_cast<DrawPass>(pass)), &passes));
    EXPECT_EQ(passes, 1u << pass);
  }
}
}  // namespace
