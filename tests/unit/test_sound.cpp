// Sound effects: loaded before they are needed, one voice, so a new sound
// cuts off the last; silence, and an empty console, when a file is missing
// or not an effect, or there is no sound device. What is played is heard
// through SDL's disk device, which writes the device's output to a file in
// real time, in the format asked for.
#include <SDL.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/sound.h"

namespace {

constexpr double kOutputBytesPerSecond = 44100 * 2 * 2;  // 16-bit stereo at 44.1 kHz
constexpr double kHearingSeconds = 10.0;                 // a generous deadline
constexpr double kTrailingSilence = 0.2;                 // a sound is over after this much

// The generated sounds lie beside the generator.
std::string dataFile(const char* name) {
  std::string path = MAKE_ASSETS_PATH;
  return path.substr(0, path.rfind('/') + 1) + name;
}

double wavSeconds(const std::string& path) {
  SDL_AudioSpec spec{};
  Uint8* samples = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV(path.c_str(), &spec, &samples, &length) == nullptr) return 0;
  SDL_FreeWAV(samples);
  return double(length) / (SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels) / spec.freq;
}

// Everything written to stdout and stderr while `run` runs.
template <typename Run>
std::string consoleOutput(Run run) {
  std::fflush(stdout);
  std::fflush(stderr);
  char name[] = "/tmp/cryptwell-console-XXXXXX";
  const int capture = mkstemp(name);
  const int savedOut = dup(STDOUT_FILENO);
  const int savedErr = dup(STDERR_FILENO);
  dup2(capture, STDOUT_FILENO);
  dup2(capture, STDERR_FILENO);
  run();
  std::fflush(stdout);
  std::fflush(stderr);
  dup2(savedOut, STDOUT_FILENO);
  dup2(savedErr, STDERR_FILENO);
  close(savedOut);
  close(savedErr);
  std::string text;
  char buffer[256];
  lseek(capture, 0, SEEK_SET);
  for (ssize_t n; (n = read(capture, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  close(capture);
  unlink(name);
  return text;
}

// Where the output holds sound: from its first non-zero byte to its last,
// in seconds; and whether silence has followed it long enough to call the
// sound over.
struct Heard {
  double start = -1;
  double end = -1;
  bool over = false;
  double seconds() const { return end - start; }
};

Heard listen(const std::string& output) {
  std::ifstream in(output, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  Heard heard;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == 0) continue;
    if (heard.start < 0) heard.start = i / kOutputBytesPerSecond;
    heard.end = i / kOutputBytesPerSecond;
  }
  heard.over = heard.start >= 0 &&
               bytes.size() / kOutputBytesPerSecond - heard.end >= kTrailingSilence;
  return heard;
}

class Sound : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(mkdtemp(folder_), nullptr);
    output_ = std::string(folder_) + "/output.raw";
  }
  void TearDown() override {
    stop();
    for (const char* name : {"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE", "ALSA_CONFIG_PATH"}) {
      unsetenv(name);
    }
    std::filesystem::remove_all(folder_);
  }

  // Starts loading the two effects from these files and waits for the loader.
  static bool start(const std::string& laser, const std::string& boom) {
    const char* const paths[kSoundEffects] = {laser.c_str(), boom.c_str()};
    startSound(paths);
    return waitForSound();
  }
  // Shuts down and waits until the device is closed.
  static void stop() {
    shutdownSound();
    waitForSound();
  }
  // Plays to a file from here on.
  void useDiskDevice() {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
  }
  // Waits until `until` holds for what has been played so far.
  template <typename Until>
  Heard waitForOutput(Until until) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(kHearingSeconds);
    Heard heard = listen(output_);
    while (!until(heard) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      heard = listen(output_);
    }
    return heard;
  }
  Heard waitUntilOver() {
    return waitForOutput([](const Heard& h) { return h.over; });
  }
  std::string path(const char* name) const { return std::string(folder_) + "/" + name; }

  char folder_[32] = "/tmp/cryptwell-sound-XXXXXX";
  std::string output_;
};

TEST_F(Sound, NothingOpensTheDeviceButStartSound) {
  playSound(LaserSound);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "a shot must never open the device itself";
}

// A driver SDL does not have, and ALSA with no device to open (it would
// write its complaints to stderr if left alone).
TEST_F(Sound, WithoutADeviceEverySoundIsSilentAndQuiet) {
  const std::string emptyConfig = path("alsa.conf");
  std::ofstream(emptyConfig).close();
  const std::vector<std::vector<std::string>> settings = {
      {"SDL_AUDIODRIVER", "no-such-driver"},
      {"SDL_AUDIODRIVER", "alsa", "ALSA_CONFIG_PATH", emptyConfig},
  };
  for (const std::vector<std::string>& setting : settings) {
    for (size_t i = 0; i < setting.size(); i += 2) setenv(setting[i].c_str(), setting[i + 1].c_str(), 1);
    const std::string printed = consoleOutput([&] {
      EXPECT_FALSE(start(dataFile("laser.wav"), dataFile("boom.wav"))) << setting[1];
      playSound(LaserSound);
      playSound(LaserSound);  // no second attempt to open, no second complaint
    });
    EXPECT_EQ(printed, "") << setting[1];
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "a failed open must give the audio system back";
    stop();
  }
}

