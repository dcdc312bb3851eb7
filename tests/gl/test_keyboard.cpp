// The character-key commands as the keyboard callback sees them: what each
// key changes and the exact status message it shows. The messages are drawn
// text, so these run in the GL test process.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "scene/frame_driver.h"
#include "core/frame_clock.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "gfx/stars.h"
#include "gl/gl_support.h"
#include "input/keyboard.h"
#include "particles/particles.h"
#include "support/state.h"
#include "text/text_renderer.h"

namespace {
constexpr int kTestWidth = 640;
constexpr int kTestHeight = 480;
// The star universe as scene set-up builds it.
constexpr int kStarCount = 660;
constexpr float kStarOuter = 20.0f;
constexpr float kStarInner = 15.0f;
// Rows of the picture below the message line and above the player status.
constexpr int kStarRowsTop = 40;
constexpr int kStarRowsBottom = 420;
constexpr int kStarLit = 40;

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override { restoreProgramState(); }
  void TearDown() override { restoreProgramState(); }

  // Presses a key and returns the message it left on screen.
  static std::string press(unsigned char key) {
    onKey(key, 0, 0);
    return screenText.lastText;
  }
};

// Every value a key could change, to show that some keys change none.
std::vector<double> everythingKeysTouch() {
  const SceneSettings& s = settings;
  return {static_cast<double>(s.fov),
          static_cast<double>(s.letterbox),
          static_cast<double>(s.universe),
          static_cast<double>(s.blanking),
          static_cast<double>(s.spotLights),
          static_cast<double>(s.textures),
          static_cast<double>(s.polyMode),
          static_cast<double>(s.cameraMode),
          static_cast<double>(s.particleOption),
          static_cast<double>(s.frameClock),
          s.rotateSpeed,
          s.movementSpeed,
          s.cameraZ,
          s.objectSize,
          s.effectScale,
          s.lightRotateSpeed,
          s.health,
          static_cast<double>(quitting),
          static_cast<double>(paused),
          static_cast<double>(helpScreen),
          static_cast<double>(fullScreen),
          static_cast<double>(letterboxStep),
          static_cast<double>(particleSystem.activeCount),
          fadeLevel,
          screenText.messageExpiry};
}

// Pumps GLUT until the window reports the given width, or gives up.
int settleWidth(int wanted) {
  pumpEventsUntil([&] { return glutGet(GLUT_WINDOW_WIDTH) == wanted; });
  return glutGet(GLUT_WINDOW_WIDTH);
}
}  // namespace

TEST_F(KeyboardTest, SpeedSizeCameraAndFovKeysShowTheirExactMessages) {
  struct Case {
    unsigned char key;
    const char* message;
  };
  // Each from the reset values: speeds 3.0, 1.0, 1.0; cameraZ 0; size 1; fov 70.
  const Case cases[] = {
      {'-', "Rotate Speed: 2.70\n"},
      {'=', "Rotate Speed: 3.33\n"},
      {'_', "Movement Speed: 0.90\n"},
      {'+', "Movement Speed: 1.11\n"},
      {'(', "Light Rotate Speed: 0.90\n"},
      {')', "Light Rotate Speed: 1.11\n"},
      {'{', "CameraZ: -0.05\n"},
      {'}', "CameraZ: 0.05\n"},
      {'[', "Object Size: 0.95\n"},
      {']', "Object Size: 1.06\n"},
      {',', "FOV:  72 Degrees\n"},
      {'.', "FOV:  68 Degrees\n"},
      {'l', "Letterbox: 1"},
      {'r', "Reset"},
  };
  for (const Case& c : cases) {
    restoreProgramState();
    EXPECT_EQ(press(c.key), c.message) << "key " << c.key;
  }
}

TEST_F(KeyboardTest, ScaledValuesChangeByTheirFactors) {
  press('-');
  EXPECT_FLOAT_EQ(settings.rotateSpeed, 2.7f);
  press('+');
  EXPECT_FLOAT_EQ(settings.movementSpeed, 1.111111f);
  press('(');
  EXPECT_FLOAT_EQ(settings.lightRotateSpeed, 0.9f);
  press('{');
  press('{');
  EXPECT_FLOAT_EQ(settings.cameraZ, -0.1f);
  press('[');
  EXPECT_FLOAT_EQ(settings.objectSize, 0.95f);
  // The speed keys leave everything else alone.
  EXPECT_EQ(settings.fov, 70);
  EXPECT_FLOAT_EQ(settings.effectScale, 1.0f);
}

