// The program as a person gets it finds its pictures from any working
// folder: installed with cmake --install into a fresh prefix and started
// from a folder with no data files, or started from the build tree with the
// repository root as the working folder. Either way it draws the textured
// world, not the flat grey one of missing pictures.
#include <filesystem>
#include <string>

#include "e2e/data_folder.h"
#include "e2e/program_test.h"

namespace fs = std::filesystem;

namespace {
constexpr double kToolSeconds = 120.0;
// Key C's "Frame/Second Clock On" in real glyphs measures some 70 white
// pixels; without the font picture its solid boxes measure over 1500.
constexpr int kMinTextWhite = 20;
constexpr int kMaxGlyphWhite = 400;
// Textured walls: a third or more of the pixels step by more than 8 from
// their neighbour; smoothly shaded untextured walls: under 1 %.
constexpr int kDetailStep = 8;
constexpr double kMinDetail = 0.05;

// Debian's layout for games, under any prefix.
constexpr const char* kProgram = "games/cryptwell";
constexpr const char* kDataFolder = "share/games/cryptwell/";
constexpr const char* kDesktopEntry = "share/applications/org.example.cryptwell.desktop";
const char* const kInstalledFiles[] = {
    kProgram,
    kDesktopEntry,
    "share/metainfo/org.example.cryptwell.metainfo.xml",
    "share/icons/hicolor/16x16/apps/cryptwell.png",
    "share/icons/hicolor/256x256/apps/cryptwell.png",
    "share/man/man6/cryptwell.6.gz",
    "share/doc/cryptwell/copyright",
    "share/doc/cryptwell/changelog.gz",
    "share/xscreensaver/config/cryptwell.xml",
};
}  // namespace

class FoundData : public ProgramTest {
 protected:
  // The font picture was found (a message is drawn in glyphs) and so were
  // the surface pictures (the walls show their fine detail).
  void expectTexturedWorld() {
    typeText("c");
    const ScreenImage message = captureWhen("message", [](const ScreenImage& p) {
      return p.whitePixels(layout::kFirstMessage) >= kMinTextWhite;
    });
    EXPECT_GE(message.whitePixels(layout::kFirstMessage), kMinTextWhite) << "no message";
    EXPECT_LT(message.whitePixels(layout::kFirstMessage), kMaxGlyphWhite) << "text in solid boxes";
    // On a loaded machine the frame on screen may still be a dim one of the
    // fade-in, or show a stretch of floor: the walls' detail is waited for.
    waitUntil(kFadeInSeconds);
    const ScreenImage scene = captureWhen("scene", [](const ScreenImage& p) {
      return p.detailFraction(layout::kLowerScene, kDetailStep) > kMinDetail;
    });
    EXPECT_GT(scene.detailFraction(layout::kLowerScene, kDetailStep), kMinDetail)
        << "untextured walls";
    ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kConditionSeconds));
    expectQuietConsole();
  }

  // Runs a tool to its end; fails the test unless it ends with status 0.
  void runTool(const std::vector<std::string>& arguments, const std::string& logFolder) {
    ChildCommand command;
    command.arguments = arguments;
    command.stdoutPath = logFolder + "/stdout";
    command.stderrPath = logFolder + "/stderr";
    const ChildEnd end = runChild(command, kToolSeconds);
    EXPECT_TRUE(end.exited && end.status == 0)
        << arguments[0] << ": " << describe(end) << "\n"
        << readFile(command.stdoutPath) << readFile(command.stderrPath);
  }
};

TEST_F(FoundData, InstalledProgramFindsItsDataFromAnEmptyFolder) {
  DataFolder scratch;
  ASSERT_FALSE(scratch.path().empty());
  const std::string prefix = scratch.path() + "/prefix";
  const std::string empty = scratch.path() + "/work";
  ASSERT_TRUE(fs::create_directory(empty));
  ASSERT_NO_FATAL_FAILURE(runTool(
      {CRYPTWELL_CMAKE, "--install", CRYPTWELL_BUILD_DIR, "--prefix", prefix}, scratch.path()));
  for (const char* file : kInstalledFiles) EXPECT_TRUE(fs::is_regular_file(prefix + "/" + file));
  for (const std::string& name : dataFileNames())
    EXPECT_TRUE(fs::is_regular_file(prefix + "/" + kDataFolder + name)) << name;

  runTool({DESKTOP_FILE_VALIDATE, prefix + "/" + kDesktopEntry}, scratch.path());
  EXPECT_EQ(readFile(scratch.path() + "/stdout") + readFile(scratch.path() + "/stderr"), "")
      << "desktop-file-validate has remarks";
  runTool({"/usr/bin/xmllint", "--noout", prefix + "/share/xscreensaver/config/cryptwell.xml"},
          scratch.path());
  EXPECT_EQ(readFile(scratch.path() + "/stderr"), "") << "the locker's settings file is malformed";

  ASSERT_NO_FATAL_FAILURE(startProgram(empty, {}, prefix + "/" + kProgram));
  expectTexturedWorld();
}

TEST_F(FoundData, BuiltProgramFindsItsDataFromTheRepositoryRoot) {
  ASSERT_FALSE(fs::exists(CRYPTWELL_SOURCE_DIR "/font.bmp")) << "the repository holds a picture";
  ASSERT_NO_FATAL_FAILURE(startProgram(CRYPTWELL_SOURCE_DIR));
  expectTexturedWorld();
}
