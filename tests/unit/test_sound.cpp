// Sound effects: loaded before they are needed, one mixer channel, so a new
// sound cuts off the last; silence, and an empty console, when a file is
// missing or there is no sound device.
#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sound.h"

namespace {

// The generated sounds lie beside the generator.
std::string dataFile(const char* name) {
  std::string path = MAKE_ASSETS_PATH;
  return path.substr(0, path.rfind('/') + 1) + name;
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

class Sound : public ::testing::Test {
 protected:
  void TearDown() override {
    shutdownSound();
    unsetenv("SDL_AUDIODRIVER");
  }

  // Starts loading the two effects from these files and waits for the loader.
  static bool start(const std::string& laser, const std::string& boom) {
    const char* const paths[kSoundEffects] = {laser.c_str(), boom.c_str()};
    startSound(paths);
    return waitForSound();
  }
};

TEST_F(Sound, NothingOpensTheDeviceButStartSound) {
  playSound(LaserSound);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "a shot must never open the device itself";
}

TEST_F(Sound, WithoutADeviceEverySoundIsSilentAndQuiet) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  const std::string printed = consoleOutput([&] {
    EXPECT_FALSE(start(dataFile("laser.wav"), dataFile("boom.wav")));
    playSound(LaserSound);
    playSound(LaserSound);  // no second attempt to open, no second complaint
  });
  EXPECT_EQ(printed, "");
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "a failed open must give the audio system back";
}

TEST_F(Sound, ANewSoundCutsOffTheOneStillPlaying) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);  // a real mixer with no speakers
  const std::string printed = consoleOutput([&] {
    ASSERT_TRUE(start(dataFile("laser.wav"), dataFile("boom.wav")));
    playSound(BoomSound);
  });
  EXPECT_EQ(printed, "");
  ASSERT_EQ(Mix_Playing(0), 1) << "the explosion should be playing";
  Mix_Chunk* const explosion = Mix_GetChunk(0);

  playSound(LaserSound);
  EXPECT_EQ(Mix_AllocateChannels(-1), 1);
  EXPECT_EQ(Mix_Playing(-1), 1);
  EXPECT_NE(Mix_GetChunk(0), explosion) << "the laser should have replaced the explosion";
  EXPECT_LT(Mix_GetChunk(0)->alen, explosion->alen);  // the short shot, not the long bang
}

TEST_F(Sound, AMissingOrUnreadableFileIsSilentAndLeavesPlaybackAlone) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  char folder[] = "/tmp/cryptwell-sound-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string garbage = std::string(folder) + "/garbage.wav";
  std::FILE* f = std::fopen(garbage.c_str(), "wb");
  std::fputs("not a sound at all", f);
  std::fclose(f);

  // A directory stands in for a file in the last case.
  for (const std::string& bad : {std::string("no-such-file.wav"), garbage, std::string(folder)}) {
    const std::string printed = consoleOutput([&] {
      ASSERT_TRUE(start(bad, dataFile("boom.wav")));
      playSound(BoomSound);
      playSound(LaserSound);
    });
    EXPECT_EQ(printed, "") << bad;
    EXPECT_EQ(Mix_Playing(0), 1) << bad << ": a failed sound must not stop the one playing";
    shutdownSound();
  }
  std::remove(garbage.c_str());
  rmdir(folder);
}

TEST_F(Sound, ShuttingDownStopsPlaybackAndSoundCanStartAgain) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_TRUE(start(dataFile("laser.wav"), dataFile("boom.wav")));
  playSound(BoomSound);
  ASSERT_EQ(Mix_Playing(0), 1);
  shutdownSound();
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  playSound(BoomSound);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  ASSERT_TRUE(start(dataFile("laser.wav"), dataFile("boom.wav")));
  playSound(BoomSound);
  EXPECT_EQ(Mix_Playing(0), 1);
}

}  // namespace
