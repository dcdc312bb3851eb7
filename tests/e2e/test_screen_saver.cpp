// Screen-saver mode and the frame cap, on a virtual display: the program
// draws into a window the test made, follows its size and ends with it or at
// a stop signal; refuses windows it cannot draw into; draws nothing while
// nobody can see it, in either back end; keeps to 30 frames a second counted
// from outside; and runs under a real xscreensaver as its users would have it.
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/child_process.h"
#include "e2e/program_run.h"
#include "e2e/screen_image.h"
#include "e2e/virtual_display.h"
#include "e2e/x_session.h"  // Xlib, after gtest: its None macro would trip gtest up

namespace {
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr double kPictureSeconds = 30.0;  // a loaded machine under the sanitizers is slow to start
constexpr double kExitSeconds = 10.0;
constexpr double kStopSeconds = 0.5;  // a stop signal ends the run this quickly
constexpr auto kPollInterval = std::chrono::milliseconds(50);
constexpr int kLitPixels = 1000;        // a drawn scene, not a stray pixel
constexpr double kIdleCpuShare = 0.05;  // CPU-seconds a second that count as resting
constexpr double kIdleMeasureSeconds = 5.0;
// Between two looks a second apart, this share of the window changed by this
// much: the fly-through moves, even where the scene is dim.
constexpr double kChangedShare = 0.02;
constexpr int kChangeStep = 8;
// The frame-rate runs draw small, so that even a busy machine keeps up with
// the cap and the count shows the cap rather than the machine.
constexpr int kSmallEdge = 64;
constexpr int kEarlyStops = 20;  // --gtest_repeat=5 for a hundred

template <typename Condition>
bool waitFor(double seconds, Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
}

void pause(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// User and system CPU time the process has used so far.
double cpuSeconds(pid_t pid) {
  const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  long ticks = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i >= 14) ticks += std::stol(field);  // utime, stime
  }
  return static_cast<double>(ticks) / sysconf(_SC_CLK_TCK);
}

std::string hexId(Window window) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", window);
  return text;
}

// The program holds back or catches SIGTERM, SIGINT and SIGHUP (all three
// bits of its status's masks); false before its own code runs.
bool stopSignalsTaken(pid_t pid) {
  std::istringstream status(readFile("/proc/" + std::to_string(pid) + "/status"));
  const unsigned long stops = 1ul << (SIGTERM - 1) | 1ul << (SIGINT - 1) | 1ul << (SIGHUP - 1);
  for (std::string line; std::getline(status, line);) {
    const bool mask = line.rfind("SigBlk:", 0) == 0 || line.rfind("SigCgt:", 0) == 0;
    if (mask && (std::stoul(line.substr(7), nullptr, 16) & stops) == stops) return true;
  }
  return false;
}

// The process's main thread has ended (it shows as a zombie, or the process
// is gone), so none of the program's code runs any longer.
bool mainThreadEnded(pid_t pid) {
  const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
  const size_t name = stat.rfind(')');
  return name == std::string::npos || stat.size() < name + 3 || stat[name + 2] == 'Z' ||
         stat[name + 2] == 'X';
}

bool oneLine(const std::string& text) {
  return !text.empty() && text.find('\n') == text.size() - 1;
}
}  // namespace

class ScreenSaver : public ::testing::Test {
 protected:
  void SetUp() override {
    display_ = std::make_unique<VirtualDisplay>(kScreenWidth, kScreenHeight);
    ASSERT_TRUE(display_->ready()) << display_->failure();
    x_ = std::make_unique<XSession>(display_->name());
    ASSERT_TRUE(x_->connected());
    own_ = XOpenDisplay(display_->name().c_str());
    ASSERT_NE(own_, nullptr);
  }

  void TearDown() override {
    run_.reset();
    if (own_ != nullptr) XCloseDisplay(own_);
  }

  // A plain window of the screen's default visual, which takes GL on Xvfb.
  Window makeWindow(int width, int height) {
    const Window w =
        XCreateSimpleWindow(own_, DefaultRootWindow(own_), 0, 0, width, height, 0, 0, 0);
    XMapWindow(own_, w);
    XSync(own_, False);
    return w;
  }

  // A window over the whole screen that no window manager moves.
  Window coverScreen() {
    XSetWindowAttributes a{};
    a.override_redirect = True;
    a.background_pixel = 0;
    const Window w = XCreateWindow(own_, DefaultRootWindow(own_), 0, 0, kScreenWidth, kScreenHeight,
                                   0, CopyFromParent, InputOutput, CopyFromParent,
                                   CWOverrideRedirect | CWBackPixel, &a);
    XMapRaised(own_, w);
    XSync(own_, False);
    return w;
  }

