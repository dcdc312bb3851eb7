// Cryptwell in a web page: the browser back end. It makes the WebGL context
// on the page's canvas, sets up the scene and runs the same frame as the
// desktop's back ends from the browser's animation frames, and ends the run
// the same one way (endRun). That way exits the program: the page then
// stops the frames and says the run has ended (page.js). The page's query
// string is the command line: ?benchmark=10 flies the benchmark on the
// synthetic clock and prints its report to the console.
#include <GL/gl.h>
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>

#include "cli/command_line.h"
#include "core/frame_clock.h"
#include "gfx/swap_interval.h"
#include "platform/clock.h"
#include "run/benchmark.h"
#include "run/input_source.h"
#include "run/run_settings.h"
#include "scene/frame_driver.h"
#include "scene/resources.h"
#include "scene/run_end.h"
#include "scene/scene_setup.h"
#include "text/text_renderer.h"
#include "web/page_input.h"

extern "C" int webMakeCanvasContext();  // page_library.js

namespace {
int framesDrawn = 0;
bool sound = true;

EM_JS(void, tellPage, (const char* event), {
  const handler = Module[UTF8ToString(event)];
  if (handler) handler();
});

// The options a page cannot honour: it has no files to record to or replay
// from, no X display or locker's window, and the browser paces its frames.
// Named rather than ignored, so nobody waits for what will not happen.
const char* desktopOnlyOption(const Options& options) {
  if (!options.recordPath.empty()) return "--record";
  if (!options.replayPath.empty()) return "--replay";
  if (!options.benchmarkLogPath.empty()) return "--benchmark-log";
  if (options.root) return "--root";
  if (options.windowId != 0) return "--window-id";
  if (!options.display.empty()) return "-display";
  if (options.run.framesPerSecond != 0) return "--fps";
  if (options.verticalSync == VerticalSync::Off) return "--no-vsync";
  return nullptr;
}

void onAnimationFrame() {
  uint64_t reading = 0;
  if (!beginFrame(&reading)) endRun(RunEnd::LogFinished);
  setClockMs(reading);
  runFrame();
  if (!endFrame()) endRun(RunEnd::Diverged);
  if (++framesDrawn == 1) {
    tellPage("onFirstFrame");
    if (sound) startSoundEffects();
  }
  if (benchmarkRunning() && benchmarkFrameDone()) endRun(RunEnd::Measured);
}
}  // namespace

// How many frames the page has drawn, for its own measurements.
extern "C" EMSCRIPTEN_KEEPALIVE int webFramesDrawn() { return framesDrawn; }

int main(int argc, char** argv) {
  const CommandLine commandLine = parseCommandLine(argc, argv, CRYPTWELL_VERSION);
  if (commandLine.action != CommandLineAction::Run) {
    std::fputs(commandLine.output.c_str(), commandLine.exitStatus == 0 ? stdout : stderr);
    std::exit(commandLine.exitStatus);
  }
  const Options& options = commandLine.options;
  if (const char* option = desktopOnlyOption(options)) {
    std::fprintf(stderr, "cryptwell: %s is not available in a web page\n", option);
    std::exit(2);
  }
  RunSettings settings = options.run;
  settings.fullScreen = 0;  // a page starts inside the page; F asks for full screen
  startClock();
  settings.startMs = clockStartMs;
  // The benchmark's frames are the same in a page as on the desktop.
  if (options.benchmarkSeconds > 0) {
    setClockSource(ClockSource::Synthetic);
    startFlyThroughBenchmark(options.benchmarkSeconds);
  }
  sound = options.sound && options.benchmarkSeconds == 0;
  applyRunSettings(settings);
  PreInit();
  if (webMakeCanvasContext() == 0) {
    tellPage("onNoWebGL");
    return 1;
  }
  startPageInput();
  setUpScene();
  screenText.showMessage("Press ? key for Help Screen");
  // Frames come from requestAnimationFrame, one each time the browser
  // would show a new picture.
  emscripten_set_main_loop(onAnimationFrame, 0, 1);
}
