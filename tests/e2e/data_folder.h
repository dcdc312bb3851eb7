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
  // Keeps only the first `bytes` bytes of a file already in the folder.
  bool truncate(const std::string& name, std::uintmax_t bytes);

 private:
  std::string path_;
};

// The six pictures and two sounds the program reads from its working folder.
const std::vector<std::string>& dataFileNames();
