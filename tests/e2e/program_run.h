// One run of the program under test on a given display: started from a
// working folder with the given arguments, its standard output and standard
// error captured to files, waited for with a time limit, killed if the test
// ends first.
#pragma once
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "e2e/child_process.h"

// The built program, and its folder with its eight data files.
std::string programPath();
std::string programFolder();

// "LD_PRELOAD=..." for a run: the libraries a sanitized build needs
// preloaded (see program_run.cpp), then `library` if not empty; "" when the
// list is empty.
std::string preloadFor(const std::string& library);

// The value after "name:" on its line of a report the program printed (its
// benchmark's), or "" when the line is missing.
std::string reportValue(const std::string& report, const std::string& name);

class ProgramRun {
 public:
  // `program` is the executable to start (the built one unless a test names
  // a copy or an installed one); `arguments` follow it on the command line.
  // `environment` ("NAME=value") is added last, so it replaces the run's own
  // settings of the same names (the dummy sound device, for one).
  ProgramRun(const std::string& displayName, const std::string& workingFolder,
             const std::vector<std::string>& arguments = {},
             const std::string& program = programPath(),
             const std::vector<std::string>& environment = {});
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  bool running();
  // Waits until the process ends or `seconds` pass; the result says which.
  const ChildEnd& waitForExit(double seconds);
  double secondsSinceStart() const;

  std::string standardOutput() const;
  std::string standardError() const;

 private:
  pid_t pid_ = -1;
  ChildEnd end_;
  std::string consoleFolder_;
  std::chrono::steady_clock::time_point startTime_;
};