  void start(const std::vector<std::string>& arguments,
             const std::vector<std::string>& environment = {}) {
    run_ = std::make_unique<ProgramRun>(display_->name(), programFolder(), arguments, programPath(),
                                        environment);
    ASSERT_TRUE(run_->started());
  }

  // The window shows a drawn scene in `box` within the time limit.
  void expectPicture(Window window, const Box& box) {
    ScreenImage last;
    const bool drawn = waitFor(kPictureSeconds, [&] {
      last = x_->captureWindow(window);
      return last.litPixels(box) > kLitPixels || !run_->running();
    });
    ASSERT_TRUE(drawn && run_->running())
        << "lit pixels " << last.litPixels(box)
        << "; the program: " << describe(run_->waitForExit(0.0)) << "\n"
        << run_->standardError();
  }

  // The run ended by itself with status 0 and printed nothing.
  void expectQuietEnd(double seconds) {
    const ChildEnd& end = run_->waitForExit(seconds);
    ASSERT_TRUE(end.ended) << "still running " << seconds << " s later";
    EXPECT_TRUE(end.exited && end.status == 0) << describe(end) << "\n" << run_->standardError();
    EXPECT_EQ(run_->standardOutput(), "");
    EXPECT_EQ(run_->standardError(), "");
  }

  // A stop is taken at once: the program's own code has stopped within
  // kStopSeconds. What may remain is the kernel freeing the process's memory
  // in the GL driver's shader-cache thread, which runs at the lowest priority
  // and on a machine busy with other work can wait its turn for a second; so
  // the status is awaited for longer.
  void expectStoppedAtOnce() {
    EXPECT_TRUE(waitFor(kStopSeconds, [&] { return mainThreadEnded(run_->pid()); }))
        << "still running " << kStopSeconds << " s after the signal";
    expectQuietEnd(kExitSeconds);
  }

  std::unique_ptr<VirtualDisplay> display_;
  std::unique_ptr<XSession> x_;
  std::unique_ptr<ProgramRun> run_;
  Display* own_ = nullptr;  // the test's connection for making windows
};

TEST_F(ScreenSaver, DrawsIntoAGivenWindowFollowsItsSizeAndEndsWithIt) {
  const Window w = makeWindow(320, 240);
  // The display named as GLUT takes it, with none in the environment.
  ASSERT_NO_FATAL_FAILURE(
      start({"--window-id=" + hexId(w), "-display", display_->name()}, {"DISPLAY="}));
  ASSERT_NO_FATAL_FAILURE(expectPicture(w, {0, 0, 320, 240}));
  // A picture that kept the old size would leave the new strip on the right dark.
  XResizeWindow(own_, w, 560, 420);
  XSync(own_, False);
  ASSERT_NO_FATAL_FAILURE(expectPicture(w, {320, 0, 240, 420}));
  XDestroyWindow(own_, w);
  XSync(own_, False);
  expectQuietEnd(kExitSeconds);
}

TEST_F(ScreenSaver, StopSignalsEndItAtOnceWithStatusZero) {
  const int signals[] = {SIGTERM, SIGINT, SIGHUP};
  for (int signal : signals) {
    SCOPED_TRACE("signal " + std::to_string(signal));
    const Window w = makeWindow(320, 240);
    ASSERT_NO_FATAL_FAILURE(start({"-window-id", std::to_string(w)}));
    ASSERT_NO_FATAL_FAILURE(expectPicture(w, {0, 0, 320, 240}));
    kill(run_->pid(), signal);
    expectStoppedAtOnce();
    XDestroyWindow(own_, w);
  }
  // Also at random moments of its first second: while it connects to X,
  // makes its GL context and draws its first frame. Counted from its own
  // first instruction, when its stop signals show as held: no code of the
  // program runs before, while the loader maps its libraries.
  std::mt19937 random(std::random_device{}());  // new moments each run; the trace names them
  for (int i = 0; i < kEarlyStops; ++i) {
    const double moment = std::uniform_real_distribution<double>(0.0, 1.0)(random);
    SCOPED_TRACE("stop " + std::to_string(i) + " at " + std::to_string(moment) + " s");
    const Window w = makeWindow(kSmallEdge, kSmallEdge);
    ASSERT_NO_FATAL_FAILURE(start({"--window-id=" + hexId(w)}));
    const auto started = std::chrono::steady_clock::now();
    while (!stopSignalsTaken(run_->pid()) &&
           std::chrono::steady_clock::now() - started < std::chrono::duration<double>(kExitSeconds)) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    pause(moment);
    kill(run_->pid(), signals[i % 3]);
    expectStoppedAtOnce();
    XDestroyWindow(own_, w);
  }
}