TEST_F(KeyboardTest, StepsDownAndUpAreNotExactInverses) {
  press('[');
  EXPECT_EQ(press(']'), "Object Size: 1.00\n");
  // 0.95 x 1.055555 = 1.00277725: the size creeps up by about 0.28 %.
  EXPECT_NEAR(settings.objectSize, 1.0027772, 1e-6);
  EXPECT_GT(settings.objectSize, 1.0f);

  press('-');
  press('=');
  EXPECT_NEAR(settings.rotateSpeed, 2.9999998, 1e-6);
  EXPECT_NE(settings.rotateSpeed, 3.0f);
}

TEST_F(KeyboardTest, MessageShowsTheProductBeforeItIsRoundedToFloat) {
  // 1.18421054 x 0.95 = 1.1250000119... in double, which prints 1.13;
  // rounded to float it is exactly 1.125, which prints 1.12.
  settings.objectSize = 1.18421054f;
  const double product = static_cast<double>(settings.objectSize) * 0.95;
  char asFloat[32];
  std::snprintf(asFloat, sizeof asFloat, "%4.2f", static_cast<double>(static_cast<float>(product)));
  ASSERT_STREQ(asFloat, "1.12");  // the chosen value tells the two apart
  EXPECT_EQ(press('['), "Object Size: 1.13\n");
  EXPECT_EQ(settings.objectSize, static_cast<float>(product));
}

TEST_F(KeyboardTest, FieldOfViewStaysWithinItsBounds) {
  settings.fov = 176;
  EXPECT_EQ(press(','), "FOV: 178 Degrees\n");
  screenText.lastText[0] = '\0';
  EXPECT_EQ(press(','), "FOV: 178 Degrees\n");  // still shown at the bound
  EXPECT_EQ(settings.fov, 178);

  settings.fov = 6;
  EXPECT_EQ(press('.'), "FOV:   4 Degrees\n");
  screenText.lastText[0] = '\0';
  EXPECT_EQ(press('.'), "FOV:   4 Degrees\n");
  EXPECT_EQ(settings.fov, 4);
}

TEST_F(KeyboardTest, HeldStepKeysStayFiniteAndTheOppositeKeyBringsThemBack) {
  struct Pair {
    unsigned char raise, lower;
    float* value;
  };
  const Pair pairs[] = {
      {'=', '-', &settings.rotateSpeed},      {'+', '_', &settings.movementSpeed},
      {')', '(', &settings.lightRotateSpeed}, {']', '[', &settings.objectSize},
      {'}', '{', &settings.cameraZ},
  };
  resizeTestWindow(kTestWidth, kTestHeight);
  for (const Pair& pair : pairs) {
    for (const bool raising : {true, false}) {
      const unsigned char held = raising ? pair.raise : pair.lower;
      SCOPED_TRACE(std::string("held ") + static_cast<char>(held));
      restoreProgramState();
      for (int i = 0; i < 5000; ++i) press(held);
      const float far = *pair.value;
      press(raising ? pair.lower : pair.raise);
      EXPECT_TRUE(std::isfinite(far));
      EXPECT_TRUE(std::isfinite(*pair.value));
      EXPECT_TRUE(raising ? *pair.value < far : *pair.value > far) << far << " " << *pair.value;

      // The star field still shows, seen from the reset place down the tunnel.
      universeStars.buildStars(kStarCount, kStarOuter, kStarInner, CubeShell);
      settings.cameraMode = 1;
      for (const uint64_t ms : {20000u, 20020u}) {  // past the caption's ten seconds
        setClockMs(ms);
        runFrame();
      }
      glDisable(GL_DEPTH_TEST);
      universeStars.releaseStars();
      int first = 0, last = 0;
      EXPECT_TRUE(litRowsIn(0, kTestWidth, kStarRowsTop, kStarRowsBottom, kStarLit, &first, &last));
      EXPECT_LT(first, kStarRowsTop + 60) << "stars across the view, not a stray pixel";
      EXPECT_GT(last, kStarRowsBottom - 60);
    }
  }
}

