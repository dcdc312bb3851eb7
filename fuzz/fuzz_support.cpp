#include "fuzz_support.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

MemoryFile::MemoryFile(const uint8_t* data, size_t size) : fd_(memfd_create("fuzz", 0)) {
  if (fd_ < 0 || write(fd_, data, size) != static_cast<ssize_t>(size)) std::abort();
  path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() { close(fd_); }

void requireOneSafeLine(const std::string& text, size_t maxLength, bool newline) {
  const size_t body = newline ? text.size() - 1 : text.size();
  bool safe = text.size() <= maxLength && (!newline || (!text.empty() && text.back() == '\n'));
  for (size_t i = 0; safe && i < body; ++i) {
    safe = text[i] >= 0x20 && text[i] < 0x7f;
  }
  if (safe) return;
  std::fprintf(stderr, "unsafe message (%zu bytes)\n", text.size());
  std::abort();
}
