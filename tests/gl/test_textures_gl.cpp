// Textures as GL holds them after loading: texels read back against the
// bytes of the file, filters and mipmaps per loader, and the texture set
// after loading the program's six pictures, also with one of them missing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "scene/resources.h"
#include "gfx/textures.h"
#include "particles/particles.h"
#include "support/state.h"
#include "text/text_renderer.h"
#include "world/regions.h"

namespace {

constexpr long kPixelOffset = 54;
constexpr int kSlots = 6;

struct Slot {
  const char* file;
  int edge;
  int alphaValue;  // negative: brightness
  int alphaThreshold;
  bool mipmapped;
};
// The six pictures in load order, with the alpha each is to get.
const Slot kSlotTable[kSlots] = {
    {"font.bmp", 128, -1, 0, false},      {"smoke128.bmp", 128, -1, 0, false},
    {"sphere128.bmp", 128, -1, 0, false}, {"alien31_256.bmp", 256, 250, 0, true},
    {"dirt128.bmp", 128, 250, 20, false}, {"alien69_256.bmp", 256, 250, 10, true},
};

std::vector<uint8_t> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Level `level` of a texture as RGBA bytes, rows from t = 0 up.
std::vector<uint8_t> texels(GLuint name, int level = 0) {
  glBindTexture(GL_TEXTURE_2D, name);
  GLint width = 0, height = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
  std::vector<uint8_t> out(static_cast<size_t>(width) * height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
  return out;
}

GLint parameter(GLuint name, GLenum which) {
  glBindTexture(GL_TEXTURE_2D, name);
  GLint value = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, which, &value);
  return value;
}

GLint levelWidth(GLuint name, int level) {
  glBindTexture(GL_TEXTURE_2D, name);
  GLint width = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
  return width;
}

// The texel a file pixel is to become, with the slot's alpha rule.
void expectedTexel(const std::vector<uint8_t>& file, const Slot& s, int row, int column,
                   uint8_t out[4]) {
  const size_t at = kPixelOffset + (static_cast<size_t>(s.edge - 1 - row) * s.edge + column) * 3;
  out[0] = file[at + 2];
  out[1] = file[at + 1];
  out[2] = file[at];
  if (s.alphaValue < 0) {
    out[3] = static_cast<uint8_t>((out[0] + out[1] + out[2]) / 3);
  } else {
    const int t = s.alphaThreshold;
    out[3] = (out[0] >= t || out[1] >= t || out[2] >= t) ? static_cast<uint8_t>(s.alphaValue) : 0;
  }
}

class TextureLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreProgramState();
    char pattern[] = "/tmp/cryptwell-textures-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }

  void TearDown() override {
    if (!loaded_.empty()) glDeleteTextures(static_cast<GLsizei>(loaded_.size()), loaded_.data());
    if (textureSet.count != 0) glDeleteTextures(textureSet.count, textureSet.names);
    textureSet = TextureSet{};
    screenText.fontTexture = 0;
    for (const std::string& f : files_) std::remove(f.c_str());
    rmdir(dir_.c_str());
    restoreProgramState();
  }

  std::string tempFile(const std::string& name) {
    files_.push_back(dir_ + "/" + name);
    return files_.back();
  }

  GLuint keep(GLuint name) {
    loaded_.push_back(name);
    return name;
  }

  std::string dir_;

 private:
  std::vector<std::string> files_;
  std::vector<GLuint> loaded_;
};

// A picture whose every pixel tells where it is stored: blue = file row,
// green = column, red = their sum.
std::vector<uint8_t> positionPicture(int edge) {
  std::vector<uint8_t> bytes(kPixelOffset, 0);
  for (int k = 0; k < edge; ++k) {
    for (int c = 0; c < edge; ++c) {
      bytes.push_back(static_cast<uint8_t>(k));
      bytes.push_back(static_cast<uint8_t>(c));
      bytes.push_back(static_cast<uint8_t>(k + c));
    }
  }
  return bytes;
}