TEST_F(KeyboardTest, TogglesReportTheNewStateInEitherCase) {
  struct Toggle {
    char letter;
    int* flag;
    const char* on;
    const char* off;
  };
  const Toggle toggles[] = {
      {'c', &settings.frameClock, "Frame/Second Clock On", "Frame/Second Clock Off"},
      {'p', &paused, "Pause Camera Motion", "Continue Camera Motion"},
      {'s', &settings.spotLights, "SpotLights On", "SpotLights Off"},
      {'t', &settings.textures, "Textures On", "Textures Off"},
      {'u', &settings.universe, "Universe On", "Universe Off"},
  };
  for (const Toggle& t : toggles) {
    const int start = *t.flag;
    const std::string first = press(static_cast<unsigned char>(t.letter));
    EXPECT_EQ(*t.flag, 1 - start) << t.letter;
    EXPECT_EQ(first, start == 0 ? t.on : t.off) << t.letter;
    const std::string second = press(static_cast<unsigned char>(t.letter - 'a' + 'A'));
    EXPECT_EQ(*t.flag, start) << t.letter;
    EXPECT_EQ(second, start == 0 ? t.off : t.on) << t.letter;
  }
}

TEST_F(KeyboardTest, CameraModeAlternatesAndPolyModeCyclesThroughThree) {
  EXPECT_EQ(press('v'), "Camera 2: Manual Mouse/Arrow Key Control");
  EXPECT_EQ(settings.cameraMode, 1);
  EXPECT_EQ(press('V'), "Camera 1: Auto");
  EXPECT_EQ(settings.cameraMode, 0);
  EXPECT_EQ(press('v'), "Camera 2: Manual Mouse/Arrow Key Control");

  EXPECT_EQ(press('w'), "PolyMode 2/3: Lines");
  EXPECT_EQ(press('W'), "PolyMode 3/3: Points");
  EXPECT_EQ(settings.polyMode, 2);
  EXPECT_EQ(press('w'), "PolyMode 1/3: Polygons");
  EXPECT_EQ(settings.polyMode, 0);
}

TEST_F(KeyboardTest, LetterboxPingPongsAndStartsAgainAfterAReset) {
  const int expected[] = {1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1, 0, 1, 2};
  for (int size : expected) {
    EXPECT_EQ(press('L'), "Letterbox: " + std::to_string(size));
    EXPECT_EQ(settings.letterbox, size);
  }
  // Go up to 6 and back down to 4, then reset: the next press gives 1, not 3.
  for (int i = 0; i < 6; ++i) press('l');
  ASSERT_EQ(settings.letterbox, 4);
  press('r');
  EXPECT_EQ(settings.letterbox, 0);
  EXPECT_EQ(press('l'), "Letterbox: 1");
  EXPECT_EQ(press('l'), "Letterbox: 2");
}

TEST_F(KeyboardTest, EscapeQuitsAndLeavesHyperspaceAndHelp) {
  settings.blanking = 0;
  helpScreen = 1;
  const std::string before = press('c');
  onKey(kEscapeKey, 0, 0);
  EXPECT_EQ(quitting, 1);
  EXPECT_EQ(settings.blanking, 1);
  EXPECT_EQ(helpScreen, 0);
  EXPECT_EQ(screenText.lastText, before);  // no message of its own
}

TEST_F(KeyboardTest, ResetDuringTheFadeOutCancelsTheQuit) {
  onKey(kEscapeKey, 0, 0);
  fadeLevel = 0.4f;
  settings.fov = 90;
  settings.objectSize = 3.0f;
  EXPECT_EQ(press('R'), "Reset");
  EXPECT_EQ(quitting, 0);
  EXPECT_FLOAT_EQ(fadeLevel, 1.0f);
  EXPECT_EQ(settings.fov, 70);
  EXPECT_FLOAT_EQ(settings.objectSize, 1.0f);
}

