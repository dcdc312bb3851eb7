// Temporary data folders for runs with missing or damaged files.
#include "e2e/data_folder.h"

#include <cstdlib>
#include <filesystem>

#include "e2e/program_run.h"

namespace fs = std::filesystem;

DataFolder::DataFolder() {
  char folder[] = "/tmp/cryptwell-data-XXXXXX";
  if (mkdtemp(folder) != nullptr) path_ = folder;
}

DataFolder::~DataFolder() {
  std::error_code ignored;
  if (!path_.empty()) fs::remove_all(path_, ignored);
}

bool DataFolder::copyFromProgram(const std::string& name) {
  std::error_code error;
  fs::copy_file(fs::path(programFolder()) / name, fs::path(path_) / name,
                fs::copy_options::overwrite_existing, error);
  return !error;
}

std::string DataFolder::copyProgram() {
  const fs::path from(programPath());
  const fs::path to = fs::path(path_) / from.filename();
  std::error_code error;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
  return error ? "" : to.string();
}

bool DataFolder::truncate(const std::string& name, std::uintmax_t bytes) {
  std::error_code error;
  fs::resize_file(fs::path(path_) / name, bytes, error);
  return !error;
}

const std::vector<std::string>& dataFileNames() {
  static const std::vector<std::string> names = {
      "font.bmp",    "smoke128.bmp",    "sphere128.bmp", "alien31_256.bmp",
      "dirt128.bmp", "alien69_256.bmp", "laser.wav",     "boom.wav"};
  return names;
}
