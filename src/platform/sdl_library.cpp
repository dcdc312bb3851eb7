#include "platform/sdl_library.h"

#include <dlfcn.h>

namespace {
const SdlLibrary* lookUp() {
  // Local: SDL's symbols stay out of the search of every library loaded later.
  void* handle = dlopen(kSdlLibrary, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return nullptr;
  static SdlLibrary library;
  bool complete = true;
#define CRYPTWELL_SDL_LOOK_UP(name)                                                     \
  library.name = reinterpret_cast<decltype(library.name)>(dlsym(handle, "SDL_" #name)); \
  complete = complete && library.name != nullptr;
  CRYPTWELL_SDL_FUNCTIONS(CRYPTWELL_SDL_LOOK_UP)
#undef CRYPTWELL_SDL_LOOK_UP
  return complete ? &library : nullptr;
}
}  // namespace

const SdlLibrary* loadSdl() {
  static const SdlLibrary* const library = lookUp();
  return library;
}
