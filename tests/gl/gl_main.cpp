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
  // Leaks are looked for now, while the GL libraries are still loaded. At
  // exit the GL dispatch unloads the driver first, and the driver's buffers
  // can then no longer be traced to it, so no suppression matches them.
  __lsan_do_leak_check();
#endif
  return result;
}
