#include "text/help_screen.h"

#include <cstdint>

#include "core/run_state.h"
#include "text/text_renderer.h"

namespace {
constexpr int kHeadingX = 20;
constexpr float kHeadingSize = 30.0f;
constexpr int kLineX = kHeadingX + 10;
constexpr float kLineSize = 18.0f;
constexpr int kLineSpacing = 17;
constexpr double kHeadingTop = 0.09;  // share of the window height
constexpr double kHeadingGap = 1.4;   // line spacings from heading to line 1
constexpr double kBlockGap = 0.3;     // extra line spacing before the second block
constexpr int kSecondBlockLine = 6;   // 0-based index of its first line

int headingY(int height) { return static_cast<int>(height * kHeadingTop); }
}  // namespace

const char* const kHelpLines[kHelpLineCount] = {
    "Special Controls for this simulation:",
    "            []  Adjust Particle Size/Flame&Smoke Intensity",
    "             v  Toggle CameraView Move: Auto/Manual",
    "       <Mouse>  Adjust Look-At Direction and Fire",
    "  <Left/Right>  SideStep Left/Right",
    "     <Up/Down>  Move Forward/Back",
    "Standard Controls in most simulations where applicable:",
    "  unshifted <>  Adjust Screen Magnification",
    "            -=  Adjust Universe Rotate Speed",
    "    shift   _+  Adjust Universe Movement Speed",
    "    shift   {}  Adjust Closeness (Camera Z)",
    "             c  Toggle Frame-Per-Second Clock",
    "             f  Toggle FullScreen/Window",
    "             l  Adjust Letterbox Size 0-6",
    "             p  Toggle Pause On/Off",
    "             r  Reset/Randomize all parameters",
    "             s  Toggle Color SpotLites On-Off",
    "             t  Toggle Textures On-Off",
    "             u  Toggle Universe of Stars On/Off",
    "             w  Toggle Polygons/Wireframe/Points",
    "        <SPACE> Toggle Hyperspace (non-blanking)",
    "          <ESC> to QUIT",
    "   -------------------------------------------------------- ",
    "   Cryptwell: fire, smoke and aliens in the tunnels",
    "   C++ with OpenGL 1.1, GLU and freeglut",
    "   <?> to return",
};

int helpLineY(int line, int windowHeight) {
  // Whole pixels: the gaps are truncated once, as on a line-by-line walk down the page.
  const int firstGap = static_cast<int>(kLineSpacing * kHeadingGap);
  const int blockGap = line >= kSecondBlockLine ? static_cast<int>(kLineSpacing * kBlockGap) : 0;
  return headingY(windowHeight) + firstGap + kLineSpacing * line + blockGap;
}

void drawHelpScreen() {
  screenText.recordText = 0;
  screenText.drawText(kProductName, kHeadingX, static_cast<int16_t>(headingY(windowHeight)),
                      kHeadingSize);
  for (int i = 0; i < kHelpLineCount; ++i) {
    screenText.drawText(kHelpLines[i], kLineX, static_cast<int16_t>(helpLineY(i, windowHeight)),
                        kLineSize);
  }
  screenText.recordText = 1;
}
