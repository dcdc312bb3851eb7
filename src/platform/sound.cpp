#include "platform/sound.h"

#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/sdl_library.h"
#include "platform/wave_file.h"

namespace {

// Releasing: shut down, and the device is being given back on a thread of
// its own (the loader's, when it was still at work), which then sets Closed.
enum class DeviceState { Closed, Loading, Open, Unavailable, Releasing };

// The device is asked for 16-bit stereo at 44.1 kHz in buffers of about
// 23 ms; it may choose another rate or channel count, and the effects are
// converted to whatever it chose once, when they are loaded.
constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr int kBufferFrames = 1024;
constexpr int kNoSound = -1;
// Closing the device waits for its thread, which waits for the sound
// server; a server that has stopped answering must not hold up the
// program's end for longer than this.
constexpr auto kCloseWait = std::chrono::seconds(1);

struct Effect {
  Uint8* bytes = nullptr;  // in the device's format; malloc'd
  Uint32 length = 0;
};

// Written by the loader thread and read by the frame: once the state says
// Open (release/acquire), the device and effects are set and never change
// until shutdown. The device and effects are plain data, which exit leaves
// alone: a loader still waiting for a server, or the device's thread, may
// run on while the process ends.
std::atomic<DeviceState> deviceState{DeviceState::Closed};
// Set before the loader thread starts, and never changed after.
const SdlLibrary* sdl = nullptr;
SDL_AudioDeviceID device = 0;
SDL_AudioSpec deviceSpec;  // what the device chose
Effect effects[kSoundEffects];
std::mutex loaderMutex;
std::condition_variable stateChanged;

// The one voice. playSound posts the effect to start; the device's callback
// takes it and alone owns what is playing and how far it has got.
std::atomic<int> requestedSound{kNoSound};
int playingSound = kNoSound;
Uint32 playedBytes = 0;

void fillDeviceBuffer(void*, Uint8* stream, int length) {
  const int requested = requestedSound.exchange(kNoSound, std::memory_order_acquire);
  if (requested != kNoSound) {
    playingSound = requested;
    playedBytes = 0;
  }
  Uint32 copied = 0;
  if (playingSound != kNoSound) {
    const Effect& effect = effects[playingSound];
    copied = std::min(Uint32(length), effect.length - playedBytes);
    std::memcpy(stream, effect.bytes + playedBytes, copied);
    playedBytes += copied;
    if (playedBytes == effect.length) playingSound = kNoSound;
  }
  std::memset(stream + copied, deviceSpec.silence, length - copied);
}

void discardLog(void*, int, SDL_LogPriority, const char*) {}
void discardAlsaError(const char*, int, const char*, int, const char*, ...) {}

// ALSA reports a missing card or device straight to stderr. SDL loads ALSA
// itself only when it chose it, so the program does not link it: the handler
// is set through the library SDL loaded, before a device is opened.
void quietAlsa() {
  using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
  using SetErrorHandler = int (*)(ErrorHandler);
  void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
  if (alsa == nullptr) return;
  auto setHandler = reinterpret_cast<SetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
  if (setHandler != nullptr) setHandler(discardAlsaError);
  dlclose(alsa);  // only drops the reference taken above; SDL keeps it loaded
}

bool openDevice() {
  sdl->LogSetOutputFunction(discardLog, nullptr);
  sdl->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (sdl->InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  const char* driver = sdl->GetCurrentAudioDriver();
  if (driver != nullptr && std::strcmp(driver, "alsa") == 0) quietAlsa();
  SDL_AudioSpec wanted{};
  wanted.freq = kRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = kChannels;
  wanted.samples = kBufferFrames;
  wanted.callback = fillDeviceBuffer;
  device = sdl->OpenAudioDevice(nullptr, 0, &wanted, &deviceSpec,
                                SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
  if (device == 0) {
    sdl->QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  return true;
}

// Loads a WAV and converts it to the device's format; false leaves the
// effect empty, so it stays silent.
bool loadEffect(const std::string& path, Effect& effect) {
  std::vector<uint8_t> file;
  if (!readWaveFile(path.c_str(), file)) return false;
  SDL_AudioSpec spec{};
  Uint8* samples = nullptr;
  Uint32 length = 0;
  if (sdl->LoadWAV_RW(sdl->RWFromConstMem(file.data(), int(file.size())), 1, &spec, &samples,
                      &length) == nullptr) {
    return false;
  }
  SDL_AudioCVT conversion{};
  const bool converts =
      sdl->BuildAudioCVT(&conversion, spec.format, spec.channels, spec.freq, deviceSpec.format,
                         deviceSpec.channels, deviceSpec.freq) >= 0;
  if (converts) {
    conversion.len = int(length);
    conversion.buf = static_cast<Uint8*>(std::malloc(size_t(length) * conversion.len_mult));
  }
  if (conversion.buf != nullptr) std::memcpy(conversion.buf, samples, length);
  sdl->FreeWAV(samples);
  if (conversion.buf == nullptr || sdl->ConvertAudio(&conversion) != 0) {
    std::free(conversion.buf);
    return false;
  }
  effect.bytes = conversion.buf;
  effect.length = Uint32(conversion.len_cvt);
  return true;
}

void closeDevice() {
  sdl->CloseAudioDevice(device);
  device = 0;
  sdl->QuitSubSystem(SDL_INIT_AUDIO);
  for (Effect& effect : effects) {
    std::free(effect.bytes);
    effect = Effect{};
  }
  requestedSound.store(kNoSound);
  playingSound = kNoSound;
}

// Closes the device, if it is open, once shutdownSound has handed it over.
void release(bool deviceOpen) {
  if (deviceOpen) closeDevice();
  std::lock_guard<std::mutex> lock(loaderMutex);
  deviceState.store(DeviceState::Closed);
  stateChanged.notify_all();
}

int closeInBackground(void*) {
  release(true);
  return 0;
}

// Starts an SDL thread, so SDL frees what it keeps per thread when the
// thread ends. Detached: nothing ever has to join it.
bool startDetached(SDL_ThreadFunction run, const char* name, void* data) {
  SDL_Thread* thread = sdl->CreateThread(run, name, data);
  if (thread == nullptr) return false;
  sdl->DetachThread(thread);
  return true;
}

void finishLoading(DeviceState result) {
  {
    std::lock_guard<std::mutex> lock(loaderMutex);
    DeviceState loading = DeviceState::Loading;
    if (deviceState.compare_exchange_strong(loading, result, std::memory_order_acq_rel)) {
      stateChanged.notify_all();
      return;
    }
  }
  release(result == DeviceState::Open);  // shut down while loading
}

int load(void* paths) {
  const auto* files = static_cast<std::string*>(paths);
  DeviceState result = DeviceState::Unavailable;
  if (openDevice()) {
    // A file that is missing or not a sound leaves its effect silent.
    for (int i = 0; i < kSoundEffects; ++i) loadEffect(files[i], effects[i]);
    sdl->PauseAudioDevice(device, 0);
    result = DeviceState::Open;
  }
  delete[] files;
  finishLoading(result);
  return 0;
}

// Loads SDL on a plain thread, then hands over to the loader on an SDL one.
void loadLibrary(std::string* files) {
  sdl = loadSdl();
  if (sdl == nullptr || !startDetached(load, "sound loader", files)) {
    delete[] files;
    finishLoading(DeviceState::Unavailable);
  }
}

}  // namespace

void startSound(const char* const paths[kSoundEffects]) {
  DeviceState closed = DeviceState::Closed;
  if (!deviceState.compare_exchange_strong(closed, DeviceState::Loading)) return;
  auto* files = new std::string[kSoundEffects];
  for (int i = 0; i < kSoundEffects; ++i) files[i] = paths[i];
  try {
    std::thread(loadLibrary, files).detach();
  } catch (const std::system_error&) {
    delete[] files;
    finishLoading(DeviceState::Unavailable);
  }
}

bool waitForSound() {
  std::unique_lock<std::mutex> lock(loaderMutex);
  stateChanged.wait(lock, [] {
    const DeviceState state = deviceState.load();
    return state != DeviceState::Loading && state != DeviceState::Releasing;
  });
  return deviceState.load() == DeviceState::Open;
}

void playSound(SoundEffect effect) {
  if (deviceState.load(std::memory_order_acquire) != DeviceState::Open) return;
  if (effects[effect].bytes != nullptr) requestedSound.store(effect, std::memory_order_release);
}

void shutdownSound() {
  std::unique_lock<std::mutex> lock(loaderMutex);
  const DeviceState state = deviceState.load();
  if (state == DeviceState::Loading) {
    deviceState.store(DeviceState::Releasing);  // the loader closes what it opens
  } else if (state == DeviceState::Open) {
    deviceState.store(DeviceState::Releasing);
    if (!startDetached(closeInBackground, "sound closer", nullptr)) {
      lock.unlock();
      release(true);
      return;
    }
    stateChanged.wait_for(lock, kCloseWait,
                          [] { return deviceState.load() == DeviceState::Closed; });
  } else if (state == DeviceState::Unavailable) {
    deviceState.store(DeviceState::Closed);
  }
}
