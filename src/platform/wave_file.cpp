#include "platform/wave_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace {
// The effects last a second or less; a file larger than this is not one of
// them and is refused before it is read.
constexpr off_t kMaxFileBytes = 4 << 20;
constexpr size_t kHeaderBytes = 12;  // "RIFF", the chunk size, "WAVE"

bool readAll(int fd, uint8_t* into, size_t length) {
  while (length > 0) {
    const ssize_t got = read(fd, into, length);
    if (got <= 0) return false;
    into += got;
    length -= size_t(got);
  }
  return true;
}
}  // namespace

bool readWaveFile(const char* path, std::vector<uint8_t>& bytes) {
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat file{};
  bool good = fstat(fd, &file) == 0 && S_ISREG(file.st_mode) &&
              file.st_size >= off_t(kHeaderBytes) && file.st_size <= kMaxFileBytes;
  if (good) {
    bytes.resize(size_t(file.st_size));
    good = readAll(fd, bytes.data(), kHeaderBytes) && std::memcmp(&bytes[0], "RIFF", 4) == 0 &&
           std::memcmp(&bytes[8], "WAVE", 4) == 0 &&
           readAll(fd, bytes.data() + kHeaderBytes, bytes.size() - kHeaderBytes);
  }
  close(fd);
  return good;
}
