// The limit of the display path: a full-screen GLUT window that only clears
// and swaps, as fast as it can. ESC ends it.
#include <GL/freeglut.h>

#include <cstdlib>

namespace {
void display() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glutSwapBuffers();
}
void idle() { glutPostRedisplay(); }
void key(unsigned char k, int, int) {
  if (k == 27) std::exit(0);
}
}  // namespace

int main(int argc, char** argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
  glutCreateWindow("bare loop");
  glutFullScreen();
  glutDisplayFunc(display);
  glutIdleFunc(idle);
  glutKeyboardFunc(key);
  glutMainLoop();
  return 0;
}
