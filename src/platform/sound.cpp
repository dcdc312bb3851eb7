// Sound effects through SDL2_mixer on one mixer channel, so that a new sound
// cuts off the previous one. The device is opened on the first playSound;
// loaded files are kept for the rest of the run.
#include "platform/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

namespace {

enum class DeviceState { Closed, Open, Unavailable };

constexpr int kMaxSounds = 4;
constexpr size_t kMaxNameLength = 64;

struct CachedSound {
  char name[kMaxNameLength];
  Mix_Chunk* chunk;
};

DeviceState deviceState = DeviceState::Closed;
CachedSound cache[kMaxSounds] = {};
int cachedCount = 0;

void discardLog(void*, int, SDL_LogPriority, const char*) {}

// Audio back ends (ALSA above all) write their complaints straight to
// stderr when no device is there; the program's console stays empty, so
// stderr is pointed at /dev/null while the device is being opened.
class QuietStderr {
 public:
  QuietStderr() {
    saved_ = dup(STDERR_FILENO);
    const int devNull = open("/dev/null", O_WRONLY);
    if (devNull >= 0) {
      dup2(devNull, STDERR_FILENO);
      close(devNull);
    }
  }
  ~QuietStderr() {
    if (saved_ >= 0) {
      dup2(saved_, STDERR_FILENO);
      close(saved_);
    }
  }

 private:
  int saved_;
};

bool openDevice() {
  if (deviceState != DeviceState::Closed) return deviceState == DeviceState::Open;
  deviceState = DeviceState::Unavailable;
  SDL_LogSetOutputFunction(discardLog, nullptr);
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  QuietStderr quiet;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_AllocateChannels(1);
  deviceState = DeviceState::Open;
  return true;
}

Mix_Chunk* findOrLoad(const char* path) {
  for (int i = 0; i < cachedCount; ++i) {
    if (std::strcmp(cache[i].name, path) == 0) return cache[i].chunk;
  }
  if (std::strlen(path) >= kMaxNameLength || cachedCount == kMaxSounds) return nullptr;
  Mix_Chunk* chunk = Mix_LoadWAV(path);
  if (chunk == nullptr) return nullptr;  // tried again next time: the file may appear
  std::strcpy(cache[cachedCount].name, path);
  cache[cachedCount].chunk = chunk;
  ++cachedCount;
  return chunk;
}

}  // namespace

void playSound(const char* path) {
  if (!openDevice()) return;
  Mix_Chunk* chunk = findOrLoad(path);
  if (chunk != nullptr) Mix_PlayChannel(0, chunk, 0);
}

void shutdownSound() {
  if (deviceState == DeviceState::Unavailable)
    deviceState = DeviceState::Closed;  // try again later
  if (deviceState != DeviceState::Open) return;
  Mix_HaltChannel(-1);
  for (int i = 0; i < cachedCount; ++i) Mix_FreeChunk(cache[i].chunk);
  cachedCount = 0;
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  deviceState = DeviceState::Closed;
}
