#include "web/page_input.h"

#include <GL/glut.h>
#include <emscripten.h>

#include "core/settings.h"
#include "run/input_source.h"

namespace {
// Where GLUT's position of the pointer would be: under pointer lock the
// browser reports moves alone, which add to it, and a warp sets it.
int pointerX = 0;
int pointerY = 0;
}  // namespace

// The browser cannot move the pointer: a warp sets the position that the
// moves under pointer lock add to.
void glutWarpPointer(int x, int y) {
  pointerX = x;
  pointerY = y;
}

extern "C" {
// A typed character, or one of the keys GLUT calls special (0 when neither).
EMSCRIPTEN_KEEPALIVE void webKey(int character, int special, int down) {
  if (character != 0 && down != 0) keyEvent(static_cast<unsigned char>(character), pointerX, pointerY);
  if (special != 0 && down != 0) specialKeyDownEvent(special, pointerX, pointerY);
  if (special != 0 && down == 0) specialKeyUpEvent(special, pointerX, pointerY);
  followPointerMode();
}

EMSCRIPTEN_KEEPALIVE void webPointerMove(int x, int y, int dx, int dy, int locked) {
  pointerX = locked != 0 ? pointerX + dx : x;
  pointerY = locked != 0 ? pointerY + dy : y;
  mouseMotionEvent(pointerX, pointerY);
}

EMSCRIPTEN_KEEPALIVE void webPointerButton(int button, int down) {
  mouseButtonEvent(button, down != 0 ? GLUT_DOWN : GLUT_UP, pointerX, pointerY);
}

EMSCRIPTEN_KEEPALIVE void webResize(int width, int height) {
  reshapeEvent(width, height);
  glViewport(0, 0, width, height);
}
}

EM_JS(void, listenToPage, (), {
  // GLUT's numbers (GLUT_KEY_LEFT ...) for the keys that type no character,
  // and the ASCII codes it gives the keys that type a control character.
  const special = {
    ArrowLeft: 100, ArrowUp: 101, ArrowRight: 102, ArrowDown: 103, PageUp: 104, PageDown: 105,
    Home: 106, End: 107, Insert: 108
  };
  const typed = { Escape: 27, Enter: 13, Tab: 9, Backspace: 8, Delete: 127 };
  const key = (event, down) => {
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    let character = typed[event.key] || 0;
    if (event.key.length == 1 && event.key.charCodeAt(0) < 128) character = event.key.charCodeAt(0);
    const code = special[event.key] || 0;
    if (character == 0 && code == 0) return;
    event.preventDefault();
    _webKey(character, code, down);
  };
  window.addEventListener('keydown', (e) => key(e, 1));
  window.addEventListener('keyup', (e) => key(e, 0));
  const canvas = Module['canvas'];
  const scale = () => canvas.width / canvas.clientWidth;
  canvas.addEventListener('mousemove', (e) => {
    const locked = document.pointerLockElement === canvas ? 1 : 0;
    _webPointerMove(Math.round(e.offsetX * scale()), Math.round(e.offsetY * scale()),
                    e.movementX, e.movementY, locked);
  });
  // GLUT numbers the buttons left, middle, right: the DOM's order too.
  canvas.addEventListener('mousedown', (e) => { e.preventDefault(); _webPointerButton(e.button, 1); });
  window.addEventListener('mouseup', (e) => _webPointerButton(e.button, 0));
  canvas.addEventListener('contextmenu', (e) => e.preventDefault());
  const fit = () => {
    const width = Math.round(canvas.clientWidth * devicePixelRatio);
    const height = Math.round(canvas.clientHeight * devicePixelRatio);
    if (width == canvas.width && height == canvas.height) return;
    canvas.width = width;
    canvas.height = height;
    _webResize(width, height);
  };
  new ResizeObserver(fit).observe(canvas);
  fit();
});

EM_JS(void, lockPointer, (int wanted), {
  const canvas = Module['canvas'];
  const locked = document.pointerLockElement === canvas;
  if (wanted && !locked) {
    const asked = canvas.requestPointerLock();
    if (asked) asked.catch((e) => console.warn('Cryptwell: no pointer lock: ' + e.message));
  }
  if (!wanted && locked) document.exitPointerLock();
});

// F: full screen is the browser's to give, for the canvas; leaving it
// brings back the page's own size, whatever size the desktop would restore.
EM_JS(void, requestFullScreen, (), {
  const asked = Module['canvas'].requestFullscreen();
  if (asked) asked.catch((e) => console.warn('Cryptwell: no full screen: ' + e.message));
});

EM_JS(void, leaveFullScreen, (), {
  if (document.fullscreenElement) document.exitFullscreen();
});

void glutFullScreen() { requestFullScreen(); }

void glutReshapeWindow(int, int) { leaveFullScreen(); }

void startPageInput() { listenToPage(); }

void followPointerMode() { lockPointer(settings.cameraMode == 1 ? 1 : 0); }
