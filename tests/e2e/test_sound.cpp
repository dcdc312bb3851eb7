// With a real sound server, the laser is heard once the left button goes
// down, and nothing is heard before. The program plays to a private
// PulseAudio server's null sink, whose monitor is recorded from before the
// program starts until it has quit. The recording runs in real time, so the
// number of samples it holds when the button goes down marks the press in
// it; that count lags the true one by the recorder's latency, so everything
// before it was surely played before the press.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

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
