// How far a long run has got, for the person waiting at a terminal: while
// a benchmark or a replay runs and standard error is a terminal, one line
// there kept up to date a few times a second (frames done of the total,
// the time taken and the time left), cleared when the run ends. When
// standard error is not a terminal nothing is written.
#pragma once

// The run will draw this many frames; shows the line from now on if
// standard error is a terminal.
void startProgress(int totalFrames);
// After each frame.
void progressFrameDone();
// Removes the line, before whatever the run's end prints.
void clearProgress();
