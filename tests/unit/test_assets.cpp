// Runs the asset generator (twice, into fresh directories) and checks what the
// program relies on: valid BMP/WAV headers, byte-identical output, the glyph
// sheet layout the text renderer samples, black sprite borders, seamless
// tiling, sound lengths and levels, and icons that read back as PNGs.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kHeaderSize = 54;
constexpr int kWavHeaderSize = 44;
constexpr int kSampleRate = 22050;
constexpr int kCellWidth = 8;
constexpr int kCellHeight = 16;
constexpr int kFontColumns = 16;

const char* const kPictures[] = {"font.bmp",        "smoke128.bmp", "sphere128.bmp",
                                 "alien31_256.bmp", "dirt128.bmp",  "alien69_256.bmp"};
const char* const kSounds[] = {"laser.wav", "boom.wav"};
constexpr int kIconSizes[] = {CRYPTWELL_ICON_SIZES};
std::string iconName(int size) { return "cryptwell-" + std::to_string(size) + ".png"; }
const char* const kTiles[] = {"alien31_256.bmp", "dirt128.bmp", "alien69_256.bmp"};

using Bytes = std::vector<uint8_t>;

Bytes readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

uint32_t le(const Bytes& b, size_t at, int size) {
  uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = v << 8 | b.at(at + i);
  return v;
}

fs::path makeTempDir() {
  char pattern[] = "/tmp/make_assets_test_XXXXXX";
  return mkdtemp(pattern);
}

struct RunResult {
  int status;
  std::vector<std::string> errorLines;
};

RunResult runGenerator(const std::string& args, const fs::path& errorFile) {
  const std::string command =
      std::string(MAKE_ASSETS_PATH) + " " + args + " 2> " + errorFile.string();
  const int raw = std::system(command.c_str());
  RunResult result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, {}};
  std::ifstream err(errorFile);
  for (std::string line; std::getline(err, line);) result.errorLines.push_back(line);
  return result;
}

// A loaded picture, addressed in stored row order (row 0 = first row in the file).
struct Picture {
  Bytes bytes;
  int size;
  const uint8_t* at(int x, int y) const { return &bytes[kHeaderSize + (y * size + x) * 3]; }
  int maxChannel(int x, int y) const { return std::max({at(x, y)[0], at(x, y)[1], at(x, y)[2]}); }
  double luminance(int x, int y) const {
    return 0.114 * at(x, y)[0] + 0.587 * at(x, y)[1] + 0.299 * at(x, y)[2];  // stored B, G, R
  }
};

class GeneratedAssets : public ::testing::Test {
 protected:
  // Both output directories are new: the generator has to create them.
  static void SetUpTestSuite() {
    root_ = makeTempDir();
    first_ = root_ / "first";
    second_ = root_ / "second";
    firstRun_ = runGenerator(first_.string(), root_ / "first_stderr.txt");
    secondRun_ = runGenerator(second_.string(), root_ / "second_stderr.txt");
  }
  static void TearDownTestSuite() { fs::remove_all(root_); }
  static Picture picture(const std::string& name) {
    Bytes bytes = readFile(first_ / name);
    const int size = bytes.size() > kHeaderSize ? static_cast<int>(le(bytes, 18, 4)) : 0;
    EXPECT_EQ(bytes.size(), size_t(kHeaderSize + size * size * 3)) << name;
    return {std::move(bytes), size};
  }
  static std::vector<int16_t> samples(const std::string& name) {
    const Bytes bytes = readFile(first_ / name);
    std::vector<int16_t> out;
    for (size_t i = kWavHeaderSize; i + 1 < bytes.size(); i += 2)
      out.push_back(static_cast<int16_t>(le(bytes, i, 2)));
    return out;
  }

  static fs::path root_, first_, second_;
  static RunResult firstRun_, secondRun_;
};

fs::path GeneratedAssets::root_, GeneratedAssets::first_, GeneratedAssets::second_;
RunResult GeneratedAssets::firstRun_, GeneratedAssets::secondRun_;

