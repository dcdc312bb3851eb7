// With a real sound server, the laser is heard once the left button goes
// down, and nothing is heard before. The program plays to a private
// PulseAudio server's null sink, whose monitor is recorded from before the
// program starts until it has quit. The recording runs in real time, so the
// number of samples it holds when the button goes down marks the press in
// it; that count lags the true one by the recorder's latency, so everything
// before it was surely played before the press.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/data_folder.h"
#include "e2e/program_test.h"
#include "e2e/sound_server.h"

namespace {
constexpr double kFrameTime = 0.4;
constexpr double kHoldSeconds = 1.0;
constexpr unsigned kLeftButton = 1;
constexpr long kRate = SoundServer::kSampleRate;
// The part of the recording that must be silent ends this long before the
// press, for the few milliseconds between reading the count and the press.
constexpr long kSilenceMargin = kRate / 10;
constexpr int kMaxSilentPeak = 64;     // of 32767: a null sink plays exact zeros
constexpr long kListen = kRate;        // the second after the press
constexpr double kMinLaserRms = 2000;  // the held laser measures about 15000
constexpr double kToolSeconds = 30.0;

int peak(const std::vector<int16_t>& samples, long from, long to) {
  int most = 0;
  for (long i = from; i < to; ++i) most = std::max(most, std::abs(int(samples[i])));
  return most;
}

double rms(const std::vector<int16_t>& samples, long from, long to) {
  double sum = 0;
  for (long i = from; i < to; ++i) sum += double(samples[i]) * samples[i];
  return to > from ? std::sqrt(sum / double(to - from)) : 0.0;
}
}  // namespace

class LaserSound : public ProgramTest {};

TEST_F(LaserSound, IsHeardWhenTheButtonGoesDownAndNotBefore) {
  SoundServer server;
  ASSERT_TRUE(server.ready()) << server.failure();
  ASSERT_TRUE(server.startRecording()) << server.failure();
  std::vector<std::string> environment = server.clientEnvironment();
  environment.push_back("SDL_AUDIODRIVER=");  // SDL chooses its device as on a desktop
  ASSERT_NO_FATAL_FAILURE(startProgram(programFolder(), {}, programPath(), environment));
  waitUntil(kFadeInSeconds);
  typeText("v");
  pause(kFrameTime);
  const long press = server.recordedSamples();
  pressButton(kLeftButton);
  pause(kHoldSeconds);
  releaseButton(kLeftButton);
  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kConditionSeconds));
  const std::vector<int16_t> sound = server.stopRecording();

  ASSERT_GT(press, kSilenceMargin) << "the recording started before the program";
  ASSERT_GE(long(sound.size()), press + kListen) << "the recording covers the second after";
  EXPECT_LE(peak(sound, 0, press - kSilenceMargin), kMaxSilentPeak)
      << "silence before the press, over " << double(press) / kRate << " s";
  EXPECT_GE(rms(sound, press, press + kListen), kMinLaserRms) << "the laser after the press";
  expectQuietConsole();
}

// Sound starts on a thread of its own once the window shows its first
// frame; neither may get in the way of the other, whatever the sound server
// does.
class SoundStart : public ProgramTest {
 protected:
  // ESC must end the program after its fade-out (and at most a second for
  // the device) while the server has stopped answering, from before the
  // program started or from when it has its device open.
  void expectQuitWhileTheServerHangs(bool fromTheStart) {
    constexpr double kDeviceOpenSeconds = 30.0;
    constexpr double kQuitSeconds = 8.0;  // the fade-out, the device's second, a slow machine
    SoundServer server;
    ASSERT_TRUE(server.ready()) << server.failure();
    if (fromTheStart) server.hang();
    std::vector<std::string> environment = server.clientEnvironment();
    environment.push_back("SDL_AUDIODRIVER=pulseaudio");
    ASSERT_NO_FATAL_FAILURE(startProgram(programFolder(), {}, programPath(), environment));
    if (!fromTheStart) {
      const auto deadline = std::chrono::steady_clock::now() +
                            std::chrono::duration<double>(kDeviceOpenSeconds);
      while (!server.hasPlayer() && std::chrono::steady_clock::now() < deadline) pause(0.1);
      ASSERT_TRUE(server.hasPlayer()) << "the program never opened its sound device";
      server.hang();
    }
    ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kQuitSeconds));
    expectQuietConsole();
  }
};

// GLUT's complaint about a display it cannot open must reach the console
// every time, also while the sound device is being opened. Twenty runs: a
// loader that hid stderr while opening the device lost the line in one run
// to ten runs of twenty, by timing.
TEST_F(SoundStart, AWindowFailureIsReportedEveryTimeWithSoundOn) {
  constexpr int kRuns = 20;
  constexpr double kExitSeconds = 30.0;
  SoundServer server;
  ASSERT_TRUE(server.ready()) << server.failure();
  std::vector<std::string> environment = server.clientEnvironment();
  environment.push_back("SDL_AUDIODRIVER=");
  const std::string noServer = displayWithoutServer();
  for (int i = 0; i < kRuns; ++i) {
    ProgramRun run(noServer, programFolder(), {}, programPath(), environment);
    const ChildEnd& end = run.waitForExit(kExitSeconds);
    ASSERT_TRUE(end.exited) << describe(end);
    EXPECT_EQ(end.status, 1);
    EXPECT_NE(run.standardError().find("failed to open display '" + noServer + "'"),
              std::string::npos)
        << "run " << i + 1 << " printed:\n"
        << run.standardError();
  }
}

TEST_F(SoundStart, EscapeEndsTheProgramWhileTheServerHangsFromTheStart) {
  expectQuitWhileTheServerHangs(true);
}

TEST_F(SoundStart, EscapeEndsTheProgramWhenTheServerHangsWhilePlaying) {
  expectQuitWhileTheServerHangs(false);
}

// The sound module loads SDL itself once the first frame is shown: nothing
// of SDL or the sound libraries it brings is loaded with the program, where
// mapping and binding them would hold up that first frame.
TEST(SoundLibraries, NoneIsLoadedWithTheProgram) {
  DataFolder scratch;
  ASSERT_FALSE(scratch.path().empty());
  ChildCommand ldd;
  ldd.arguments = {"/usr/bin/ldd", CRYPTWELL_BIN};
  ldd.stdoutPath = scratch.path() + "/libraries";
  const ChildEnd end = runChild(ldd, kToolSeconds);
  ASSERT_TRUE(end.exited && end.status == 0) << describe(end);
  const std::string libraries = readFile(ldd.stdoutPath);
  EXPECT_NE(libraries.find("libGL"), std::string::npos) << libraries;
  for (const char* sound : {"libSDL2", "libpulse", "libasound"}) {
    EXPECT_EQ(libraries.find(sound), std::string::npos) << sound << " in\n" << libraries;
  }
}
