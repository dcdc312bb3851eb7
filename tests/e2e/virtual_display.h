// A private X server (Xvfb) of a known size for one test, on a display
// number no other test or developer uses at the same time; stopped when the
// object goes away.
#pragma once
#include <sys/types.h>

#include <string>

class VirtualDisplay {
 public:
  VirtualDisplay(int width, int height);
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  bool ready() const { return pid_ > 0; }
  const std::string& name() const { return name_; }  // ":N"
  const std::string& failure() const { return failure_; }

 private:
  bool tryStart(int number);

  int width_;
  int height_;
  pid_t pid_ = -1;
  std::string name_;
  std::string failure_;
};

// A display name that no X server answers to: a free number above those
// that VirtualDisplay and the scripts choose.
std::string displayWithoutServer();
