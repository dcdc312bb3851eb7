#include "platform/output_check.h"

#include <cerrno>
#include <cstring>

void reportWriteError(const char* what, int error) {
  const char* reason = error == EISDIR ? "is a folder"
                       : error != 0    ? std::strerror(error)
                                       : "the write failed";
  std::fprintf(stderr, "cryptwell: write error: %s: %s\n", what, reason);
}

bool flushChecked(std::FILE* stream, const char* what) {
  errno = 0;
  if (std::fflush(stream) == 0 && std::ferror(stream) == 0) return true;
  reportWriteError(what, errno);
  return false;
}

std::FILE* openForWriting(const char* path) {
  std::FILE* stream = std::fopen(path, "w");
  if (stream == nullptr) reportWriteError(path, errno);
  return stream;
}

bool closeChecked(std::FILE* stream, const char* what) {
  const bool flushed = flushChecked(stream, what);
  errno = 0;
  if (std::fclose(stream) == 0 || !flushed) return flushed;
  reportWriteError(what, errno);
  return false;
}
