// Data file lookup: the search folders and the first regular, readable hit.
#include "platform/data_files.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace {
// Where the install puts the data files, seen from the executable's folder
// (../share/games/cryptwell from games/ in the usual layout); the build
// works it out from the install folders it was configured with.
constexpr const char* kInstalledDataFolder = "/" CRYPTWELL_DATA_FROM_BIN;

char dataFolder[PATH_MAX] = "";

// The folder of the running executable, or "" when the kernel will not say.
std::string executableFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  path[length] = '\0';
  std::string folder(path);
  const std::string::size_type slash = folder.rfind('/');
  if (slash == std::string::npos) return "";
  return slash == 0 ? "/" : folder.substr(0, slash);
}

bool isReadableFile(const std::string& path) {
  struct stat info;
  // Checked before opening: opening a FIFO for reading would wait for a writer.
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  close(fd);
  return true;
}
}  // namespace

void setDataFolder(const char* folder) {
  std::snprintf(dataFolder, sizeof dataFolder, "%s", folder != nullptr ? folder : "");
}

std::vector<std::string> dataSearchFolders() {
  std::vector<std::string> folders;
  if (dataFolder[0] != '\0') folders.emplace_back(dataFolder);
  folders.emplace_back("");
  const std::string own = executableFolder();
  if (!own.empty()) {
    folders.push_back(own);
    folders.push_back(own + kInstalledDataFolder);
  }
  return folders;
}

std::string findFileIn(const std::vector<std::string>& folders, const char* name) {
  for (const std::string& folder : folders) {
    const std::string path = folder.empty() ? name : folder + "/" + name;
    if (isReadableFile(path)) return path;
  }
  return name;
}

std::string findDataFile(const char* name) { return findFileIn(dataSearchFolders(), name); }
