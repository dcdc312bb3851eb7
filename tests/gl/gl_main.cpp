// Entry of the GL tests: one real GL context for the process, a GLUT window
// on the (virtual) display, made before the first test runs.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "gl/gl_support.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests needs no display.
  if (!::testing::GTEST_FLAG(list_tests)) {
    openTestWindow(&argc, argv);
    keepGlDriverLoaded();
  }
  return RUN_ALL_TESTS();
}