TEST_F(KeyboardTest, BothHelpKeysToggleWithoutAMessage) {
  const std::string before = press('u');
  const double expiry = screenText.messageExpiry;
  onKey('?', 0, 0);
  EXPECT_EQ(helpScreen, 1);
  onKey('/', 0, 0);
  EXPECT_EQ(helpScreen, 0);
  onKey('/', 0, 0);
  EXPECT_EQ(helpScreen, 1);
  EXPECT_EQ(screenText.lastText, before);
  EXPECT_EQ(screenText.messageExpiry, expiry);
}

TEST_F(KeyboardTest, ClosingHelpInHyperspaceWipesTheBuffersOnce) {
  resizeTestWindow(kTestWidth, kTestHeight);
  const auto paintWhite = [] {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  };

  settings.blanking = 0;
  paintWhite();
  onKey('?', 0, 0);  // opening leaves the old frame alone
  EXPECT_EQ(pixelAt(100, 100).r, 255);
  onKey('?', 0, 0);
  EXPECT_EQ(pixelAt(100, 100).r, 0);

  settings.blanking = 1;  // the next frame clears anyway
  onKey('?', 0, 0);
  paintWhite();
  onKey('?', 0, 0);
  EXPECT_EQ(pixelAt(100, 100).r, 255);
}

TEST_F(KeyboardTest, SpaceTogglesHyperspaceWithoutAMessage) {
  const std::string before = press('s');
  onKey(' ', 0, 0);
  EXPECT_EQ(settings.blanking, 0);
  onKey(' ', 0, 0);
  EXPECT_EQ(settings.blanking, 1);
  EXPECT_EQ(screenText.lastText, before);
}

TEST_F(KeyboardTest, NumberKeysSetThePoolSize) {
  const int sizes[] = {10, 20, 40, 80, 160, 320, 640};
  for (int i = 0; i < 7; ++i) {
    const unsigned char key = static_cast<unsigned char>('1' + i);
    EXPECT_EQ(press(key), std::to_string(sizes[i]) + " particles");
    EXPECT_EQ(particleSystem.activeCount, sizes[i]);
  }
}

TEST_F(KeyboardTest, OptionKeyCyclesFromTheResetValue) {
  EXPECT_EQ(press('o'), "No Options");
  EXPECT_EQ(press('O'), "Option 1/2: Cloud");
  EXPECT_EQ(press('o'), "Option 2/2: Random Color Cloud");
  EXPECT_EQ(settings.particleOption, 2);
  EXPECT_EQ(press('o'), "No Options");
}

TEST_F(KeyboardTest, ShiftedCharactersAndUnlistedKeysChangeNothing) {
  press('3');  // a known message and pool size to compare against
  const std::string message = screenText.lastText;
  const std::vector<double> before = everythingKeysTouch();
  // '9' is not '(', '0' not ')', '<' not ',', '>' not '.', 8 is no pool size.
  const char* keys = "890<>!@#$%^&*`~'\";:|\\abdeghijkmnqxyzABDEGHIJKMNQXYZ";
  for (const char* k = keys; *k != '\0'; ++k) {
    onKey(static_cast<unsigned char>(*k), 0, 0);
    EXPECT_EQ(everythingKeysTouch(), before) << "key " << *k;
    EXPECT_EQ(screenText.lastText, message) << "key " << *k;
  }
  onKey(200, 0, 0);  // a byte above ASCII
  EXPECT_EQ(everythingKeysTouch(), before);
}

TEST_F(KeyboardTest, FullScreenKeySwitchesBetweenWindowAndFullScreen) {
  const std::string before = press('t');
  press('F');
  EXPECT_EQ(fullScreen, 0);
  EXPECT_EQ(settleWidth(kWindowedSize), kWindowedSize);
  EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), kWindowedSize);

  press('f');
  EXPECT_EQ(fullScreen, 1);
  const int screenWidth = glutGet(GLUT_SCREEN_WIDTH);
  EXPECT_EQ(settleWidth(screenWidth), screenWidth);
  EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), glutGet(GLUT_SCREEN_HEIGHT));
  EXPECT_EQ(screenText.lastText, before);  // neither switch shows a message

  resizeTestWindow(kTestWidth, kTestHeight);
}
