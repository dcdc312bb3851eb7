// The page's input: the browser's key, mouse and size events handed to the
// run's input callbacks as GLUT would hand them on the desktop. Keys are
// read by the character they type, so every layout and every shifted key
// works; V's manual mode holds the pointer with pointer lock.
#pragma once

// Registers the listeners; the canvas follows the page's size from now on.
void startPageInput();
// Takes or gives back the pointer lock as the camera mode asks; called after
// every key, the moment the browser allows a lock to be asked for.
void followPointerMode();