TEST_F(ScreenSaver, WindowsItCannotDrawIntoAreRefusedInOneLine) {
  const Window gone = makeWindow(10, 10);
  XDestroyWindow(own_, gone);
  const Window inputOnly = XCreateWindow(own_, DefaultRootWindow(own_), 0, 0, 10, 10, 0, 0,
                                         InputOnly, CopyFromParent, 0, nullptr);
  XSync(own_, False);
  struct Case {
    std::vector<std::string> arguments;
    std::string lockerWindow;  // XSCREENSAVER_WINDOW, if not empty
    int status;
    std::string named;  // what the line must name
  };
  const Case cases[] = {
      {{"--window-id=12abc"}, "", 2, "12abc"},
      {{"--root"}, "junk", 2, "junk"},
      {{"--window-id=" + hexId(gone)}, "", 1, hexId(gone)},
      {{"--window-id", hexId(inputOnly)}, "", 1, hexId(inputOnly)},
      {{"--root"}, std::to_string(gone), 1, hexId(gone)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments[0] + " " + c.lockerWindow);
    std::vector<std::string> environment;
    if (!c.lockerWindow.empty()) environment.push_back("XSCREENSAVER_WINDOW=" + c.lockerWindow);
    ASSERT_NO_FATAL_FAILURE(start(c.arguments, environment));
    const ChildEnd& end = run_->waitForExit(kPictureSeconds);
    ASSERT_TRUE(end.ended);
    EXPECT_TRUE(end.exited && end.status == c.status) << describe(end);
    const std::string error = run_->standardError();
    EXPECT_TRUE(oneLine(error)) << error;
    EXPECT_EQ(error.rfind("cryptwell: ", 0), 0u) << error;
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
    EXPECT_EQ(run_->standardOutput(), "");
  }
}

TEST_F(ScreenSaver, NothingIsDrawnWhileNobodyCanSeeTheWindow) {
  enum class Hide { Cover, Unmap, Iconify };
  struct Case {
    const char* what;
    bool ownWindow;  // the program's GLUT window, else screen-saver mode
    Hide hide;
  };
  const Case cases[] = {
      {"screen saver, covered", false, Hide::Cover},
      {"screen saver, unmapped", false, Hide::Unmap},
      {"window, covered", true, Hide::Cover},
      {"window, iconified", true, Hide::Iconify},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Iconifying takes a window manager.
    pid_t manager = -1;
    if (c.hide == Hide::Iconify) {
      ChildCommand openbox;
      openbox.arguments = {"/usr/bin/openbox"};
      openbox.extraEnvironment = {"DISPLAY=" + display_->name()};
      manager = startChild(openbox);
      const Atom check = XInternAtom(own_, "_NET_SUPPORTING_WM_CHECK", False);
      ASSERT_TRUE(waitFor(kPictureSeconds, [&] {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(own_, DefaultRootWindow(own_), check, 0, 1, False, AnyPropertyType,
                           &type, &format, &items, &after, &data);
        if (data != nullptr) XFree(data);
        return items == 1;
      })) << "openbox did not start";
    }
    Window w = 0;
    if (c.ownWindow) {
      ASSERT_NO_FATAL_FAILURE(start({"--window=400x300", "--no-sound"}));
      w = x_->waitForWindow("Cryptwell", kPictureSeconds);
      ASSERT_NE(w, 0u) << run_->standardError();
    } else {
      w = makeWindow(400, 300);
      ASSERT_NO_FATAL_FAILURE(start({"--window-id=" + hexId(w)}));
    }
    ASSERT_NO_FATAL_FAILURE(expectPicture(w, {0, 0, 400, 300}));

    Window cover = 0;
    switch (c.hide) {
      case Hide::Cover: cover = coverScreen(); break;
      case Hide::Unmap: XUnmapWindow(own_, w); break;
      case Hide::Iconify: XIconifyWindow(own_, w, DefaultScreen(own_)); break;
    }
    XSync(own_, False);
    const pid_t pid = run_->pid();
    // The frame under way when it was hidden may still finish; then it rests.
    double before = cpuSeconds(pid);
    ASSERT_TRUE(waitFor(kPictureSeconds, [&] {
      pause(1.0);
      const double now = cpuSeconds(pid);
      const bool resting = now - before < kIdleCpuShare;
      before = now;
      return resting;
    })) << "the hidden program kept using the processor";
    pause(kIdleMeasureSeconds);
    EXPECT_LT(cpuSeconds(pid) - before, kIdleCpuShare * kIdleMeasureSeconds);
    ASSERT_TRUE(run_->running()) << describe(run_->waitForExit(0.0));

    if (cover != 0) XDestroyWindow(own_, cover);
    if (c.hide != Hide::Cover) XMapWindow(own_, w);  // also how a client leaves the icon
    XSync(own_, False);
    ScreenImage previous = x_->captureWindow(w);
    std::string seen;
    EXPECT_TRUE(waitFor(
        kPictureSeconds,
        [&] {
          pause(1.0);
          const ScreenImage now = x_->captureWindow(w);
          const double changed = now.changedFraction(previous, now.whole(), kChangeStep);
          seen += " " + std::to_string(changed) + "/" + std::to_string(now.litPixels(now.whole()));
          previous = now;
          // Lit as well: hidden in its first two seconds, it must not stay dimmed.
          return changed > kChangedShare && now.litPixels(now.whole()) > kLitPixels;
        }))
        << "no frames after the window showed again; changed share/lit pixels each second:" << seen
        << "; CPU " << cpuSeconds(pid) - before << " s since it rested";
    run_.reset();
    if (manager > 0) stopChild(manager);
    if (!c.ownWindow) XDestroyWindow(own_, w);
  }
}

