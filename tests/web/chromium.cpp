#include "web/chromium.h"

#include <fcntl.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace {
constexpr int kCallSeconds = 60;  // software WebGL on a busy machine is slow to answer

std::string base64Decode(const std::string& text) {
  static const std::string kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string bytes;
  int bits = 0;
  unsigned value = 0;
  for (const char c : text) {
    const size_t digit = kAlphabet.find(c);
    if (digit == std::string::npos) continue;  // padding, escaped slashes
    value = (value << 6) | static_cast<unsigned>(digit);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes.push_back(static_cast<char>((value >> bits) & 0xFF));
    }
  }
  return bytes;
}

// The text of a JSON message's first field of that name: a string's
// contents (escapes kept) or a number's or object's raw text.
std::string jsonField(const std::string& json, const std::string& name) {
  const std::string key = "\"" + name + "\":";
  size_t at = json.find(key);
  if (at == std::string::npos) return "";
  at += key.size();
  if (json[at] == '"') {
    size_t end = at + 1;
    while (end < json.size() && json[end] != '"') end += json[end] == '\\' ? 2 : 1;
    return json.substr(at + 1, end - at - 1);
  }
  int depth = 0;
  size_t end = at;
  for (; end < json.size(); ++end) {
    const char c = json[end];
    if (c == '{' || c == '[') ++depth;
    if ((c == '}' || c == ']') && depth-- == 0) break;
    if (c == ',' && depth == 0) break;
  }
  return json.substr(at, end - at);
}
}  // namespace

Chromium::~Chromium() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (toBrowser_ >= 0) close(toBrowser_);
  if (fromBrowser_ >= 0) close(fromBrowser_);
}

bool Chromium::start(int width, int height, const std::string& profileFolder) {
  signal(SIGPIPE, SIG_IGN);  // a browser that died fails the call instead
  int commands[2];
  int replies[2];
  if (pipe2(commands, O_CLOEXEC) != 0 || pipe2(replies, O_CLOEXEC) != 0) return false;
  pid_ = fork();
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The protocol's pipe: the browser reads descriptor 3 and writes 4. The
    // ends move above both first, as either may be 3 or 4 already; the
    // copies dup2 makes stay open across exec.
    const int reads = fcntl(commands[0], F_DUPFD_CLOEXEC, 5);
    const int writes = fcntl(replies[1], F_DUPFD_CLOEXEC, 5);
    dup2(reads, 3);
    dup2(writes, 4);
    const int quiet = ::open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    dup2(quiet, STDERR_FILENO);
    const std::string profile = "--user-data-dir=" + profileFolder;
    execlp("chromium", "chromium", "--headless", "--no-sandbox", "--enable-unsafe-swiftshader",
           "--use-angle=swiftshader", "--remote-debugging-pipe", "--no-first-run",
           profile.c_str(), "about:blank", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(commands[0]);
  close(replies[1]);
  toBrowser_ = commands[1];
  fromBrowser_ = replies[0];
  if (pid_ < 0) return false;
  const std::string target =
      jsonField(call("Target.createTarget", R"({"url":"about:blank"})", false), "targetId");
  session_ = jsonField(call("Target.attachToTarget",
                            R"({"targetId":")" + target + R"(","flatten":true})", false),
                       "sessionId");
  if (session_.empty()) return false;
  call("Runtime.enable", "{}");
  call("Log.enable", "{}");
  call("Emulation.setDeviceMetricsOverride",
       R"({"width":)" + std::to_string(width) + R"(,"height":)" + std::to_string(height) +
           R"(,"deviceScaleFactor":1,"mobile":false})");
  return !call("Page.enable", "{}").empty();
}

bool Chromium::open(const std::string& url) {
  return jsonField(call("Page.navigate", R"({"url":")" + url + R"("})"), "errorText").empty();
}

std::string Chromium::evaluate(const std::string& expression) {
  std::string quoted;
  for (const char c : expression) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  const std::string reply =
      call("Runtime.evaluate", R"({"expression":")" + quoted + R"(","returnByValue":true})");
  return jsonField(jsonField(reply, "result"), "value");
}

void Chromium::typeKey(const std::string& key) {
  const std::string text = key.size() == 1 ? R"(","text":")" + key : "";
  const std::string params = R"(","key":")" + key + text + R"("})";
  call("Input.dispatchKeyEvent", R"({"type":"keyDown)" + params);
  call("Input.dispatchKeyEvent", R"({"type":"keyUp)" + params);
}

ScreenImage Chromium::screenshot() {
  const std::string png =
      base64Decode(jsonField(call("Page.captureScreenshot", R"({"format":"png"})"), "data"));
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&image, png.data(), png.size()) == 0) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) return {};
  ScreenImage picture(static_cast<int>(image.width), static_cast<int>(image.height));
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const unsigned char* p = &rgb[(static_cast<size_t>(y) * image.width + x) * 3];
      picture.set(x, y, {p[0], p[1], p[2]});
    }
  }
  return picture;
}

const std::vector<std::string>& Chromium::errors() {
  evaluate("0");  // reads every event the page sent before it
  return errors_;
}

std::string Chromium::call(const std::string& method, const std::string& params, bool inPage) {
  const int id = nextId_++;
  std::string message = R"({"id":)" + std::to_string(id) + R"(,"method":")" + method +
                        R"(","params":)" + params;
  if (inPage) message += R"(,"sessionId":")" + session_ + "\"";
  message += '}';
  message += '\0';
  if (write(toBrowser_, message.data(), message.size()) != static_cast<ssize_t>(message.size())) {
    return "";
  }
  const std::string answer = R"({"id":)" + std::to_string(id) + ",";
  std::string reply;
  while (readMessage(&reply)) {
    if (reply.compare(0, answer.size(), answer) == 0) return reply;
    noteIfError(reply);
  }
  return "";
}

bool Chromium::readMessage(std::string* message) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kCallSeconds);
  for (;;) {
    const size_t end = unread_.find('\0');
    if (end != std::string::npos) {
      *message = unread_.substr(0, end);
      unread_.erase(0, end + 1);
      return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd reply{fromBrowser_, POLLIN, 0};
    if (left.count() <= 0 || poll(&reply, 1, static_cast<int>(left.count())) <= 0) return false;
    char chunk[1 << 16];
    const ssize_t got = read(fromBrowser_, chunk, sizeof chunk);
    if (got <= 0) return false;
    unread_.append(chunk, static_cast<size_t>(got));
  }
}

void Chromium::noteIfError(const std::string& event) {
  const std::string method = jsonField(event, "method");
  const bool consoleError =
      method == "Runtime.consoleAPICalled" && jsonField(event, "type") == "error";
  const bool logError = method == "Log.entryAdded" && jsonField(event, "level") == "error";
  if (consoleError || logError || method == "Runtime.exceptionThrown") errors_.push_back(event);
}
