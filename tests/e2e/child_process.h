// Starting and ending the child processes of a test (the X server, the
// program, tools): fork and exec with a chosen environment, working folder
// and console files, a wait with a time limit, and a kill that never leaves
// a zombie behind.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

struct ChildCommand {
  std::vector<std::string> arguments;         // arguments[0] is the program path
  std::vector<std::string> extraEnvironment;  // "NAME=value", added to ours; a later entry wins
  std::string workingFolder;                  // empty: keep ours
  std::string stdoutPath;                     // empty: /dev/null
  std::string stderrPath;                     // empty: /dev/null
};

// Process id, or -1 when fork failed. A child that cannot exec ends with
// status 127. The child is ended with SIGKILL if the test process dies.
pid_t startChild(const ChildCommand& command);

// How a child ended, as far as the wait saw it.
struct ChildEnd {
  bool ended = false;   // false: still running when the wait gave up
  bool exited = false;  // ended through exit (status is valid)
  int status = -1;      // exit status
  int signal = 0;       // the signal that ended it, when it did not exit
};

ChildEnd waitForChild(pid_t pid, double seconds);
// Starts `command` and waits for its end; stops it after `seconds`.
ChildEnd runChild(const ChildCommand& command, double seconds);
// SIGTERM, a short grace period, then SIGKILL; always reaps the child.
void stopChild(pid_t pid);
std::string describe(const ChildEnd& end);

// What a file holds ("" when it cannot be read): a child's console output.
std::string readFile(const std::string& path);
