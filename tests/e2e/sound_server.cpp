// Starts the project's private PulseAudio server (scripts/sound-server: its
// local socket and a null sink, nothing else), waits until it answers, and
// records the sink's monitor with parec.
#include "e2e/sound_server.h"

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "e2e/child_process.h"

namespace {
constexpr const char* kMonitor = "cryptwell_test.monitor";
constexpr double kStartSeconds = 15.0;
constexpr double kQuerySeconds = 5.0;
constexpr auto kPollInterval = std::chrono::milliseconds(20);
constexpr int kBytesPerSample = 2;
// Small recorder latency, so that the count of recorded samples keeps close
// to real time.
constexpr const char* kRecorderLatency = "--latency-msec=20";
constexpr size_t kLogTailBytes = 2000;
}  // namespace

SoundServer::SoundServer() {
  char folder[] = "/tmp/cryptwell-sound-XXXXXX";
  if (mkdtemp(folder) == nullptr) {
    failure_ = "cannot make the server's folder";
    return;
  }
  folder_ = folder;
  clientEnvironment_ = {"XDG_RUNTIME_DIR=" + folder_, "PULSE_COOKIE=" + folder_ + "/cookie"};
  ChildCommand command;
  command.arguments = {std::string(CRYPTWELL_SOURCE_DIR) + "/scripts/sound-server", folder_};
  server_ = startChild(command);
  if (server_ <= 0) {
    failure_ = "cannot fork for pulseaudio";
    return;
  }
  if (!waitUntilAnswering()) {
    stopChild(server_);
    server_ = -1;
  }
}

SoundServer::~SoundServer() {
  resume();
  stopChild(recorder_);
  stopChild(server_);
  if (!folder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
}

bool SoundServer::waitUntilAnswering() {
  ChildCommand query;
  query.arguments = {"/usr/bin/pactl", "info"};
  query.extraEnvironment = clientEnvironment_;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(kStartSeconds);
  while (std::chrono::steady_clock::now() < deadline) {
    const ChildEnd server = waitForChild(server_, 0.0);
    if (server.ended) {
      failure_ = "pulseaudio ended at start: " + describe(server) + "\n" + logTail();
      return false;
    }
    const ChildEnd end = runChild(query, kQuerySeconds);
    if (end.exited && end.status == 0) return true;
    std::this_thread::sleep_for(kPollInterval);
  }
  failure_ = "pulseaudio did not answer within " + std::to_string(kStartSeconds) + " s\n" +
             logTail();
  return false;
}

void SoundServer::hang() {
  if (ready() && kill(server_, SIGSTOP) == 0) hung_ = true;
}

void SoundServer::resume() {
  if (hung_) kill(server_, SIGCONT);
  hung_ = false;
}

bool SoundServer::hasPlayer() const {
  ChildCommand query;
  query.arguments = {"/usr/bin/pactl", "list", "short", "sink-inputs"};
  query.extraEnvironment = clientEnvironment_;
  query.stdoutPath = folder_ + "/sink-inputs";
  const ChildEnd end = runChild(query, kQuerySeconds);
  return end.exited && end.status == 0 && !readFile(query.stdoutPath).empty();
}

bool SoundServer::startRecording() {
  if (!ready()) return false;
  ChildCommand command;
  command.arguments = {"/usr/bin/parec",
                       std::string("--device=") + kMonitor,
                       "--format=s16le",
                       "--rate=" + std::to_string(kSampleRate),
                       "--channels=1",
                       kRecorderLatency};
  command.extraEnvironment = clientEnvironment_;
  command.stdoutPath = folder_ + "/recording.raw";
  command.stderrPath = folder_ + "/recorder.log";
  recorder_ = startChild(command);
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(kStartSeconds);
  while (std::chrono::steady_clock::now() < deadline) {
    if (recordedSamples() > 0) return true;
    const ChildEnd end = waitForChild(recorder_, 0.0);
    if (end.ended) {
      failure_ = "parec ended: " + describe(end);
      recorder_ = -1;
      return false;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  failure_ = "parec recorded nothing within " + std::to_string(kStartSeconds) + " s";
  return false;
}

long SoundServer::recordedSamples() const {
  std::error_code error;
  const auto bytes = std::filesystem::file_size(folder_ + "/recording.raw", error);
  return error ? 0 : static_cast<long>(bytes / kBytesPerSample);
}

std::vector<int16_t> SoundServer::stopRecording() {
  stopChild(recorder_);
  recorder_ = -1;
  std::ifstream in(folder_ + "/recording.raw", std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  std::vector<int16_t> samples(bytes.size() / kBytesPerSample);
  for (size_t i = 0; i < samples.size(); ++i) {
    const auto low = static_cast<unsigned char>(bytes[2 * i]);
    const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
    samples[i] = static_cast<int16_t>(low | (high << 8));
  }
  return samples;
}

std::string SoundServer::logTail() const {
  const std::string log = readFile(folder_ + "/server.log");
  return log.size() > kLogTailBytes ? log.substr(log.size() - kLogTailBytes) : log;
}
