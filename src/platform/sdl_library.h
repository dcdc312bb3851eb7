// SDL2, loaded at run time by the sound module instead of linked. Linked, the
// library and the dozens it brings (sound server and ALSA clients, codecs,
// compression) would all be mapped and bound before main, on the way to the
// first frame; loaded here, that work happens on the sound loader's thread.
// Only the functions the sound module calls are looked up.
#pragma once
#include <SDL.h>

// The soname of SDL2's library, which the package depends on.
constexpr const char* kSdlLibrary = "libSDL2-2.0.so.0";

#define CRYPTWELL_SDL_FUNCTIONS(X) \
  X(SetHint)                       \
  X(LogSetOutputFunction)          \
  X(InitSubSystem)                 \
  X(QuitSubSystem)                 \
  X(GetCurrentAudioDriver)         \
  X(OpenAudioDevice)               \
  X(PauseAudioDevice)              \
  X(CloseAudioDevice)              \
  X(RWFromConstMem)                \
  X(LoadWAV_RW)                    \
  X(FreeWAV)                       \
  X(BuildAudioCVT)                 \
  X(ConvertAudio)                  \
  X(CreateThread)                  \
  X(DetachThread)

// SDL_Name is here as Name, with SDL's own type.
struct SdlLibrary {
#define CRYPTWELL_SDL_MEMBER(name) decltype(&SDL_##name) name;
  CRYPTWELL_SDL_FUNCTIONS(CRYPTWELL_SDL_MEMBER)
#undef CRYPTWELL_SDL_MEMBER
};

// Loads the library and looks up every function, on the first call from any
// thread; later calls return the same answer. Null when the library or one
// of the functions is missing. The library stays loaded until the process
// ends, since SDL's own threads may outlive every caller.
const SdlLibrary* loadSdl();
