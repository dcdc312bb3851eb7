// What the fuzz targets share: the input as a file in memory that the real
// readers open by name, and the check that a message quoting input is safe.
#pragma once
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

struct MemoryFile {
  MemoryFile(const uint8_t* data, size_t size) : fd(memfd_create("fuzz", 0)) {
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size)) std::abort();
  }
  ~MemoryFile() { close(fd); }
  std::string path() const { return "/proc/self/fd/" + std::to_string(fd); }
  const int fd;
};

// Aborts, which the fuzzer reports with the input, unless `text` is printable
// ASCII of at most `maxLength` bytes, apart from a last newline.
inline void requireOneSafeLine(std::string text, size_t maxLength) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
  for (const char c : text) {
    if (c < 0x20 || c == 0x7f) std::abort();
  }
  if (text.size() > maxLength) std::abort();
}