TEST_F(GeneratedAssets, WritesAllFilesIdenticallyOnEveryRun) {
  ASSERT_EQ(firstRun_.status, 0);
  ASSERT_EQ(secondRun_.status, 0);
  EXPECT_TRUE(firstRun_.errorLines.empty());
  std::vector<std::string> names(std::begin(kPictures), std::end(kPictures));
  names.insert(names.end(), std::begin(kSounds), std::end(kSounds));
  for (int size : kIconSizes) names.push_back(iconName(size));
  for (const std::string& name : names) {
    const Bytes a = readFile(first_ / name);
    EXPECT_FALSE(a.empty()) << name;
    EXPECT_TRUE(a == readFile(second_ / name)) << name << " differs between runs";
  }
}

TEST_F(GeneratedAssets, PicturesHaveUncompressed24BitHeaders) {
  const int sizes[] = {128, 128, 128, 256, 128, 256};
  for (int i = 0; i < 6; ++i) {
    const Bytes b = readFile(first_ / kPictures[i]);
    const int n = sizes[i];
    SCOPED_TRACE(kPictures[i]);
    ASSERT_EQ(b.size(), size_t(kHeaderSize + n * n * 3));
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(le(b, 2, 4), b.size());                // file size
    EXPECT_EQ(le(b, 10, 4), uint32_t(kHeaderSize));  // pixel offset
    EXPECT_EQ(le(b, 14, 4), 40u);                    // info header size
    EXPECT_EQ(le(b, 18, 4), uint32_t(n));            // width
    EXPECT_EQ(le(b, 22, 4), uint32_t(n));            // height, positive
    EXPECT_EQ(le(b, 26, 2), 1u);                     // planes
    EXPECT_EQ(le(b, 28, 2), 24u);                    // bits per pixel
    EXPECT_EQ(le(b, 30, 4), 0u);                     // BI_RGB
    EXPECT_EQ(le(b, 46, 4), 0u);                     // no palette
  }
}

// Brightest channel in the given rows and columns of the glyph cell for `code`.
int cellBrightest(const Picture& font, int code, int rowFrom = 0, int rowTo = kCellHeight - 1,
                  int colFrom = 0, int colTo = kCellWidth - 1) {
  const int index = code - 32;
  const int x0 = (index % kFontColumns) * kCellWidth;
  const int y0 = (index / kFontColumns) * kCellHeight;
  int brightest = 0;
  for (int y = rowFrom; y <= rowTo; ++y)
    for (int x = colFrom; x <= colTo; ++x)
      brightest = std::max(brightest, font.maxChannel(x0 + x, y0 + y));
  return brightest;
}

bool cellHasInk(const Picture& font, int code, int rowFrom, int rowTo, int colFrom, int colTo) {
  return cellBrightest(font, code, rowFrom, rowTo, colFrom, colTo) > 0;
}

TEST_F(GeneratedAssets, FontSheetKeepsGlyphsInsideTheSampledBox) {
  const Picture font = picture("font.bmp");
  ASSERT_EQ(font.size, 128);
  for (int code = 32; code < 32 + 128; ++code) {
    SCOPED_TRACE(code);
    EXPECT_FALSE(cellHasInk(font, code, 0, 1, 0, kCellWidth - 1)) << "stored rows 0-1 lit";
    EXPECT_FALSE(cellHasInk(font, code, 0, kCellHeight - 1, 0, 1)) << "columns 0-1 lit";
    const bool printable = code > 32 && code < 127;
    EXPECT_EQ(cellHasInk(font, code, 0, kCellHeight - 1, 0, kCellWidth - 1), printable);
  }
}

TEST_F(GeneratedAssets, FontGlyphsAreUprightWithRoomForDescenders) {
  const Picture font = picture("font.bmp");
  ASSERT_EQ(font.size, 128);
  // The glyphs use the box's full height: capitals start in its top two
  // rows and stop at the baseline, descenders reach its bottom row.
  for (char c : std::string("HTEM")) {
    SCOPED_TRACE(c);
    EXPECT_TRUE(cellHasInk(font, c, 2, 3, 2, 7));
    EXPECT_FALSE(cellHasInk(font, c, 13, 15, 0, 7));
  }
  for (char c : std::string("gjpqy")) {
    SCOPED_TRACE(c);
    EXPECT_TRUE(cellHasInk(font, c, 15, 15, 2, 7)) << "descender missing or too short";
  }
  for (char c : std::string("gpqy")) {
    SCOPED_TRACE(c);
    EXPECT_FALSE(cellHasInk(font, c, 2, 3, 0, 7)) << "x-height glyph reaches the top";
  }
  // Glyphs are white on black, so a solid stem reaches near full brightness.
  EXPECT_GE(cellBrightest(font, 'H'), 240);
}

