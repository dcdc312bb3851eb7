// Entry of the GL tests: one real GL context for the process, a GLUT window
// on the (virtual) display, made before the first test runs.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "gl/gl_support.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests needs no display.
  if (!::testing::GTEST_FLAG(list_tests)) openTestWindow(&argc, argv);
  const int result = RUN_ALL_TESTS();
#if defined(__SANITIZE_ADDRESS__)
  // Look for leaks now, while Mesa's driver is still loaded: at exit it is
  // unloaded first, and its own allocations could no longer be told apart.
  __lsan_do_leak_check();
#endif
  return result;
}