TEST_F(ScreenSaver, ThirtyFramesASecondCountedFromOutside) {
  struct Case {
    const char* what;
    bool screenSaver;  // screen-saver mode keeps to 30 without being told
  };
  for (const Case& c : {Case{"--fps=30 in a window", false}, Case{"screen saver", true}}) {
    SCOPED_TRACE(c.what);
    char folder[] = "/tmp/cryptwell-swaps-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string log = std::string(folder) + "/swaps";
    const std::vector<std::string> environment = {preloadFor(SWAP_COUNTER),
                                                  "CRYPTWELL_SWAP_LOG=" + log};
    Window w = 0;
    if (c.screenSaver) {
      w = makeWindow(kSmallEdge, kSmallEdge);
      ASSERT_NO_FATAL_FAILURE(start({"--window-id=" + hexId(w)}, environment));
    } else {
      ASSERT_NO_FATAL_FAILURE(start(
          {"--fps=30", "--window=" + std::to_string(kSmallEdge) + "x" + std::to_string(kSmallEdge),
           "--no-sound"},
          environment));
    }
    // The counter logs "<seconds since the first swap> <swaps so far>" about once a second.
    std::vector<std::pair<double, long>> counts;
    waitFor(kPictureSeconds, [&] {
      counts.clear();
      std::istringstream lines(readFile(log));
      double t = 0;
      long n = 0;
      while (lines >> t >> n) counts.emplace_back(t, n);
      return counts.size() >= 10;
    });
    ASSERT_GE(counts.size(), 10u) << "no steady swaps; " << run_->standardError();
    std::vector<double> rates;  // per second, after the start-up's first two
    for (size_t i = 3; i < counts.size(); ++i) {
      rates.push_back((counts[i].second - counts[i - 1].second) /
                      (counts[i].first - counts[i - 1].first));
    }
    std::sort(rates.begin(), rates.end());
    const double median = rates[rates.size() / 2];
    EXPECT_GE(median, 27.0);
    EXPECT_LE(median, 31.0);
    run_.reset();
    if (w != 0) XDestroyWindow(own_, w);
    std::filesystem::remove_all(folder);
  }
}

namespace {
constexpr const char* kSaverUser = "nobody";  // xscreensaver runs no hacks as root
constexpr int kFireSeen = 500;                // fire-coloured pixels of the rooms' flames
constexpr int kDetailStep = 8;
constexpr double kMinDetail = 0.05;  // textured walls, not flat shading
// The stop goes through xscreensaver and its drawing process first, and a
// sanitized program's exit checks its whole heap for leaks; on a busy
// machine that takes seconds. The program's own part is timed by the
// stop-signal test.
constexpr double kEndAfterDeactivate = 20.0;
constexpr double kLookInterval = 0.5;
constexpr double kInstallSeconds = 120.0;

// The processes of `program` in screen-saver mode, found by their
// executable and option (other tests may run the program at the same time).
std::vector<pid_t> programProcesses(const std::string& program) {
  std::vector<pid_t> found;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ignored)) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code failed;
    const auto exe = std::filesystem::read_symlink(entry.path() / "exe", failed);
    if (failed || exe != std::filesystem::path(program)) continue;
    const std::string arguments = readFile((entry.path() / "cmdline").string());
    if (arguments.find(std::string("--root") + '\0') != std::string::npos) {
      found.push_back(std::stoi(name));
    }
  }
  return found;
}
}  // namespace

