#include "input/keyboard.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "core/frame_clock.h"
#include "core/input_state.h"
#include "core/oscillators.h"
#include "core/random.h"
#include "core/run_state.h"
#include "core/settings.h"
#include "gfx/lights.h"
#include "input/reset.h"
#include "particles/particles.h"
#include "text/text_renderer.h"

int letterboxStep = 0;

namespace {
constexpr double kSlower = 0.9;
constexpr double kFaster = 1.111111;
constexpr double kSmaller = 0.95;
constexpr double kLarger = 1.055555;
constexpr float kCameraZStep = 0.05f;
// Bounds of the values the step keys change. Each lies some 50 to 200
// presses from its reset value, where the picture has long since frozen,
// blurred, filled with one particle or sunk into the fog (which ends 10
// units from the eye), so no use of the program reaches them; but they are
// finite and keep clear of zero, so the opposite key always brings a value
// back.
struct Bounds {
  double low, high;
};
constexpr Bounds kSpeedBounds{0.001, 1000.0};  // star, movement and light speeds
constexpr Bounds kSizeBounds{0.01, 100.0};     // particle size
constexpr Bounds kCameraZBounds{-10.0, 10.0};
constexpr int kFovStep = 2;
constexpr int kFovMin = 4;
constexpr int kFovMax = 178;
constexpr int kLetterboxMax = 6;
constexpr int kParticleOptions = 3;
const char* const kParticleOptionTexts[kParticleOptions] = {"No Options", "Option 1/2: Cloud",
                                                            "Option 2/2: Random Color Cloud"};

// Sets the value in double precision within its bounds and shows it before
// it is rounded back to float.
void setWithin(float& value, double wanted, Bounds bounds, const char* format) {
  const double bounded = std::clamp(wanted, bounds.low, bounds.high);
  value = static_cast<float>(bounded);
  screenText.showMessage(format, bounded);
}

void scale(float& value, double factor, Bounds bounds, const char* format) {
  setWithin(value, value * factor, bounds, format);
}

void nudgeCameraZ(float step) {
  setWithin(settings.cameraZ, settings.cameraZ + static_cast<double>(step), kCameraZBounds,
            "CameraZ: %4.2f\n");
}

void toggle(int& flag, const char* on, const char* off) {
  flag = flag == 0 ? 1 : 0;
  screenText.showMessage(flag != 0 ? on : off);
}

void stepLetterbox() {
  // After a reset put the letterbox back to 0, the ping-pong starts again from there.
  if (std::abs(letterboxStep) != settings.letterbox) letterboxStep = settings.letterbox;
  letterboxStep = letterboxStep == kLetterboxMax ? -(kLetterboxMax - 1) : letterboxStep + 1;
  settings.letterbox = std::abs(letterboxStep);
  screenText.showMessage("Letterbox: %d", settings.letterbox);
}

void toggleHelp() {
  helpScreen = helpScreen == 0 ? 1 : 0;
  // In hyperspace the page would stay smeared into later frames; wipe it once.
  if (helpScreen == 0 && settings.blanking == 0) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void toggleFullScreen() {
  fullScreen = fullScreen == 0 ? 1 : 0;
  if (fullScreen == 0) {
    glutReshapeWindow(windowedWidth, windowedHeight);
  } else {
    glutFullScreen();
  }
}

void reset() {
  seedRandomFromClock(nowMs);
  resetParameters();
  randomizeOscillators(kOscillatorsInUse);
  setupLights(1, 0.5f, 0.9f);
  screenText.showMessage("Reset");
}

void cycleCameraMode() {
  settings.cameraMode = (settings.cameraMode + 1) % 2;
  if (settings.cameraMode == 1) {
    // The pointer roamed freely under the fly-through: the manual view starts
    // from where it looks now, and the next frame re-centres the pointer.
    mouseDX = 0;
    mouseDY = 0;
    mouseMoved = 1;
  }
  screenText.showMessage(settings.cameraMode == 0 ? "Camera 1: Auto"
                                                  : "Camera 2: Manual Mouse/Arrow Key Control");
}

void cyclePolyMode() {
  static const char* const kTexts[3] = {"PolyMode 1/3: Polygons", "PolyMode 2/3: Lines",
                                        "PolyMode 3/3: Points"};
  settings.polyMode = settings.polyMode == 2 ? 0 : settings.polyMode + 1;
  screenText.showMessage(kTexts[settings.polyMode]);
}

void letterCommand(char letter) {
  switch (letter) {
    case 'c': toggle(settings.frameClock, "Frame/Second Clock On", "Frame/Second Clock Off"); break;
    case 'f': toggleFullScreen(); break;
    case 'l': stepLetterbox(); break;
    case 'p': toggle(paused, "Pause Camera Motion", "Continue Camera Motion"); break;
    case 'r': reset(); break;
    case 's': toggle(settings.spotLights, "SpotLights On", "SpotLights Off"); break;
    case 't': toggle(settings.textures, "Textures On", "Textures Off"); break;
    case 'u': toggle(settings.universe, "Universe On", "Universe Off"); break;
    case 'v': cycleCameraMode(); break;
    case 'w': cyclePolyMode(); break;
    default: break;
  }
}
}  // namespace

void onKey(unsigned char key, int, int) {
  switch (key) {
    case kEscapeKey:
      quitting = 1;
      settings.blanking = 1;
      helpScreen = 0;
      break;
    case ' ': settings.blanking = settings.blanking == 0 ? 1 : 0; break;
    case '?':
    case '/': toggleHelp(); break;
    case '-': scale(settings.rotateSpeed, kSlower, kSpeedBounds, "Rotate Speed: %4.2f\n"); break;
    case '=': scale(settings.rotateSpeed, kFaster, kSpeedBounds, "Rotate Speed: %4.2f\n"); break;
    case '_':
      scale(settings.movementSpeed, kSlower, kSpeedBounds, "Movement Speed: %4.2f\n");
      break;
    case '+':
      scale(settings.movementSpeed, kFaster, kSpeedBounds, "Movement Speed: %4.2f\n");
      break;
    case '(':
      scale(settings.lightRotateSpeed, kSlower, kSpeedBounds, "Light Rotate Speed: %4.2f\n");
      break;
    case ')':
      scale(settings.lightRotateSpeed, kFaster, kSpeedBounds, "Light Rotate Speed: %4.2f\n");
      break;
    case '{': nudgeCameraZ(-kCameraZStep); break;
    case '}': nudgeCameraZ(kCameraZStep); break;
    case '[': scale(settings.objectSize, kSmaller, kSizeBounds, "Object Size: %4.2f\n"); break;
    case ']': scale(settings.objectSize, kLarger, kSizeBounds, "Object Size: %4.2f\n"); break;
    case ',':
      settings.fov = settings.fov >= kFovMax ? kFovMax : settings.fov + kFovStep;
      screenText.showMessage("FOV: %3.0f Degrees\n", static_cast<double>(settings.fov));
      break;
    case '.':
      settings.fov = settings.fov <= kFovMin ? kFovMin : settings.fov - kFovStep;
      screenText.showMessage("FOV: %3.0f Degrees\n", static_cast<double>(settings.fov));
      break;
    default:
      if (std::isalpha(key)) letterCommand(static_cast<char>(std::tolower(key)));
      break;
  }
  onParticleKey(key);
}

void onParticleKey(unsigned char key) {
  if (key >= '1' && key <= '7') {
    // Keys 1..7 give 10, 20, 40, ... 640 particles.
    particleSystem.activeCount = 10 << (key - '1');
    screenText.showMessage("%d particles", particleSystem.activeCount);
    return;
  }
  if (key == 'o' || key == 'O') {
    // The option cycles 0, 1, 2, 0, ...; after a reset (2) the next press shows "No Options".
    settings.particleOption = (settings.particleOption + 1) % kParticleOptions;
    screenText.showMessage(kParticleOptionTexts[settings.particleOption]);
  }
}
