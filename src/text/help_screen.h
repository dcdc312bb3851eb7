// The help page: the product name and the controls, drawn over the scene
// while the help flag is on.
#pragma once

constexpr int kHelpLineCount = 26;
extern const char* const kHelpLines[kHelpLineCount];

// Baseline of help line `line` (0-based) in a window of the given height.
int helpLineY(int line, int windowHeight);
void drawHelpScreen();
