// Cryptwell: a walk through two underground rooms joined by a corridor, with
// fire, smoke, hovering alien targets and a laser. This is the entry: read
// the options, start the clock and the sound, open the window, set up the
// scene and run the GLUT loop; or, as a screen saver, run in a window that
// someone else made.
#include <GL/freeglut.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/benchmark.h"
#include "app/command_line.h"
#include "app/foreign_window.h"
#include "app/frame_pacing.h"
#include "app/recorder.h"
#include "app/replayer.h"
#include "app/run_inputs.h"
#include "app/scene.h"
#include "app/swap_interval.h"
#include "app/window.h"
#include "core/run_state.h"
#include "gfx/draw_passes.h"
#include "platform/clock.h"
#include "platform/data_files.h"
#include "platform/sound.h"

namespace {
// Where this run's clock and input come from, and what it writes; false
// with the status to end with when the replay log cannot be read.
bool chooseRunInputs(const Options& options, int* failureStatus) {
  if (!options.replayPath.empty()) {
    std::string problem;
    if (!loadReplay(options.replayPath.c_str(), &problem)) {
      std::fprintf(stderr, "cryptwell: %s\n", problem.c_str());
      *failureStatus = 2;
      return false;
    }
    startClockAt(replayLog().startMs);
    setClockSource(ClockSource::Replay);
    if (options.benchmarkSeconds > 0) startTimedemo(options.replayPath, replayLog().frames);
  } else {
    startClock();
    if (options.benchmarkSeconds > 0) {
      setClockSource(ClockSource::Synthetic);
      startFlyThroughBenchmark(options.benchmarkSeconds);
    }
  }
  if (!options.benchmarkLogPath.empty()) setBenchmarkLog(options.benchmarkLogPath.c_str());
  if (!options.recordPath.empty()) {
    startRecording(options.recordPath.c_str(), CRYPTWELL_VERSION, clockStartMs);
  }
  std::atexit(finishRun);
  return true;
}

// Help and version go to standard output; if they cannot all be written
// there (a full disk, a closed pipe), say so rather than report success.
int printAnswer(const CommandLine& commandLine) {
  errno = 0;
  std::fputs(commandLine.output.c_str(), stdout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    std::fprintf(stderr, "cryptwell: write error: %s\n", std::strerror(errno));
    return 1;
  }
  return commandLine.exitStatus;
}

// A screen locker stops its hack as soon as the user moves, which may be in
// the hack's first milliseconds. So the stop signals are held back from the
// program's first instruction of its own, before the libraries' set-up and
// main, until main knows what the run is: then a stop ends screen-saver mode
// quietly, and any other run as it always did.
void holdStopSignalsAtStart(int, char**, char**) { holdStopSignals(true); }
[[gnu::section(".preinit_array"), gnu::used]] void (*const kAtStart)(int, char**, char**) =
    holdStopSignalsAtStart;

void startSoundEffects() {
  const std::string laser = findDataFile("laser.wav");
  const std::string boom = findDataFile("boom.wav");
  const char* const paths[kSoundEffects] = {laser.c_str(), boom.c_str()};
  startSound(paths);
}
}  // namespace

int main(int argc, char** argv) {
  const CommandLine commandLine = parseCommandLine(argc, argv, CRYPTWELL_VERSION);
  if (commandLine.action == CommandLineAction::Fail) {
    std::fputs(commandLine.output.c_str(), stderr);
    return commandLine.exitStatus;
  }
  if (commandLine.action == CommandLineAction::Exit) return printAnswer(commandLine);
  const Options& options = commandLine.options;
  if (wantsForeignWindow(options)) catchStopSignals();
  holdStopSignals(false);
  setDataFolder(options.dataFolder.c_str());

  int failureStatus = 0;
  if (!chooseRunInputs(options, &failureStatus)) return failureStatus;
  if (!PreInit()) {
    std::printf("App cannot PreInit()\n");
    std::exit(0);
  }
  if (wantsForeignWindow(options)) return runInForeignWindow(options);
  // The benchmark measures the picture alone, so it runs without sound.
  // Loading the sound (SDL, the sound server's client, the effects) waits
  // for the first frame: started sooner, it takes the process's locks and
  // the processor from the main thread while that loads GL and draws.
  if (options.sound && options.benchmarkSeconds == 0) runAfterFirstFrame(startSoundEffects);
  passesLeftOut = options.passesLeftOut;

  // Leaving full screen, GLUT restores the size the window had before it went
  // full screen, overriding a size asked for at the same moment; so the window
  // starts at the windowed size that key F asks for. Without a window manager
  // GLUT's full screen keeps the window's corner where it was, so that is the
  // screen's corner. Set before glutInit, so that -geometry can override both.
  windowedWidth = options.windowWidth;
  windowedHeight = options.windowHeight;
  fullScreen = options.windowed ? 0 : 1;
  glutInitWindowPosition(0, 0);
  glutInitWindowSize(windowedWidth, windowedHeight);
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
  glutCreateWindow(kProductName);
  glutReshapeFunc(reshapeEvent);
  glutDisplayFunc(onDisplay);
  glutIdleFunc(onIdle);
  glutWindowStatusFunc(onWindowStatus);
  applyVerticalSync(options.verticalSync);
  setFrameRateCap(options.framesPerSecond);

  if (!Init()) {
    std::printf("App cannot initialize.\n");
    std::exit(0);
  }
  glutMainLoop();
  return 0;
}
