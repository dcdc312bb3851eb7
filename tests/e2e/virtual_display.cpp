// Starts Xvfb on a free display number and waits until clients can connect.
// Tests run in parallel and other people may run servers of their own, so
// numbers are drawn at random from a range far above the usual ones, and a
// number whose socket or lock file exists is skipped.
#include "e2e/virtual_display.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "e2e/child_process.h"

namespace {
constexpr int kFirstNumber = 120;
constexpr int kLastNumber = 399;
constexpr int kAttempts = 8;
constexpr int kFirstUnusedNumber = 600;  // above scripts/display.sh's range too
constexpr double kStartSeconds = 15.0;
constexpr auto kPollInterval = std::chrono::milliseconds(50);

bool inUse(int number) {
  const std::string n = std::to_string(number);
  return access(("/tmp/.X11-unix/X" + n).c_str(), F_OK) == 0 ||
         access(("/tmp/.X" + n + "-lock").c_str(), F_OK) == 0;
}
}  // namespace

VirtualDisplay::VirtualDisplay(int width, int height) : width_(width), height_(height) {
  std::random_device seed;
  std::mt19937 pick(seed());
  std::uniform_int_distribution<int> numbers(kFirstNumber, kLastNumber);
  for (int attempt = 0; attempt < kAttempts && !ready(); ++attempt) {
    const int number = numbers(pick);
    if (!inUse(number)) tryStart(number);
  }
  if (!ready() && failure_.empty()) failure_ = "no free display number found";
}

std::string displayWithoutServer() {
  int number = kFirstUnusedNumber;
  while (inUse(number)) ++number;
  return ":" + std::to_string(number);
}

VirtualDisplay::~VirtualDisplay() { stopChild(pid_); }

bool VirtualDisplay::tryStart(int number) {
  const std::string name = ":" + std::to_string(number);
  const std::string screen = std::to_string(width_) + "x" + std::to_string(height_) + "x24";
  ChildCommand command;
  // -noreset: the server would otherwise reset when the readiness probe
  // disconnects, and refuse the test's own connection meanwhile.
  command.arguments = {"/usr/bin/Xvfb", name,        "-screen", "0",
                       screen,          "-nolisten", "tcp",     "-noreset"};
  const pid_t pid = startChild(command);
  if (pid <= 0) {
    failure_ = "cannot fork for Xvfb";
    return false;
  }
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(kStartSeconds);
  while (std::chrono::steady_clock::now() < deadline) {
    const ChildEnd end = waitForChild(pid, 0.0);
    if (end.ended) {  // most likely another server took the number first
      failure_ = "Xvfb " + name + " ended at start: " + describe(end);
      return false;
    }
    if (Display* probe = XOpenDisplay(name.c_str())) {
      XCloseDisplay(probe);
      pid_ = pid;
      name_ = name;
      failure_.clear();
      return true;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  stopChild(pid);
  failure_ = "Xvfb " + name + " accepted no client within the time limit";
  return false;
}
