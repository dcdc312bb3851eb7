#include "run/run_outcome.h"

#include <cstdio>
#include <cstdlib>

#include "platform/output_check.h"
#include "run/benchmark.h"
#include "run/input_source.h"
#include "run/progress.h"
#include "run/recorder.h"
#include "run/replayer.h"

namespace {
bool concluded = false;
int status = 0;
bool writesFailed = false;  // the benchmark's CSV log or the replay log being recorded

bool lastFrameReplayed() { return replayedFrames() == replayLog().frames; }

// The benchmark's report, printed once, by whichever end comes first.
void reportBenchmark() {
  if (benchmarkRunning() && !benchmarkReported() && !printBenchmarkReport(stdout)) {
    writesFailed = true;
  }
}

// Prints the verdict; returns the exit status it means.
int replayVerdict(bool matches) {
  reportBenchmark();
  const int frames = replayedFrames();
  if (!matches) {
    std::printf("replay: diverged at frame %d\n", frames);
    return 1;
  }
  if (!replayLog().ended) {
    std::fprintf(stderr, "cryptwell: the replay log was cut short; replayed its %d whole frames\n",
                 frames);
  }
  std::printf("replay: %d frames, matches\n", frames);
  return 0;
}

int statusOf(RunEnd how) {
  const bool replay = clockSource() == ClockSource::Replay;
  switch (how) {
    case RunEnd::Quit:
      // The recorded run ended the same way in its last frame, if the two are alike.
      return replay ? replayVerdict(lastFrameReplayed() && replayLog().ended && replayEndMatches())
                    : 0;
    case RunEnd::LogFinished: return replayVerdict(replayEndMatches());
    case RunEnd::Diverged: return replayVerdict(false);
    case RunEnd::Measured:
      reportBenchmark();
      return replay ? replayVerdict(replayEndMatches()) : 0;
    case RunEnd::Stopped: break;
  }
  return 0;
}

// What every end does first: the progress line goes, the log being
// recorded is finished.
void beginConclusion() {
  concluded = true;
  clearProgress();
  if (!finishRecording()) writesFailed = true;
}

// The status, made 1 if anything the run wrote did not reach its file.
int checkedStatus(int verdict) {
  const bool written = flushChecked(stdout, "standard output") && !writesFailed;
  return written ? verdict : 1;
}
}  // namespace

int concludeRun(RunEnd how) {
  if (concluded) return status;
  beginConclusion();
  status = checkedStatus(statusOf(how));
  return status;
}

void concludeAtExit() {
  if (concluded) return;
  beginConclusion();
  if (clockSource() != ClockSource::Replay) {
    status = checkedStatus(0);
  } else if (lastFrameReplayed()) {
    status = checkedStatus(replayVerdict(replayEndMatches()));
  } else {
    std::printf("replay: stopped after frame %d of %d\n", replayedFrames(), replayLog().frames);
    status = checkedStatus(1);
  }
  // Already inside exit, which must not be called again.
  if (status != 0) {
    std::fflush(nullptr);
    std::_Exit(status);
  }
}
