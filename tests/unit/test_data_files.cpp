// Data file lookup: the order of the folders searched, and that only a
// readable regular file counts as found.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/data_files.h"

namespace fs = std::filesystem;

namespace {
enum Entry { None, File, Folder, Fifo };

void makeEntry(const fs::path& path, Entry entry) {
  switch (entry) {
    case None: break;
    case File: std::ofstream(path) << "data"; break;
    case Folder: fs::create_directory(path); break;
    case Fifo: ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); break;
  }
}

class DataFileLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/cryptwell-lookup-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    savedWorkingFolder_ = fs::current_path();
  }
  void TearDown() override {
    setDataFolder(nullptr);
    fs::current_path(savedWorkingFolder_);
    fs::remove_all(root_);
  }
  fs::path folder(const std::string& name) {
    fs::create_directories(root_ / name);
    return root_ / name;
  }

  fs::path root_;
  fs::path savedWorkingFolder_;
};

TEST_F(DataFileLookup, SearchesTheDataFolderWorkingFolderExecutableFolderThenInstalledData) {
  const std::string own = fs::read_symlink("/proc/self/exe").parent_path().string();
  const std::vector<std::string> installed = {"", own, own + "/../share/games/cryptwell"};
  EXPECT_EQ(dataSearchFolders(), installed);
  setDataFolder("/some/where");
  std::vector<std::string> withData = installed;
  withData.insert(withData.begin(), "/some/where");
  EXPECT_EQ(dataSearchFolders(), withData);
  setDataFolder("");
  EXPECT_EQ(dataSearchFolders(), installed);
}

TEST_F(DataFileLookup, FirstReadableRegularFileWinsAndOtherEntriesAreSkipped) {
  const struct {
    Entry first, second, third;
    int expected;  // index of the folder found, -1: the bare name
  } cases[] = {
      {File, File, File, 0}, {None, File, File, 1},    {Folder, File, None, 1},
      {Fifo, None, File, 2}, {Folder, Fifo, None, -1}, {None, None, None, -1},
  };
  const std::vector<std::string> folders = {folder("a"), folder("b"), folder("c")};
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    const std::string name = "picture" + std::to_string(i) + ".bmp";
    makeEntry(fs::path(folders[0]) / name, cases[i].first);
    makeEntry(fs::path(folders[1]) / name, cases[i].second);
    makeEntry(fs::path(folders[2]) / name, cases[i].third);
    const std::string expected =
        cases[i].expected < 0 ? name : folders[cases[i].expected] + "/" + name;
    EXPECT_EQ(findFileIn(folders, name.c_str()), expected);
  }
}

TEST_F(DataFileLookup, FindsTheDataFolderBeforeTheWorkingFolderBeforeTheExecutableFolder) {
  const fs::path own = fs::read_symlink("/proc/self/exe").parent_path();
  const fs::path data = folder("data");
  fs::current_path(folder("work"));
  // The unit tests lie beside the generated pictures.
  ASSERT_TRUE(fs::is_regular_file(own / "font.bmp"));
  EXPECT_EQ(findDataFile("font.bmp"), (own / "font.bmp").string());
  makeEntry("font.bmp", File);
  EXPECT_EQ(findDataFile("font.bmp"), "font.bmp");
  makeEntry(data / "font.bmp", File);
  setDataFolder(data.c_str());
  EXPECT_EQ(findDataFile("font.bmp"), (data / "font.bmp").string());
  EXPECT_EQ(findDataFile("nowhere.bmp"), "nowhere.bmp");
}
}  // namespace
