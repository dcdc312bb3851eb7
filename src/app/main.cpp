// Cryptwell: a walk through two underground rooms joined by a corridor, with
// fire, smoke, hovering alien targets and a laser. This is the entry: read
// the options, settle the run's settings (a replay's are its log's), start
// the clock and choose where the run's input comes from, then open the
// window and run it; or, as a screen saver, run in a window that someone
// else made.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/command_line.h"
#include "display/glut_window.h"
#include "display/screen_saver_window.h"
#include "platform/clock.h"
#include "platform/stop_signals.h"
#include "platform/data_files.h"
#include "platform/output_check.h"
#include "run/benchmark.h"
#include "run/input_source.h"
#include "run/progress.h"
#include "run/recorder.h"
#include "run/replayer.h"
#include "run/run_outcome.h"
#include "run/run_settings.h"
#include "scene/scene_setup.h"

namespace {
// Reads the replay log and restores the settings it holds; false with the
// exit status when the log cannot be read or the command line contradicts it.
bool restoreReplay(const Options& options, RunSettings* settings, int* failureStatus) {
  std::string problem;
  if (!loadReplay(options.replayPath.c_str(), &problem)) {
    std::fprintf(stderr, "cryptwell: %s\n", problem.c_str());
    *failureStatus = 2;
    return false;
  }
  const ReplayLog& log = replayLog();
  const std::string conflict = settingConflict(log.settings, log.held, options.run, options.given);
  if (!conflict.empty()) {
    std::fprintf(stderr, "cryptwell: %s: %s\n", options.replayPath.c_str(), conflict.c_str());
    *failureStatus = 2;
    return false;
  }
  *settings = restoredSettings(log.settings, log.held, options.run);
  if (log.picturesHeld) {
    RunSettings now;
    readPictureIdentities(&now);
    std::string differences = pictureDifferences(log.settings, now);
    for (size_t end; (end = differences.find('\n')) != std::string::npos;) {
      std::fprintf(stderr, "cryptwell: %s\n", differences.substr(0, end).c_str());
      differences.erase(0, end + 1);
    }
  }
  return true;
}

// Where this run's clock and input come from, and what it writes; false
// with the status to end with when the replay cannot be run or a file it
// writes cannot be opened.
bool chooseRunInputs(const Options& options, RunSettings* settings, int* failureStatus) {
  if (!options.replayPath.empty()) {
    if (!restoreReplay(options, settings, failureStatus)) return false;
    startClockAt(settings->startMs);
    setClockSource(ClockSource::Replay);
    if (options.benchmarkSeconds > 0) startReplayBenchmark(options.replayPath, replayLog().frames);
    startProgress(replayLog().frames);
  } else {
    startClock();
    settings->startMs = clockStartMs;
    if (options.benchmarkSeconds > 0) {
      setClockSource(ClockSource::Synthetic);
      startFlyThroughBenchmark(options.benchmarkSeconds);
      startProgress(benchmarkTotalFrames());
    }
  }
  *failureStatus = 1;
  if (!options.benchmarkLogPath.empty() && !setBenchmarkLog(options.benchmarkLogPath.c_str())) {
    return false;
  }
  if (!options.recordPath.empty()) {
    readPictureIdentities(settings);
    if (!startRecording(options.recordPath.c_str(), CRYPTWELL_VERSION, *settings)) return false;
  }
  std::atexit(concludeAtExit);
  return true;
}

// Help and version go to standard output; if they cannot all be written
// there (a full disk, a closed pipe), say so rather than report success.
int printAnswer(const CommandLine& commandLine) {
  std::fputs(commandLine.output.c_str(), stdout);
  return flushChecked(stdout, "standard output") ? commandLine.exitStatus : 1;
}

// A screen locker stops its hack as soon as the user moves, which may be in
// the hack's first milliseconds. So the stop signals are held back from the
// program's first instruction of its own, before the libraries' set-up and
// main, until main knows what the run is: then a stop ends screen-saver mode
// quietly, and any other run as it always did.
void holdStopSignalsAtStart(int, char**, char**) { holdStopSignals(true); }
[[gnu::section(".preinit_array"), gnu::used]] void (*const kAtStart)(int, char**, char**) =
    holdStopSignalsAtStart;
}  // namespace

int main(int argc, char** argv) {
  const CommandLine commandLine = parseCommandLine(argc, argv, CRYPTWELL_VERSION);
  if (commandLine.action == CommandLineAction::Fail) {
    std::fputs(commandLine.output.c_str(), stderr);
    return commandLine.exitStatus;
  }
  if (commandLine.action == CommandLineAction::Exit) return printAnswer(commandLine);
  const Options& options = commandLine.options;
  if (wantsScreenSaverWindow(options)) catchStopSignals();
  holdStopSignals(false);
  setDataFolder(options.dataFolder.c_str());

  RunSettings settings = options.run;
  int failureStatus = 0;
  if (!chooseRunInputs(options, &settings, &failureStatus)) return failureStatus;
  applyRunSettings(settings);
  if (!PreInit()) {
    std::printf("App cannot PreInit()\n");
    std::exit(0);
  }
  if (wantsScreenSaverWindow(options)) return runInScreenSaverWindow(options, settings);
  runInGlutWindow(&argc, argv, options, settings);
}
