// The web build's stand-in for freeglut: emscripten's GLUT has what the
// program calls of freeglut's; the few calls it lacks come from gl_compat.
#pragma once
#include <GL/glut.h>
