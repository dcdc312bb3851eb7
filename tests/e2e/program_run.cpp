// Runs the program as a person would: the built one by default, from its own
// folder (or another) as the working folder, with or without arguments.
#include "e2e/program_run.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {
// Where Debian's Mesa keeps the software rasteriser that Xvfb sessions use.
constexpr const char* kSoftwareDriverPaths[] = {
    "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
    "/usr/lib/aarch64-linux-gnu/dri/swrast_dri.so",
    "/usr/lib64/dri/swrast_dri.so",
    "/usr/lib/dri/swrast_dri.so",
};

int findSanitizerRuntime(dl_phdr_info* info, size_t, void* found) {
  const char* name = info->dlpi_name;
  if (name != nullptr && std::strstr(name, "libasan.so") != nullptr) {
    *static_cast<std::string*>(found) = name;
    return 1;
  }
  return 0;
}

// At exit GLUT closes the display and Mesa unloads its driver before the
// leak checker runs; the driver's own allocations then show up as leaks from
// an unknown module, which no suppression can name. Preloading the driver
// keeps it mapped to the end, so the suppressions of Mesa's libraries apply
// and a leak of the program's own still fails the run. The sanitizer runtime
// must come first in the list.
std::string pinnedLibraryList() {
  std::string runtime;
  dl_iterate_phdr(findSanitizerRuntime, &runtime);
  if (runtime.empty()) return "";
  for (const char* driver : kSoftwareDriverPaths) {
    if (access(driver, R_OK) == 0) return runtime + ":" + driver;
  }
  return "";
}
}  // namespace

std::string preloadFor(const std::string& library) {
  const std::string pinned = pinnedLibraryList();
  if (library.empty()) return pinned.empty() ? "" : "LD_PRELOAD=" + pinned;
  return "LD_PRELOAD=" + (pinned.empty() ? library : pinned + ":" + library);
}

std::string programPath() { return CRYPTWELL_BIN; }

std::string programFolder() { return CRYPTWELL_BIN_DIR; }

ProgramRun::ProgramRun(const std::string& displayName, const std::string& workingFolder,
                       const std::vector<std::string>& arguments, const std::string& program,
                       const std::vector<std::string>& environment) {
  char folder[] = "/tmp/cryptwell-console-XXXXXX";
  if (mkdtemp(folder) == nullptr) return;
  consoleFolder_ = folder;
  ChildCommand command;
  command.arguments = {program};
  command.arguments.insert(command.arguments.end(), arguments.begin(), arguments.end());
  command.workingFolder = workingFolder;
  command.stdoutPath = consoleFolder_ + "/stdout";
  command.stderrPath = consoleFolder_ + "/stderr";
  // A sound device that always opens, so that firing really loads and plays
  // the sound files on any machine, with or without audio hardware.
  // No session bus: without one, SDL's use of D-Bus would have libdbus fork
  // a launcher from the sound thread, and a sanitized program's child,
  // forked while the other thread holds the sanitizer's allocator lock,
  // would hang for good before it could exec.
  command.extraEnvironment = {"DISPLAY=" + displayName, "SDL_AUDIODRIVER=dummy",
                              "DBUS_SESSION_BUS_ADDRESS=disabled:"};
  const std::string pinned = preloadFor("");
  if (!pinned.empty()) command.extraEnvironment.push_back(pinned);
  command.extraEnvironment.insert(command.extraEnvironment.end(), environment.begin(),
                                  environment.end());
  startTime_ = std::chrono::steady_clock::now();
  pid_ = startChild(command);
}

ProgramRun::~ProgramRun() {
  if (!end_.ended) stopChild(pid_);
  if (!consoleFolder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(consoleFolder_, ignored);
  }
}

bool ProgramRun::running() { return started() && !waitForExit(0.0).ended; }

const ChildEnd& ProgramRun::waitForExit(double seconds) {
  if (!end_.ended && pid_ > 0) end_ = waitForChild(pid_, seconds);
  return end_;
}

double ProgramRun::secondsSinceStart() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - startTime_).count();
}

std::string ProgramRun::standardOutput() const { return readFile(consoleFolder_ + "/stdout"); }

std::string ProgramRun::standardError() const { return readFile(consoleFolder_ + "/stderr"); }

std::string reportValue(const std::string& report, const std::string& name) {
  const size_t at = report.find("\n" + name + ":");
  if (at == std::string::npos) return "";
  const size_t from = report.find_first_not_of(' ', at + name.size() + 2);
  return report.substr(from, report.find('\n', from) - from);
}
