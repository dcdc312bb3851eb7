// The signals that ask the program to stop (SIGTERM, SIGINT, SIGHUP), as a
// set, and a way to hold them back while something must not be cut short.
#pragma once
#include <csignal>

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

sigset_t stopSignalSet();
// Held back, or let in again, in the calling thread (and in the threads it
// starts meanwhile).
void holdStopSignals(bool held);
