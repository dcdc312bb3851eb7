// Fork, exec, wait with a limit and kill, for the test's child processes.
#include "e2e/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace {
constexpr auto kPollInterval = std::chrono::milliseconds(10);
constexpr double kGraceSeconds = 2.0;
constexpr int kExecFailedStatus = 127;

void redirect(int fd, const std::string& path) {
  const int target = open(path.empty() ? "/dev/null" : path.c_str(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (target >= 0) {
    dup2(target, fd);
    close(target);
  }
}
// True when `entry` ("NAME=value") names a variable that one of `entries` sets.
template <typename Iterator>
bool overridden(const char* entry, Iterator first, Iterator last) {
  const std::string name(entry, std::strcspn(entry, "="));
  for (Iterator e = first; e != last; ++e) {
    if (e->compare(0, name.size() + 1, name + "=") == 0) return true;
  }
  return false;
}
}  // namespace

pid_t startChild(const ChildCommand& command) {
  // Everything the child needs is prepared before fork: only async-signal
  // safe calls happen between fork and exec.
  std::vector<char*> argv;
  for (const std::string& a : command.arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // A caller may set a variable twice, a default and then its own value: the
  // later entry wins.
  const std::vector<std::string>& extra = command.extraEnvironment;
  std::vector<std::string> environment;
  for (auto e = extra.begin(); e != extra.end(); ++e) {
    if (!overridden(e->c_str(), e + 1, extra.end())) environment.push_back(*e);
  }
  for (char** e = environ; *e != nullptr; ++e) {
    if (!overridden(*e, extra.begin(), extra.end())) environment.emplace_back(*e);
  }
  std::vector<char*> envp;
  for (const std::string& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  const pid_t parent = getpid();

  const pid_t pid = fork();
  if (pid != 0) return pid;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(kExecFailedStatus);
  setpgid(0, 0);  // keyboard signals of a terminal running the tests stay ours
  const int devNull = open("/dev/null", O_RDONLY);
  if (devNull >= 0) dup2(devNull, STDIN_FILENO);
  redirect(STDOUT_FILENO, command.stdoutPath);
  redirect(STDERR_FILENO, command.stderrPath);
  if (!command.workingFolder.empty() && chdir(command.workingFolder.c_str()) != 0)
    _exit(kExecFailedStatus);
  execve(argv[0], argv.data(), envp.data());
  _exit(kExecFailedStatus);
}

ChildEnd waitForChild(pid_t pid, double seconds) {
  ChildEnd end;
  if (pid <= 0) return end;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      end.ended = true;
      end.exited = WIFEXITED(status);
      if (end.exited) end.status = WEXITSTATUS(status);
      if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
      return end;
    }
    if (done < 0 || std::chrono::steady_clock::now() >= deadline) return end;
    std::this_thread::sleep_for(kPollInterval);
  }
}

ChildEnd runChild(const ChildCommand& command, double seconds) {
  const pid_t pid = startChild(command);
  const ChildEnd end = waitForChild(pid, seconds);
  if (!end.ended) stopChild(pid);
  return end;
}

void stopChild(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  if (waitForChild(pid, kGraceSeconds).ended) return;
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

std::string describe(const ChildEnd& end) {
  if (!end.ended) return "still running";
  if (end.exited) return "exit status " + std::to_string(end.status);
  return "killed by signal " + std::to_string(end.signal);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}
