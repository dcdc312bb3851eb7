// Headless Chromium driven over its DevTools protocol through a pipe
// (--remote-debugging-pipe): one page, the few calls the tests need, and
// the errors the page reported to its console.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

#include "e2e/screen_image.h"

class Chromium {
 public:
  ~Chromium();
  // Starts the browser with one page of the given size; false if it fails.
  bool start(int width, int height, const std::string& profileFolder);
  bool open(const std::string& url);
  // The value of a JavaScript expression in the page, as JSON ("" on failure).
  std::string evaluate(const std::string& expression);
  // Presses and releases a key: one that types a character, or one named
  // as the DOM names it ("Escape").
  void typeKey(const std::string& key);
  ScreenImage screenshot();
  // Console errors, uncaught exceptions and failed loads, so far.
  const std::vector<std::string>& errors();

 private:
  std::string call(const std::string& method, const std::string& params, bool inPage = true);
  bool readMessage(std::string* message);
  void noteIfError(const std::string& event);

  pid_t pid_ = -1;
  int toBrowser_ = -1;
  int fromBrowser_ = -1;
  int nextId_ = 1;
  std::string session_;
  std::string unread_;
  std::vector<std::string> errors_;
};
