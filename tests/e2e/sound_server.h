// A private sound server for one test: PulseAudio with a null sink (no
// hardware at all, see scripts/sound-server) as the test's own child
// process, with a runtime folder of its own, so it meets no other server on
// the machine. Everything played to it can be recorded from the sink's
// monitor with parec, as mono signed 16-bit samples at a known rate. Stopped
// and cleaned up when the object goes away.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

class SoundServer {
 public:
  static constexpr int kSampleRate = 44100;  // of the recording

  SoundServer();
  ~SoundServer();
  SoundServer(const SoundServer&) = delete;
  SoundServer& operator=(const SoundServer&) = delete;

  bool ready() const { return server_ > 0; }
  const std::string& failure() const { return failure_; }
  // "NAME=value" entries that lead a client (the program, pactl, parec) to
  // this server and keep it out of the home folder.
  const std::vector<std::string>& clientEnvironment() const { return clientEnvironment_; }

  // Stops the server (SIGSTOP) as a hung server would be stopped: its
  // socket still accepts, but nothing answers; resume() lets it go on.
  void hang();
  void resume();
  // Whether a client is playing to the sink: some program has its device open.
  bool hasPlayer() const;

  // Starts recording the sink's monitor and returns once the first samples
  // have arrived; false (see failure) if they did not.
  bool startRecording();
  // Samples written so far. The recording runs in real time, so this is a
  // clock: it lags the true count only by the recorder's short latency.
  long recordedSamples() const;
  // Ends the recording and returns all of it.
  std::vector<int16_t> stopRecording();

 private:
  bool waitUntilAnswering();
  std::string logTail() const;

  std::string folder_;
  std::vector<std::string> clientEnvironment_;
  pid_t server_ = -1;
  pid_t recorder_ = -1;
  bool hung_ = false;
  std::string failure_;
};
