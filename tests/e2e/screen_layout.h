// Where the program draws what the end-to-end tests look for, worked out
// for their 800 x 600 screen: window pixels, y counted from the top. Text
// boxes reach a pixel beyond the glyphs on each side.
#pragma once
#include "e2e/screen_image.h"

namespace layout {
constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Status messages: x 10, baseline 25, glyphs 20 high and 9 apart.
constexpr int kMessageRows = 27;  // the top rows that hold the message line
constexpr Box messageBox(int characters) { return {9, 4, characters * 9 + 3, 22}; }
constexpr Box kFirstMessage = messageBox(27);  // "Press ? key for Help Screen"
// The frame-rate line starts 120 pixels left of the right edge.
constexpr Box kFrameRateLine{kWidth - 120, 4, 120, 22};

// Letterbox 6: bars of 30 % of the height at the top and the bottom.
constexpr int kBar = 180;
constexpr Box kBottomBar{0, kHeight - kBar, kWidth, kBar};
// The picture between the bars, less a few rows at each edge: wide points
// and lines at the edge of the picture may reach a pixel or two into a bar.
constexpr Box kLetterboxPicture{0, kBar + 4, kWidth, kHeight - 2 * kBar - 8};
// The scene below the message line and the title caption.
constexpr Box kLowerScene{0, kBar + 5, kWidth, kHeight - kBar - 5};

// Title caption: x 80, baseline 120, 60 high, 246 wide, shaken and jolted
// by up to 60 pixels each way; below the message line, inside the top bar.
constexpr Box kCaptionArea{0, kMessageRows + 3, 450, kBar - kMessageRows - 8};
// The top bar right of everything the caption can reach.
constexpr Box kTopBarRight{460, 0, kWidth - 460, kBar - 4};

// Help page: heading "Cryptwell" at (20, 54), 30 high; lines from x 30 at
// baselines 54 + offset, 18 high and 8 apart.
constexpr int kHelpTop = 54;
constexpr Box kHelpHeading{19, kHelpTop - 31, 9 * 13 + 20, 33};
constexpr Box helpLine(int baselineOffset) { return {29, kHelpTop + baselineOffset - 19, 480, 21}; }
constexpr int kHelpLastBaseline = kHelpTop + 453;
constexpr int kHelpRightEdge = 30 + 60 * 8;  // the longest line (58 characters) and a margin

// Player status (manual camera): baseline at 95 % of the height, 30 high,
// 13 apart; health from 5 %, targets from 50 % of the width.
constexpr Box kHealthLine{39, 570 - 32, 11 * 13 + 4, 34};    // "Health: 100"
constexpr Box kTargetsLine{399, 570 - 32, 12 * 13 + 4, 34};  // "Targets:   1"

// Laser bolts leave from just below the eye toward the middle of the view.
constexpr Box kBoltArea{300, 300, 200, 150};

// The fixed point the program re-centres the pointer on.
constexpr int kPointerCentreX = 450;
constexpr int kPointerCentreY = 350;
}  // namespace layout