TEST_F(GeneratedAssets, GlowSpritesFadeToBlackBeforeTheirBorders) {
  for (const char* name : {"smoke128.bmp", "sphere128.bmp"}) {
    SCOPED_TRACE(name);
    const Picture p = picture(name);
    ASSERT_EQ(p.size, 128);
    constexpr int kBorder = 4;
    int litBorder = 0;
    for (int y = 0; y < p.size; ++y)
      for (int x = 0; x < p.size; ++x) {
        const bool border = std::min({x, y, p.size - 1 - x, p.size - 1 - y}) < kBorder;
        if (border && p.maxChannel(x, y) > 0) ++litBorder;
      }
    EXPECT_EQ(litBorder, 0);
    // Mean brightness of rings around the centre must fall outwards.
    auto ringMean = [&](double from, double to) {
      double sum = 0;
      int count = 0;
      for (int y = 0; y < p.size; ++y)
        for (int x = 0; x < p.size; ++x) {
          const double r = std::hypot(x + 0.5 - 64, y + 0.5 - 64) / 64;
          if (r >= from && r < to) sum += p.luminance(x, y), ++count;
        }
      return sum / count;
    };
    const double centre = ringMean(0, 0.1), middle = ringMean(0.3, 0.4), outer = ringMean(0.7, 0.8);
    EXPECT_GT(centre, 150);
    EXPECT_GT(centre, middle);
    EXPECT_GT(middle, outer);
  }
}

TEST_F(GeneratedAssets, SurfaceTexturesTileWithoutSeamsAndReadInFog) {
  for (const char* name : kTiles) {
    SCOPED_TRACE(name);
    const Picture p = picture(name);
    ASSERT_GT(p.size, 0);
    const int n = p.size;
    // Mean colour difference between two columns (or two rows).
    auto lineDiff = [&](int a, int b, bool columns) {
      double sum = 0;
      for (int i = 0; i < n; ++i) {
        const uint8_t* pa = columns ? p.at(a, i) : p.at(i, a);
        const uint8_t* pb = columns ? p.at(b, i) : p.at(i, b);
        for (int c = 0; c < 3; ++c) sum += std::abs(pa[c] - pb[c]);
      }
      return sum / (n * 3);
    };
    double neighbours = 0, unrelated = 0;
    for (int i = 0; i < n; ++i) {
      if (i + 1 < n)
        neighbours += (lineDiff(i, i + 1, true) + lineDiff(i, i + 1, false)) / (2 * (n - 1));
      unrelated +=
          (lineDiff(i, (i + n / 2) % n, true) + lineDiff(i, (i + n / 2) % n, false)) / (2 * n);
    }
    // Without this contrast a seam would be invisible to the check below.
    ASSERT_GT(unrelated, 1.3 * neighbours);
    // Across the wrap, the last and first lines must look like neighbours.
    const double limit = (neighbours + unrelated) / 2;
    EXPECT_LT(lineDiff(n - 1, 0, true), limit) << "left/right seam";
    EXPECT_LT(lineDiff(n - 1, 0, false), limit) << "top/bottom seam";

    double mean = 0;
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) mean += p.luminance(x, y);
    mean /= n * n;
    EXPECT_GT(mean, 90);
    EXPECT_LT(mean, 165);
  }
}

TEST_F(GeneratedAssets, DirtHasScatteredNearBlackSpecks) {
  const Picture dirt = picture("dirt128.bmp");
  ASSERT_EQ(dirt.size, 128);
  int specks = 0;
  for (int y = 0; y < dirt.size; ++y)
    for (int x = 0; x < dirt.size; ++x)
      if (dirt.maxChannel(x, y) < 20) ++specks;
  EXPECT_GE(specks, 20);
  EXPECT_LT(specks, dirt.size * dirt.size / 50);
}

