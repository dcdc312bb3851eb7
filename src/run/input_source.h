// Where a run's inputs come from: each frame's clock reading, the input
// events and the window's size. A live run takes them from the system and,
// with --record, writes them to a replay log; a replay takes them all from
// a log and ignores the real ones; the benchmark flies on the synthetic
// clock and ignores every key but ESC. The GLUT window's input callbacks
// are the ones here: they log or drop an event, then hand it to the input
// handlers.
#pragma once
#include <cstdint>

enum class ClockSource { System, Replay, Synthetic };

// Chosen once at start, before the first frame.
void setClockSource(ClockSource source);
ClockSource clockSource();

// Before a frame: the events that come before it (in a replay) and its
// clock reading, logged when recording. False when a replay's log holds no
// further frame: the run is over.
bool beginFrame(uint64_t* clockReading);
// After a frame: the state hash logged or compared every 60 frames. False
// when a replay's state differs from its log: the run is over.
bool endFrame();

// The GLUT callbacks of the window's input, and its size as the window
// reports it (a replay keeps the logged size instead).
void keyEvent(unsigned char key, int x, int y);
void specialKeyDownEvent(int key, int x, int y);
void specialKeyUpEvent(int key, int x, int y);
void mouseButtonEvent(int button, int state, int x, int y);
void mouseMotionEvent(int x, int y);
void reshapeEvent(int width, int height);
