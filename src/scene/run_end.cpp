#include "scene/run_end.h"

#include <cstdlib>

#include "scene/scene_setup.h"

void endRun(RunEnd how) {
  const int status = concludeRun(how);
  shutdownScene();
  std::exit(status);
}
