// Where a run's inputs come from: each frame's clock reading, the input
// events and the window's size. A live run takes them from the system and,
// with --record, writes them to a replay log; a replay takes them all from
// a log and ignores the real ones; the benchmark flies on the synthetic
// clock and ignores every key but ESC. The window's GLUT callbacks for
// input and reshape are the ones here: they log or drop an event, then hand
// it to the input handlers.
#pragma once
#include <cstdint>

enum class ClockSource { System, Replay, Synthetic };

// Chosen once at start, before the first frame.
void setClockSource(ClockSource source);
ClockSource clockSource();

// Before a frame: the events that come before it (in a replay) and its
// clock reading, logged when recording. A replay whose log has no further
// frame ends here with its verdict.
uint64_t beginFrame();
// After a frame: the state hash logged or compared every 60 frames. A
// replay that differs ends here with its verdict.
void endFrame();
// At exit, however the run ends: the end of the log, or a replay's verdict
// on the frames it ran. Registered with atexit by the entry.
void finishRun();

// The GLUT callbacks of the window's input and size.
void keyEvent(unsigned char key, int x, int y);
void specialKeyDownEvent(int key, int x, int y);
void specialKeyUpEvent(int key, int x, int y);
void mouseButtonEvent(int button, int state, int x, int y);
void mouseMotionEvent(int x, int y);
void reshapeEvent(int width, int height);
