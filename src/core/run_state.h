// The run state that the frame, the drawing and the keys share: brightness
// fade and quit, pause, help page, full screen, and the window's size.
#pragma once

constexpr const char* kProductName = "Cryptwell";  // window title and caption
constexpr int kWindowedSize = 512;                 // edge of the window that key F switches to

extern float fadeLevel;    // global brightness 0..1
extern int quitting;       // set by ESC; the frame fades out, then exits
extern int paused;         // camera path, universe turn and light swing stopped
extern int helpScreen;     // help page drawn every frame
extern int fullScreen;     // 1 full screen, 0 a window
extern int windowedWidth;  // the size key F gives the window when it leaves full screen
extern int windowedHeight;

extern int windowWidth;  // as the window last reported it (or a replay's log); 0 until then
extern int windowHeight;

// The window's new size, from whichever back end or log reports it.
void setWindowSize(int width, int height);