TEST_F(GeneratedAssets, SoundsAreShortUnclippedMonoPcm) {
  for (const char* name : kSounds) {
    SCOPED_TRACE(name);
    const Bytes b = readFile(first_ / name);
    ASSERT_GT(b.size(), size_t(kWavHeaderSize));
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(le(b, 4, 4), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(le(b, 16, 4), 16u);  // fmt chunk size
    EXPECT_EQ(le(b, 20, 2), 1u);   // PCM
    EXPECT_EQ(le(b, 22, 2), 1u);   // mono
    EXPECT_EQ(le(b, 24, 4), uint32_t(kSampleRate));
    EXPECT_EQ(le(b, 28, 4), uint32_t(kSampleRate * 2));
    EXPECT_EQ(le(b, 32, 2), 2u);   // block align
    EXPECT_EQ(le(b, 34, 2), 16u);  // bits per sample
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    EXPECT_EQ(le(b, 40, 4), b.size() - kWavHeaderSize);

    const std::vector<int16_t> s = samples(name);
    ASSERT_FALSE(s.empty());
    int peak = 0;
    for (int16_t v : s) peak = std::max(peak, std::abs(int(v)));
    EXPECT_LT(peak, 32767) << "clipped";
    EXPECT_GT(peak, 8000) << "too quiet";
    // Starting and ending near zero avoids audible clicks.
    EXPECT_LT(std::abs(int(s.front())), 330);
    EXPECT_LT(std::abs(int(s.back())), 330);
  }
  const double laserSeconds = samples("laser.wav").size() / double(kSampleRate);
  const double boomSeconds = samples("boom.wav").size() / double(kSampleRate);
  EXPECT_LT(laserSeconds, 0.3);
  EXPECT_GT(laserSeconds, 0.05);
  EXPECT_GE(boomSeconds, 0.7);
  EXPECT_LE(boomSeconds, 1.5);
}

TEST_F(GeneratedAssets, IconsReadBackAsRgbaPngsWithTransparentCornersAndAFireAtEverySize) {
  for (const int size : kIconSizes) {
    SCOPED_TRACE(iconName(size));
    png_image header{};
    header.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&header, (first_ / iconName(size)).c_str()), 0)
        << header.message;
    EXPECT_EQ(header.width, png_uint_32(size));
    EXPECT_EQ(header.height, png_uint_32(size));
    header.format = PNG_FORMAT_RGBA;
    Bytes rgba(PNG_IMAGE_SIZE(header));
    ASSERT_NE(png_image_finish_read(&header, nullptr, rgba.data(), 0, nullptr), 0)
        << header.message;
    auto at = [&](int x, int y) { return &rgba[(y * size + x) * 4]; };
    for (int corner : {0, size - 1}) {
      EXPECT_EQ(at(corner, 0)[3], 0);
      EXPECT_EQ(at(corner, size - 1)[3], 0);
    }
    int fire = 0;  // opaque, bright and warm
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const uint8_t* p = at(x, y);
        fire += p[3] == 255 && p[0] > 200 && p[0] > p[2] + 100 ? 1 : 0;
      }
    EXPECT_GT(fire, size * size / 50) << "a fire that shows at this size";
  }
}

TEST(MakeAssetsErrors, FailsWithOneLineWhenFontOrOutputIsUnusable) {
  const fs::path dir = makeTempDir();
  const RunResult noFont = runGenerator(
      (dir / "out").string() + " " + (dir / "missing.ttf").string(), dir / "font_err.txt");
  EXPECT_NE(noFont.status, 0);
  EXPECT_EQ(noFont.errorLines.size(), 1u);

  std::ofstream(dir / "plain_file") << "x";
  const RunResult noDir = runGenerator((dir / "plain_file" / "out").string(), dir / "dir_err.txt");
  EXPECT_NE(noDir.status, 0);
  EXPECT_EQ(noDir.errorLines.size(), 1u);
  fs::remove_all(dir);
}

}  // namespace
