// What the fuzz targets share: the input as a file that the real readers
// open by name, and the check that a message quoting input is safe to show.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The bytes as a file in memory, named by a path that opens it.
class MemoryFile {
 public:
  MemoryFile(const uint8_t* data, size_t size);
  ~MemoryFile();
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  const char* path() const { return path_.c_str(); }

 private:
  int fd_;
  std::string path_;
};

// Aborts, which the fuzzer reports with the input, unless `text` is printable
// ASCII of at most `maxLength` bytes (and, with `newline`, ends in the one
// newline it holds).
void requireOneSafeLine(const std::string& text, size_t maxLength, bool newline);
