// The GL the web build draws with: WebGL, through emscripten's emulation of
// desktop GL, plus a layer (gl_compat.cpp) for what the program asks of the
// GL that the emulation lacks: the spotlight and colour-following material,
// display lists, the line and point polygon modes, the viewport's attribute
// stack, reading a texture back, mipmaps and a few double-precision calls.
//
// This header is forced into every source of the web build and hands the
// immediate-mode, lighting and texture-upload calls to the layer: it lights
// each vertex on the processor, records display lists and turns polygons
// into their edges or corners, then draws through the emulation. Calls the
// emulation lacks altogether keep their own names and are defined there.
#pragma once
#include <GL/gl.h>
#include <GL/glu.h>

void webBegin(GLenum mode);
void webEnd();
void webVertex2f(GLfloat x, GLfloat y);
void webVertex3fv(const GLfloat* v);
void webTexCoord2f(GLfloat s, GLfloat t);
void webColor3f(GLfloat r, GLfloat g, GLfloat b);
void webColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void webColor4fv(const GLfloat* c);
void webEnable(GLenum cap);
void webDisable(GLenum cap);
void webLightfv(GLenum light, GLenum name, const GLfloat* values);
void webLightModelfv(GLenum name, const GLfloat* values);
void webMaterialfv(GLenum face, GLenum name, const GLfloat* values);
void webPolygonMode(GLenum face, GLenum mode);
void webShadeModel(GLenum mode);
void webGetIntegerv(GLenum name, GLint* values);
void webTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                   GLint border, GLenum format, GLenum type, const void* pixels);

#define glBegin webBegin
#define glEnd webEnd
#define glVertex2f webVertex2f
#define glVertex3fv webVertex3fv
#define glTexCoord2f webTexCoord2f
#define glColor3f webColor3f
#define glColor4f webColor4f
#define glColor4fv webColor4fv
#define glEnable webEnable
#define glDisable webDisable
#define glLightfv webLightfv
#define glLightModelfv webLightModelfv
#define glMaterialfv webMaterialfv
#define glPolygonMode webPolygonMode
#define glShadeModel webShadeModel
#define glGetIntegerv webGetIntegerv
#define glTexImage2D webTexImage2D
