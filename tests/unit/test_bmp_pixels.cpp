// Reading the raw 24-bit pictures: byte order, row order, the two alpha
// rules, short files and files that are not there.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/textures.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kHeaderBytes = 54;
constexpr int kBrightness = -1;  // alphaValue that asks for alpha from brightness
constexpr int kLitAlpha = 250;

struct Texel {
  int r, g, b, a;
};

class BmpPixels : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(::testing::TempDir()) /
          ("cryptwell_bmp_" + std::to_string(getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  // A file of a header full of junk (which must be skipped) and the bytes given.
  std::string writeFile(const std::vector<uint8_t>& pixelBytes, size_t headerBytes = kHeaderBytes) {
    const std::string path = (dir / "picture.bmp").string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr);
    std::vector<uint8_t> bytes(headerBytes, 0x7f);
    if (headerBytes >= 2) bytes[0] = 'B', bytes[1] = 'M';
    bytes.insert(bytes.end(), pixelBytes.begin(), pixelBytes.end());
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
  }

  // Reads an edge x edge picture; texel (row, column) as the texture holds it.
  std::vector<uint8_t> read(const std::string& path, int edge, int alphaValue, int threshold) {
    std::vector<uint8_t> rgba(static_cast<size_t>(edge) * edge * 4, 0xab);
    EXPECT_TRUE(readBmpPixels(path.c_str(), edge, alphaValue, threshold, rgba.data()));
    return rgba;
  }
  static Texel at(const std::vector<uint8_t>& rgba, int edge, int row, int column) {
    const size_t i = (static_cast<size_t>(row) * edge + column) * 4;
    return {rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
  }
  // Alpha of a one-pixel picture of the given colour.
  int alphaOf(int r, int g, int b, int alphaValue, int threshold) {
    const std::vector<uint8_t> bgr = {static_cast<uint8_t>(b), static_cast<uint8_t>(g),
                                      static_cast<uint8_t>(r)};
    return at(read(writeFile(bgr), 1, alphaValue, threshold), 1, 0, 0).a;
  }

  fs::path dir;
};

void expectTexel(const Texel& t, int r, int g, int b, int a) {
  EXPECT_EQ(t.r, r);
  EXPECT_EQ(t.g, g);
  EXPECT_EQ(t.b, b);
  EXPECT_EQ(t.a, a);
}

TEST_F(BmpPixels, BytesAreBlueGreenRedAndTheFirstFileRowBecomesTheLast) {
  const std::vector<uint8_t> file = {1, 2, 3, 4,  5,  6,    // file row 0 (bottom of the picture)
                                     7, 8, 9, 10, 11, 12};  // file row 1
  const std::vector<uint8_t> rgba = read(writeFile(file), 2, kBrightness, 0);
  expectTexel(at(rgba, 2, 0, 0), 9, 8, 7, 8);
  expectTexel(at(rgba, 2, 0, 1), 12, 11, 10, 11);
  expectTexel(at(rgba, 2, 1, 0), 3, 2, 1, 2);
  expectTexel(at(rgba, 2, 1, 1), 6, 5, 4, 5);
}

TEST_F(BmpPixels, FullSizeRowsCarryNoPaddingAndEveryTexelIsLitWithThresholdZero) {
  constexpr int kEdge = 128;
  std::vector<uint8_t> file;
  for (int k = 0; k < kEdge; ++k) {
    for (int c = 0; c < kEdge; ++c) {
      file.push_back(static_cast<uint8_t>(k));          // blue: file row
      file.push_back(static_cast<uint8_t>(c));          // green: column
      file.push_back(static_cast<uint8_t>(k * 3 + c));  // red: both
    }
  }
  const std::vector<uint8_t> rgba = read(writeFile(file), kEdge, kLitAlpha, 0);
  for (int k = 0; k < kEdge; ++k) {
    for (int c = 0; c < kEdge; ++c) {
      const Texel t = at(rgba, kEdge, kEdge - 1 - k, c);
      ASSERT_EQ(t.b, k) << k << "," << c;
      ASSERT_EQ(t.g, c) << k << "," << c;
      ASSERT_EQ(t.r, (k * 3 + c) & 0xff) << k << "," << c;
      ASSERT_EQ(t.a, kLitAlpha) << "even the black texel at " << k << "," << c;
    }
  }
}

TEST_F(BmpPixels, BrightnessAlphaIsTheTruncatedMean) {
  EXPECT_EQ(alphaOf(255, 255, 254, kBrightness, 0), 254);
  EXPECT_EQ(alphaOf(1, 1, 0, kBrightness, 0), 0);
  EXPECT_EQ(alphaOf(0, 0, 0, kBrightness, 0), 0);
  EXPECT_EQ(alphaOf(255, 255, 255, kBrightness, 0), 255);
  EXPECT_EQ(alphaOf(200, 100, 0, kBrightness, 0), 100);
  // The threshold plays no part in brightness mode.
  EXPECT_EQ(alphaOf(3, 3, 3, kBrightness, 20), 3);
}

TEST_F(BmpPixels, ThresholdAlphaLightsATexelWithAnyChannelAtOrAboveIt) {
  EXPECT_EQ(alphaOf(0, 0, 0, kLitAlpha, 20), 0);
  EXPECT_EQ(alphaOf(19, 19, 19, kLitAlpha, 20), 0);
  EXPECT_EQ(alphaOf(20, 0, 0, kLitAlpha, 20), kLitAlpha);
  EXPECT_EQ(alphaOf(0, 20, 0, kLitAlpha, 20), kLitAlpha);
  EXPECT_EQ(alphaOf(0, 0, 20, kLitAlpha, 20), kLitAlpha);
  EXPECT_EQ(alphaOf(9, 9, 9, kLitAlpha, 10), 0);
  EXPECT_EQ(alphaOf(10, 0, 0, kLitAlpha, 10), kLitAlpha);
  EXPECT_EQ(alphaOf(0, 0, 10, kLitAlpha, 10), kLitAlpha);
  EXPECT_EQ(alphaOf(19, 19, 19, kLitAlpha, 10), kLitAlpha);
  // Colours pass unchanged whatever the alpha.
  const std::vector<uint8_t> bgr = {5, 6, 7};
  expectTexel(at(read(writeFile(bgr), 1, kLitAlpha, 20), 1, 0, 0), 7, 6, 5, 0);
}

TEST_F(BmpPixels, MissingBytesOfAShortFileRead255ButCountAsEndOfFileForAlpha) {
  // One whole black pixel, then only the blue byte of the next; file row 1 is absent.
  const std::vector<uint8_t> file = {0, 0, 0, 0};
  const std::string path = writeFile(file);

  // A missing channel never reaches a threshold.
  std::vector<uint8_t> rgba = read(path, 2, kLitAlpha, 20);
  expectTexel(at(rgba, 2, 1, 0), 0, 0, 0, 0);
  expectTexel(at(rgba, 2, 1, 1), 255, 255, 0, 0);
  expectTexel(at(rgba, 2, 0, 0), 255, 255, 255, 0);
  expectTexel(at(rgba, 2, 0, 1), 255, 255, 255, 0);

  // Brightness: (0 - 1 - 1) / 3 truncates to 0; a pixel with no bytes at all
  // has brightness -1, stored as 255.
  rgba = read(path, 2, kBrightness, 0);
  expectTexel(at(rgba, 2, 1, 0), 0, 0, 0, 0);
  expectTexel(at(rgba, 2, 1, 1), 255, 255, 0, 0);
  expectTexel(at(rgba, 2, 0, 1), 255, 255, 255, 255);

  // A present channel still does.
  const std::vector<uint8_t> brightBlue = {0, 0, 0, 200};
  expectTexel(at(read(writeFile(brightBlue), 2, kLitAlpha, 20), 2, 1, 1), 255, 255, 200, kLitAlpha);
}

TEST_F(BmpPixels, AFileShorterThanItsHeaderReadsAsAllMissing) {
  const std::vector<uint8_t> rgba = read(writeFile({}, 10), 2, kBrightness, 0);
  for (uint8_t byte : rgba) EXPECT_EQ(byte, 255);
}

TEST_F(BmpPixels, AMissingFileIsRefusedAndTheBufferLeftAlone) {
  std::vector<uint8_t> rgba(16, 0xab);
  const std::string path = (dir / "absent.bmp").string();
  EXPECT_FALSE(readBmpPixels(path.c_str(), 2, kBrightness, 0, rgba.data()));
  for (uint8_t byte : rgba) EXPECT_EQ(byte, 0xab);
}

TEST_F(BmpPixels, ADirectoryInPlaceOfTheFileReadsAsMissingBytes) {
  const fs::path sub = dir / "folder.bmp";
  fs::create_directory(sub);
  const std::vector<uint8_t> rgba = read(sub.string(), 2, kLitAlpha, 20);
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 2; ++column) {
      expectTexel(at(rgba, 2, row, column), 255, 255, 255, 0);
    }
  }
}

}  // namespace