TEST_F(Sound, ANewSoundCutsOffTheOneStillPlaying) {
  useDiskDevice();
  const std::string printed = consoleOutput([&] {
    ASSERT_TRUE(start(dataFile("laser.wav"), dataFile("boom.wav")));
    playSound(BoomSound);
  });
  EXPECT_EQ(printed, "");
  ASSERT_GE(waitForOutput([](const Heard& h) { return h.start >= 0; }).start, 0)
      << "the explosion should be playing";
  playSound(LaserSound);
  const Heard heard = waitUntilOver();
  ASSERT_TRUE(heard.over);
  // The laser, played in full, ends the sound well before the explosion
  // would have.
  EXPECT_LT(heard.seconds(), wavSeconds(dataFile("boom.wav")) - 0.5);
  EXPECT_GT(heard.seconds(), 0.8 * wavSeconds(dataFile("laser.wav")));
}

// Each of these stands for boom.wav; the laser, playing, must play on to its
// end, and nothing must be read of a file too large to be an effect.
TEST_F(Sound, AFileThatIsNotAnEffectIsSilentAndLeavesPlaybackAlone) {
  useDiskDevice();
  const std::string garbage = path("garbage.wav");
  std::ofstream(garbage) << "not a sound at all";
  const std::string zeros = path("zeros.wav");  // 100 GB of nothing, no header
  std::ofstream(zeros).close();
  std::filesystem::resize_file(zeros, 100ull << 30);
  // A real effect, followed by enough to make it far longer than any effect.
  const std::string padded = path("padded.wav");
  std::filesystem::copy_file(dataFile("boom.wav"), padded);
  std::filesystem::resize_file(padded, 100ull << 20);
  const double laserSeconds = wavSeconds(dataFile("laser.wav"));

  for (const std::string& bad : {path("missing.wav"), garbage, std::string(folder_), zeros, padded}) {
    std::remove(output_.c_str());
    const std::string printed = consoleOutput([&] {
      ASSERT_TRUE(start(dataFile("laser.wav"), bad));
      playSound(LaserSound);
      playSound(BoomSound);
    });
    EXPECT_EQ(printed, "") << bad;
    const Heard heard = waitUntilOver();
    EXPECT_TRUE(heard.over) << bad;
    EXPECT_GT(heard.seconds(), 0.8 * laserSeconds) << bad << ": the laser was cut off";
    EXPECT_LT(heard.seconds(), 1.2 * laserSeconds) << bad << ": something else was heard";
    stop();
  }
}

TEST_F(Sound, ShuttingDownStopsPlaybackAndSoundCanStartAgain) {
  useDiskDevice();
  ASSERT_TRUE(start(dataFile("laser.wav"), dataFile("boom.wav")));
  playSound(BoomSound);
  ASSERT_GE(waitForOutput([](const Heard& h) { return h.start >= 0; }).start, 0);
  stop();
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  EXPECT_LT(listen(output_).seconds(), wavSeconds(dataFile("boom.wav")) - 0.5);
  playSound(BoomSound);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);

  std::remove(output_.c_str());
  ASSERT_TRUE(start(dataFile("laser.wav"), dataFile("boom.wav")));
  playSound(BoomSound);
  EXPECT_GT(waitUntilOver().seconds(), 0.8 * wavSeconds(dataFile("boom.wav")));
}

// Opening the disk device blocks while its file is a pipe nobody reads; so
// does a sound server that has stopped answering. Shutting down then returns
// at once, and the loader closes the device itself once it has it.
TEST_F(Sound, ShuttingDownNeverWaitsForTheLoader) {
  useDiskDevice();
  ASSERT_EQ(mkfifo(output_.c_str(), 0600), 0);
  const std::string laser = dataFile("laser.wav");
  const std::string boom = dataFile("boom.wav");
  const char* const paths[kSoundEffects] = {laser.c_str(), boom.c_str()};
  startSound(paths);
  auto shutdown = std::async(std::launch::async, shutdownSound);
  EXPECT_EQ(shutdown.wait_for(std::chrono::seconds(5)), std::future_status::ready);

  // Reading the pipe lets the open finish; the device then goes back.
  std::thread reader([&] {
    std::ifstream pipe(output_, std::ios::binary);
    for (char c; pipe.get(c);) {
    }
  });
  shutdown.wait();
  EXPECT_FALSE(waitForSound());
  reader.join();
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  std::remove(output_.c_str());
  EXPECT_TRUE(start(laser, boom)) << "sound can start again";
}

}  // namespace