// First as a new user who installed the program and has no ~/.xscreensaver
// yet: the README's set-up command puts it in the list, where -select finds
// it; run again it changes nothing, and its removal undoes it exactly. Then
// with a list that runs only the built program.
TEST_F(ScreenSaver, ActivatedByARealXscreensaverAndEndedByIt) {
  const passwd* user = getpwnam(kSaverUser);
  if (getuid() != 0 || user == nullptr) {
    GTEST_SKIP() << "xscreensaver refuses to run hacks as root, and this run cannot switch to the "
                    "unprivileged user '"
                 << kSaverUser << "' (needs root and that user)";
  }
  // The README's example lines: the set-up, then its removal.
  std::vector<std::string> readme;
  std::istringstream text(readFile(CRYPTWELL_SOURCE_DIR "/README.md"));
  for (std::string line; std::getline(text, line);) {
    if (line.rfind("    $ cryptwell-screensaver-setup", 0) == 0) readme.push_back(line.substr(6));
  }
  ASSERT_EQ(readme.size(), 2u);
  char folder[] = "/tmp/cryptwell-saver-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string home = folder;
  const std::string prefix = home + "/prefix";
  ChildCommand install;
  install.arguments = {CRYPTWELL_CMAKE, "--install", CRYPTWELL_BUILD_DIR, "--prefix", prefix};
  ASSERT_EQ(runChild(install, kInstallSeconds).status, 0);
  ASSERT_EQ(chown(folder, user->pw_uid, user->pw_gid), 0);
  // When xscreensaver's drawing process ends it leaves the program to us,
  // so that the test can see how the program ended.
  ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);

  const std::vector<std::string> asUser = {
      "/usr/bin/setpriv", "--reuid=" + std::to_string(user->pw_uid),
      "--regid=" + std::to_string(user->pw_gid), "--clear-groups"};
  // The installed program is not run under the leak checker: its report
  // would land in xscreensaver's log, which must hold xscreensaver's alone.
  const std::vector<std::string> userEnvironment = {
      "HOME=" + home, "DISPLAY=" + display_->name(), "PATH=" + prefix + "/games:/usr/bin:/bin",
      "ASAN_OPTIONS=detect_leaks=0"};
  ChildCommand daemon;
  daemon.arguments = asUser;
  daemon.arguments.insert(daemon.arguments.end(),
                          {"/usr/bin/xscreensaver", "-no-splash", "-verbose"});
  daemon.extraEnvironment = userEnvironment;
  daemon.stderrPath = home + "/log";
  daemon.stdoutPath = home + "/log.out";
  const pid_t saver = startChild(daemon);
  const auto command = [&](const char* what, const std::string& value = "") {
    ChildCommand c;
    c.arguments = asUser;
    c.arguments.insert(c.arguments.end(), {"/usr/bin/xscreensaver-command", what});
    if (!value.empty()) c.arguments.push_back(value);
    c.extraEnvironment = userEnvironment;
    const ChildEnd end = runChild(c, kExitSeconds);
    return end.exited && end.status == 0;
  };
  const auto started = [&](const std::string& program) {
    pid_t hack = 0;
    EXPECT_TRUE(waitFor(kPictureSeconds,
                        [&] {
                          const std::vector<pid_t> found = programProcesses(program);
                          if (!found.empty()) hack = found.front();
                          return hack != 0;
                        }))
        << "xscreensaver did not start " << program << "; its log:\n"
        << readFile(home + "/log");
    return hack;
  };
  ScreenImage screen;
  const auto expectFlyThrough = [&](const std::string& name) {
    // Looks spaced out, so as not to slow the first frames (llvmpipe compiles
    // its shaders then): frames missing until 2 s leave the fade-in halfway.
    const bool seen = waitFor(kPictureSeconds, [&] {
      pause(kLookInterval);
      screen = x_->captureScreen();
      return screen.count(screen.whole(), isFlame) > kFireSeen &&
             screen.detailFraction(screen.whole(), kDetailStep) > kMinDetail;
    });
    if (!seen || std::getenv("CRYPTWELL_E2E_SAVE_SCREENS") != nullptr) {
      std::error_code ignored;
      std::filesystem::create_directories("e2e-screens", ignored);
      screen.save("e2e-screens/" + name);
    }
    EXPECT_TRUE(seen) << "fire pixels " << screen.count(screen.whole(), isFlame) << ", detail "
                      << screen.detailFraction(screen.whole(), kDetailStep)
                      << "; xscreensaver's log:\n"
                      << readFile(home + "/log");
  };
  // The daemon answers once it is up.
  EXPECT_TRUE(waitFor(kPictureSeconds, [&] { return command("-version"); }));
  const auto setUp = [&](const std::string& line) {
    ChildCommand c;
    c.arguments = asUser;
    c.arguments.insert(c.arguments.end(), {"/bin/sh", "-c", line});
    c.extraEnvironment = userEnvironment;
    c.stdoutPath = home + "/said";
    EXPECT_EQ(runChild(c, kExitSeconds).status, 0) << line;
    return readFile(home + "/.xscreensaver");
  };
  const std::string added = setUp(readme[0]);
  const std::string said = readFile(home + "/said");
  const size_t at = said.find("entry ");
  EXPECT_NE(at, std::string::npos) << said;
  const std::string entry = std::to_string(at == std::string::npos ? 0 : std::atoi(&said[at + 6]));
  // It restarts the daemon, which answers again once it is up.
  EXPECT_TRUE(waitFor(kPictureSeconds, [&] { return command("-select", entry); }));
  if (started(prefix + "/games/cryptwell") != 0) expectFlyThrough("ScreenSaver.SetUpForANewUser");
  EXPECT_TRUE(command("-deactivate"));
  EXPECT_EQ(setUp(readme[0]), added) << "a second run changed the file";
  EXPECT_EQ(setUp(readme[1]).find("cryptwell --root"), std::string::npos);
  EXPECT_EQ(setUp(readme[0]), added) << "the removal changed more than the entry";

  // Now a list that runs only the built program, under the leak checker.
  const std::string preload = preloadFor("");
  {
    std::ofstream settings(home + "/.xscreensaver");
    settings << "mode: one\nselected: 0\nlock: False\nsplash: False\nfade: False\n"
             << "programs: GL: env ASAN_OPTIONS=detect_leaks=1 " << preload << " " << programPath()
             << " --root \\n\n";
  }
  EXPECT_TRUE(waitFor(kPictureSeconds, [&] { return command("-activate"); }));
  const pid_t hack = started(programPath());
  if (hack != 0) {
    expectFlyThrough("ScreenSaver.UnderXscreensaver");
    EXPECT_TRUE(command("-deactivate"));
    // Ended within the limit. Its status is ours to read once xscreensaver's
    // drawing process, its parent, has gone; if that process reaped it first,
    // its log reports any end but a clean one.
    int status = -1;
    bool reapedHere = false;
    const auto gone = [&] {
      reapedHere = waitpid(hack, &status, WNOHANG) == hack;
      return reapedHere || access(("/proc/" + std::to_string(hack)).c_str(), F_OK) != 0;
    };
    const bool ended = waitFor(kEndAfterDeactivate, gone);
    EXPECT_TRUE(ended) << "still there " << kEndAfterDeactivate << " s after -deactivate";
    if (!ended) waitFor(kExitSeconds, gone);
    if (reapedHere) {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
    } else {
      const std::string log = readFile(home + "/log");
      const std::string pid = "pid " + std::to_string(hack);
      for (const char* unclean : {"abnormally", "crashed", "signal"}) {
        EXPECT_TRUE(log.find(pid) == std::string::npos ||
                    log.find(unclean, log.find(pid)) == std::string::npos)
            << unclean << " in xscreensaver's log:\n"
            << log;
      }
    }
  }
  stopChild(saver);
  while (waitpid(-1, nullptr, WNOHANG) > 0) {
  }
  prctl(PR_SET_CHILD_SUBREAPER, 0);
  // The program shares xscreensaver's console: every line there is xscreensaver's.
  std::istringstream log(readFile(home + "/log") + readFile(home + "/log.out"));
  for (std::string line; std::getline(log, line);) {
    const bool saversOwn = line.empty() || line[0] == '\t' || line.rfind("xscreensaver", 0) == 0;
    EXPECT_TRUE(saversOwn) << "printed under xscreensaver: " << line;
  }
  std::filesystem::remove_all(home);
}
