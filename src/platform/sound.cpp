#include "platform/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

namespace {

enum class DeviceState { Closed, Loading, Open, Unavailable };

// Written by the loader thread and read by the frame: once the state says
// Open (release/acquire), the chunks are set and never change until shutdown.
std::atomic<DeviceState> deviceState{DeviceState::Closed};
Mix_Chunk* chunks[kSoundEffects] = {};
std::string loadPaths[kSoundEffects];  // set before the loader starts, read by it
std::mutex loaderMutex;
std::condition_variable loaderDone;

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
  SDL_LogSetOutputFunction(discardLog, nullptr);
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  QuietStderr quiet;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_AllocateChannels(1);
  return true;
}

void finishLoading(DeviceState result) {
  std::lock_guard<std::mutex> lock(loaderMutex);
  deviceState.store(result, std::memory_order_release);
  loaderDone.notify_all();
}

int load(void*) {
  if (!openDevice()) {
    finishLoading(DeviceState::Unavailable);
    return 0;
  }
  // A file that is missing or not a sound leaves its effect silent.
  for (int i = 0; i < kSoundEffects; ++i) chunks[i] = Mix_LoadWAV(loadPaths[i].c_str());
  finishLoading(DeviceState::Open);
  return 0;
}

}  // namespace

void startSound(const char* const paths[kSoundEffects]) {
  DeviceState closed = DeviceState::Closed;
  if (!deviceState.compare_exchange_strong(closed, DeviceState::Loading)) return;
  for (int i = 0; i < kSoundEffects; ++i) loadPaths[i] = paths[i];
  // An SDL thread, so SDL frees what it keeps per thread when the loader
  // ends. Detached, so a process that ends while the device still opens does
  // not have to wait for it; shutdownSound waits through the state instead.
  SDL_Thread* loader = SDL_CreateThread(load, "sound loader", nullptr);
  if (loader == nullptr) {
    finishLoading(DeviceState::Unavailable);
    return;
  }
  SDL_DetachThread(loader);
}

bool waitForSound() {
  std::unique_lock<std::mutex> lock(loaderMutex);
  loaderDone.wait(lock, [] { return deviceState.load() != DeviceState::Loading; });
  return deviceState.load() == DeviceState::Open;
}

void playSound(SoundEffect effect) {
  if (deviceState.load(std::memory_order_acquire) != DeviceState::Open) return;
  if (chunks[effect] != nullptr) Mix_PlayChannel(0, chunks[effect], 0);
}

void shutdownSound() {
  if (waitForSound()) {
    Mix_HaltChannel(-1);
    for (Mix_Chunk*& chunk : chunks) {
      if (chunk != nullptr) Mix_FreeChunk(chunk);
      chunk = nullptr;
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  deviceState.store(DeviceState::Closed);
}
