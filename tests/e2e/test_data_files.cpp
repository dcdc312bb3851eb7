// Runs from a folder where the data files are missing or cut short: the
// program must still start, draw and animate its frames (untextured where a
// picture is missing), fire, and end cleanly on ESC with nothing printed and
// no sanitizer report. The program runs as a copy placed in that folder, so
// the folder beside the executable holds the same missing or damaged files
// and no installed data lies beside it.
#include <filesystem>

#include "e2e/data_folder.h"
#include "e2e/program_test.h"

namespace {
constexpr std::uintmax_t kShortFile = 100;        // not even a whole header
constexpr std::uintmax_t kShortFont = 54 + 1000;  // a header and a few rows of pixels
constexpr double kAnimationLook = 0.5;
constexpr double kMinChanged = 0.02;
constexpr double kFireSeconds = 0.6;
constexpr unsigned kLeftButton = 1;
// Without the font picture each glyph is a solid white box, so the hint's
// line is mostly white, where real glyphs leave it mostly dark.
constexpr double kMinSolidGlyphShare = 0.5;
constexpr int kHintGlyphs = 23;
constexpr double kHintSeconds = 2.9;  // characters of the hint that are not spaces
}  // namespace

class DataFiles : public ProgramTest {
 protected:
  // Starts a copy of the program placed in `folder`, from that folder.
  void startCopyIn(DataFolder& folder) {
    const std::string program = folder.copyProgram();
    ASSERT_FALSE(program.empty());
    ASSERT_FALSE(std::filesystem::exists(folder.path() + "/../share/games/cryptwell"));
    ASSERT_NO_FATAL_FAILURE(startProgram(folder.path(), {}, program));
  }

  // The picture moves on by itself, and the program survives a burst of fire.
  void expectAnimatedAndFiring() {
    waitUntil(kFadeInSeconds);
    const ScreenImage a = capture("running");
    pause(kAnimationLook);
    const ScreenImage b = capture("running-later");
    EXPECT_GT(b.litFraction(layout::kLowerScene), 0.5) << "a lit scene";
    EXPECT_GT(b.changedFraction(a, b.whole(), kLitThreshold), kMinChanged) << "frames keep coming";
    pressButton(kLeftButton);
    pause(kFireSeconds);
    releaseButton(kLeftButton);
    ASSERT_NO_FATAL_FAILURE(expectRunning());
  }
};

TEST_F(DataFiles, EveryFileMissingStillRunsUntexturedAndQuitsCleanly) {
  DataFolder empty;
  ASSERT_FALSE(empty.path().empty());
  ASSERT_NO_FATAL_FAILURE(startCopyIn(empty));
  const ScreenImage hint = capture("hint-untextured");
  ASSERT_LT(secondsSinceStart(), kHintSeconds) << "the first picture came after the hint's time";
  const int hintArea = kHintGlyphs * 10 * 20;  // glyph boxes of 10 x 20 pixels
  EXPECT_GT(hint.whitePixels(layout::kFirstMessage), kMinSolidGlyphShare * hintArea)
      << "text without its font picture is drawn as solid boxes";
  ASSERT_NO_FATAL_FAILURE(expectAnimatedAndFiring());
  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kConditionSeconds));
  expectQuietConsole();
}

TEST_F(DataFiles, TruncatedFilesDoNotCrashTheProgram) {
  DataFolder damaged;
  ASSERT_FALSE(damaged.path().empty());
  for (const std::string& name : dataFileNames()) {
    ASSERT_TRUE(damaged.copyFromProgram(name)) << name;
    ASSERT_TRUE(damaged.truncate(name, name == "font.bmp" ? kShortFont : kShortFile)) << name;
  }
  ASSERT_NO_FATAL_FAILURE(startCopyIn(damaged));
  ASSERT_NO_FATAL_FAILURE(expectAnimatedAndFiring());
  ASSERT_NO_FATAL_FAILURE(quitAndExpectCleanExit(kConditionSeconds));
  expectQuietConsole();
}
