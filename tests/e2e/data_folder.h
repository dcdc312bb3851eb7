// A temporary copy of the program's data files, to run the program from a
// folder where some of them are missing or damaged. Removed at the end.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class DataFolder {
 public:
  DataFolder();  // empty folder
  ~DataFolder();
  DataFolder(const DataFolder&) = delete;
  DataFolder& operator=(const DataFolder&) = delete;

  const std::string& path() const { return path_; }
  // Copies the named file from the program's folder; false if that failed.
  bool copyFromProgram(const std::string& name);
  // Copies the built program into the folder, so that the folder beside the
  // executable is this one; the copy's path, or "" if that failed.
  std::string copyProgram();
  // Keeps only the first `bytes` bytes of a file already in the folder.
  bool truncate(const std::string& name, std::uintmax_t bytes);

 private:
  std::string path_;
};

// The six pictures and two sounds the program reads.
const std::vector<std::string>& dataFileNames();