TEST_F(TextureLoading, TheLastFileRowBecomesTextureRowZeroWithChannelsReversed) {
  for (int edge : {128, 256}) {
    SCOPED_TRACE(testing::Message() << "edge " << edge);
    const std::string path = tempFile("position" + std::to_string(edge) + ".bmp");
    writeFile(path, positionPicture(edge));
    const GLuint name = keep(edge == 128 ? loadTexture128(path.c_str(), -1, 0, 0)
                                         : loadTexture256(path.c_str(), -1, 0, 0));
    ASSERT_NE(name, 0u);
    ASSERT_EQ(levelWidth(name, 0), edge);
    const std::vector<uint8_t> t = texels(name);
    // Texel (row 0, column 0): the first pixel of the last file row.
    EXPECT_EQ(t[0], static_cast<uint8_t>(edge - 1));  // red = row + column
    EXPECT_EQ(t[1], 0);                               // green = column
    EXPECT_EQ(t[2], static_cast<uint8_t>(edge - 1));  // blue = file row
    for (int row = 0; row < edge; ++row) {
      for (int column = 0; column < edge; ++column) {
        const uint8_t* texel = &t[(static_cast<size_t>(row) * edge + column) * 4];
        const int fileRow = edge - 1 - row;
        ASSERT_EQ(texel[2], static_cast<uint8_t>(fileRow)) << row << "," << column;
        ASSERT_EQ(texel[1], static_cast<uint8_t>(column)) << row << "," << column;
        ASSERT_EQ(texel[0], static_cast<uint8_t>(fileRow + column)) << row << "," << column;
        ASSERT_EQ(texel[3], (texel[0] + texel[1] + texel[2]) / 3) << row << "," << column;
      }
    }
  }
}

