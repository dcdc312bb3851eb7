// Cryptwell in a web page: the browser back end. It makes the WebGL context
// on the page's canvas, sets up the scene, and runs the same frame as the
// desktop's back ends from the browser's animation frames. ESC's fade ends
// the run: the loop stops and the page says so (page.js). The page's query
// string is the program's command line (page.js): ?benchmark=10 flies the
// benchmark on the synthetic clock and prints its report to the console.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <string>

#include "app/benchmark.h"
#include "app/command_line.h"
#include "app/frame.h"
#include "app/run_inputs.h"
#include "app/scene.h"
#include "core/frame_clock.h"
#include "core/random.h"
#include "core/run_state.h"
#include "platform/clock.h"
#include "platform/data_files.h"
#include "platform/sound.h"
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

void startSoundEffects() {
  const std::string laser = findDataFile("laser.wav");
  const std::string boom = findDataFile("boom.wav");
  const char* const paths[kSoundEffects] = {laser.c_str(), boom.c_str()};
  startSound(paths);
}

void endPageRun() {
  shutdownScene();
  tellPage("onRunEnded");
}

EM_BOOL onAnimationFrame(double, void*) {
  setClockMs(beginFrame());
  bool going = runFrame();
  endFrame();
  if (++framesDrawn == 1) {
    tellPage("onFirstFrame");
    if (sound) startSoundEffects();
  }
  if (benchmarkRunning() && benchmarkFrameDone()) {
    printBenchmarkReport(stdout);
    std::fflush(stdout);
    going = false;
  }
  if (!going) endPageRun();
  return going ? EM_TRUE : EM_FALSE;
}
}  // namespace

// How many frames the page has drawn, for its own measurements.
extern "C" EMSCRIPTEN_KEEPALIVE int webFramesDrawn() { return framesDrawn; }

int main(int argc, char** argv) {
  const CommandLine commandLine = parseCommandLine(argc, argv, CRYPTWELL_VERSION);
  if (commandLine.action != CommandLineAction::Run) {
    std::fputs(commandLine.output.c_str(), commandLine.exitStatus == 0 ? stdout : stderr);
    tellPage("onRunEnded");
    return commandLine.exitStatus;
  }
  const Options& options = commandLine.options;
  startClock();
  // The benchmark's frames are the same in a page as on the desktop.
  if (options.benchmarkSeconds > 0) {
    setClockSource(ClockSource::Synthetic);
    startFlyThroughBenchmark(options.benchmarkSeconds);
  }
  sound = options.sound && options.benchmarkSeconds == 0;
  seedRandom(nowMs);
  fullScreen = 0;  // a page starts inside the page; F asks for full screen
  if (webMakeCanvasContext() == 0) {
    tellPage("onNoWebGL");
    return 1;
  }
  startPageInput();
  setUpScene();
  screenText.showMessage("Press ? key for Help Screen");
  emscripten_request_animation_frame_loop(onAnimationFrame, nullptr);
  return 0;
}
