#include "platform/stop_signals.h"

sigset_t stopSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : kStopSignals) sigaddset(&set, signal);
  return set;
}

void holdStopSignals(bool held) {
  const sigset_t set = stopSignalSet();
  sigprocmask(held ? SIG_BLOCK : SIG_UNBLOCK, &set, nullptr);
}