TEST_F(TextureLoading, FiltersAndMipmapsFollowTheLoaderAndTheFlag) {
  const std::string small = tempFile("small.bmp");
  const std::string large = tempFile("large.bmp");
  writeFile(small, positionPicture(128));
  writeFile(large, positionPicture(256));
  struct Case {
    GLuint name;
    GLint minFilter;
    GLint levelOneWidth;
  };
  const Case cases[] = {
      {keep(loadTexture128(small.c_str(), 250, 0, 0)), GL_LINEAR, 0},
      {keep(loadTexture128(small.c_str(), 250, 0, 1)), GL_NEAREST_MIPMAP_NEAREST, 64},
      {keep(loadTexture256(large.c_str(), 250, 0, 0)), GL_LINEAR, 0},
      {keep(loadTexture256(large.c_str(), 250, 0, 1)), GL_LINEAR_MIPMAP_NEAREST, 128},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "texture " << c.name);
    ASSERT_NE(c.name, 0u);
    EXPECT_EQ(parameter(c.name, GL_TEXTURE_MIN_FILTER), c.minFilter);
    EXPECT_EQ(parameter(c.name, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(c.name, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(c.name, GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(levelWidth(c.name, 1), c.levelOneWidth);
  }
  // The whole chain down to one texel.
  EXPECT_EQ(levelWidth(cases[3].name, 8), 1);
  GLint mode = 0;
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
  EXPECT_EQ(mode, GL_MODULATE);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureLoading, AMissingFileGivesNameZeroAndCreatesNothing) {
  GLuint before = 0;
  glGenTextures(1, &before);
  keep(before);
  EXPECT_EQ(loadTexture128((dir_ + "/absent.bmp").c_str(), -1, 0, 0), 0u);
  EXPECT_EQ(loadTexture256((dir_ + "/absent.bmp").c_str(), 250, 0, 1), 0u);
  GLuint after = 0;
  glGenTextures(1, &after);
  keep(after);
  EXPECT_EQ(after, before + 1);  // no name was taken in between
}

TEST_F(TextureLoading, MissingBytesOfAShortFileReadAs255WithoutAlphaInThresholdMode) {
  // One whole pixel and a lone blue byte; everything after is missing.
  const std::string path = tempFile("short.bmp");
  std::vector<uint8_t> bytes(kPixelOffset, 0);
  bytes.insert(bytes.end(), {10, 20, 30, 40});
  writeFile(path, bytes);

  const std::vector<uint8_t> bright = texels(keep(loadTexture128(path.c_str(), -1, 0, 0)));
  const std::vector<uint8_t> masked = texels(keep(loadTexture128(path.c_str(), 250, 0, 0)));
  ASSERT_EQ(bright.size(), 128u * 128u * 4u);
  ASSERT_EQ(masked.size(), bright.size());
  // The first file row is the last texture row.
  const size_t first = static_cast<size_t>(127) * 128 * 4;
  const uint8_t whole[4] = {30, 20, 10, 20};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(bright[first + i], whole[i]) << "channel " << i;
  EXPECT_EQ(masked[first + 3], 250);

  // The second pixel has only its blue byte.
  EXPECT_EQ(bright[first + 4], 255);
  EXPECT_EQ(bright[first + 5], 255);
  EXPECT_EQ(bright[first + 6], 40);

  // Texel (0, 0), from the last file row, is missing entirely: white, opaque
  // by brightness, but below any threshold, so see-through in that mode.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(bright[i], 255) << "channel " << i;
  EXPECT_EQ(bright[3], 255);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(masked[i], 255) << "channel " << i;
  EXPECT_EQ(masked[3], 0);
}

TEST_F(TextureLoading, TheSixPicturesFillTheSetInOrderWithTheirAlphaRules) {
  loadResources();
  ASSERT_EQ(textureSet.count, kSlots);
  EXPECT_EQ(screenText.fontTexture, textureSet.names[FontSlot]);
  EXPECT_EQ(particleSystem.smokeTexture, textureSet.names[SmokeSlot]);
  EXPECT_EQ(particleSystem.sphereTexture, textureSet.names[SphereSlot]);
  for (int i = 0; i < 3; ++i) EXPECT_NE(worldObjects[i].draw, nullptr) << "region " << i;

  for (int slot = 0; slot < kSlots; ++slot) {
    const Slot& s = kSlotTable[slot];
    SCOPED_TRACE(s.file);
    const GLuint name = textureSet.names[slot];
    ASSERT_TRUE(glIsTexture(name));
    ASSERT_EQ(levelWidth(name, 0), s.edge);
    EXPECT_EQ(levelWidth(name, 1), s.mipmapped ? s.edge / 2 : 0);
    EXPECT_EQ(parameter(name, GL_TEXTURE_MIN_FILTER),
              s.mipmapped ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR);

    const std::vector<uint8_t> file = fileBytes(s.file);
    ASSERT_GE(file.size(), static_cast<size_t>(kPixelOffset + s.edge * s.edge * 3));
    const std::vector<uint8_t> t = texels(name);
    int differences = 0;
    for (int row = 0; row < s.edge; ++row) {
      for (int column = 0; column < s.edge; ++column) {
        uint8_t want[4];
        expectedTexel(file, s, row, column, want);
        const uint8_t* got = &t[(static_cast<size_t>(row) * s.edge + column) * 4];
        for (int i = 0; i < 4; ++i) differences += got[i] != want[i] ? 1 : 0;
      }
    }
    EXPECT_EQ(differences, 0);
  }
}

TEST_F(TextureLoading, AMissingPictureKeepsItsSlotAsNameZero) {
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  for (int slot = 0; slot < kSlots; ++slot) {
    if (slot == SphereSlot) continue;
    writeFile(tempFile(kSlotTable[slot].file), fileBytes(kSlotTable[slot].file));
  }
  ASSERT_EQ(chdir(dir_.c_str()), 0);
  loadResources();
  ASSERT_EQ(chdir(cwd), 0);

  ASSERT_EQ(textureSet.count, kSlots);
  EXPECT_EQ(textureSet.names[SphereSlot], 0u);
  EXPECT_EQ(particleSystem.sphereTexture, 0u);
  for (int slot = 0; slot < kSlots; ++slot) {
    if (slot != SphereSlot) {
      EXPECT_TRUE(glIsTexture(textureSet.names[slot])) << "slot " << slot;
    }
  }
  EXPECT_EQ(screenText.fontTexture, textureSet.names[FontSlot]);
}

}  // namespace

TEST_F(TextureLoading, ASpriteRadiusReadsEveryTexelOfATallTexture) {
  // 16 wide and 64 tall, clear but for one texel in the middle of the top
  // row: the read-back holds 16 x 64 texels, not 16 x 16.
  constexpr int kWidth = 16;
  constexpr int kHeight = 64;
  std::vector<uint8_t> rgba(kWidth * kHeight * 4, 0);
  rgba[((kHeight - 1) * kWidth + kWidth / 2) * 4 + 3] = 255;
  GLuint name = 0;
  glGenTextures(1, &name);
  keep(name);
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kWidth, kHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               rgba.data());

  // That texel's centre in texture units from the middle, plus the filter
  // margin of 1.5 texels of the shorter side.
  const double ds = (kWidth / 2 + 0.5) / kWidth - 0.5;
  const double dt = (kHeight - 0.5) / kHeight - 0.5;
  float radii[kAlphaLevels];
  spriteRadii(name, radii);
  for (int v : {0, 25, 254}) {
    EXPECT_NEAR(radii[v], std::sqrt(ds * ds + dt * dt) + 1.5 / kWidth, 1e-5) << v;
  }
  EXPECT_NEAR(radii[255], 1.5 / kWidth, 1e-5);  // no texel above 255: the margin alone
}
