#include "gfx/textures.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/settings.h"

TextureSet textureSet = {};

namespace {
constexpr long kPixelDataOffset = 54;

// Channels are kept as read, so a byte missing from a short file is EOF (-1):
// stored it becomes 255, but it never reaches a threshold, and a pixel missing
// all three bytes has brightness -1, which is stored as alpha 255 as well.
uint8_t texelAlpha(int r, int g, int b, int alphaValue, int alphaThreshold) {
  if (alphaValue < 0) return static_cast<uint8_t>(static_cast<int>((r + g + b) / 3.0f));
  const bool lit = r >= alphaThreshold || g >= alphaThreshold || b >= alphaThreshold;
  return lit ? static_cast<uint8_t>(alphaValue) : 0;
}

GLuint loadTexture(const char* path, int edge, int alphaValue, int alphaThreshold, int mipmapped,
                   GLint mipmapFilter) {
  // The texel buffer lives only for this call (64 or 256 KiB, at start-up).
  std::vector<uint8_t> rgba(static_cast<size_t>(edge) * edge * 4);
  if (!readBmpPixels(path, edge, alphaValue, alphaThreshold, rgba.data())) return 0;

  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmapped != 0 ? mipmapFilter : GL_LINEAR);
  if (mipmapped != 0) {
    // Every level, the picture itself too: loading it first as well would
    // only be done twice.
    gluBuild2DMipmaps(GL_TEXTURE_2D, 4, edge, edge, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  } else {
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, edge, edge, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  }
  return name;
}
}  // namespace

bool readBmpPixels(const char* path, int edge, int alphaValue, int alphaThreshold, uint8_t* rgba) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  // A directory opens but cannot seek or read: it reads as a file of missing bytes.
  std::fseek(file, kPixelDataOffset, SEEK_SET);
  // A row at a time: a byte the file does not have reads as EOF, as from fgetc.
  std::vector<uint8_t> line(static_cast<size_t>(edge) * 3);
  for (int k = 0; k < edge; ++k) {
    const size_t got = std::fread(line.data(), 1, line.size(), file);
    const auto channel = [&](size_t i) { return i < got ? int(line[i]) : EOF; };
    uint8_t* row = rgba + static_cast<size_t>(edge - 1 - k) * edge * 4;
    for (int c = 0; c < edge; ++c) {
      const int b = channel(size_t(c) * 3);
      const int g = channel(size_t(c) * 3 + 1);
      const int r = channel(size_t(c) * 3 + 2);
      uint8_t* texel = row + c * 4;
      texel[0] = static_cast<uint8_t>(r);
      texel[1] = static_cast<uint8_t>(g);
      texel[2] = static_cast<uint8_t>(b);
      texel[3] = texelAlpha(r, g, b, alphaValue, alphaThreshold);
    }
  }
  std::fclose(file);
  return true;
}

GLuint drawingTexture(GLuint name) { return settings.textures != 0 ? name : 0; }

void spriteRadii(GLuint texture, float radii[kAlphaLevels]) {
  constexpr float kFilterMargin = 1.5f;  // texels reached by linear filtering
  std::fill(radii, radii + kAlphaLevels, kWholeSquare);
  if (texture == 0) return;
  GLint width = 0;
  GLint height = 0;
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  if (width <= 0 || height <= 0) return;
  // The read-back writes every texel of the level, width x height of them.
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  // The farthest texel of each alpha, then of each alpha and all above it.
  float farthest[kAlphaLevels] = {};  // texture units
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const uint8_t alpha = rgba[(static_cast<size_t>(row) * width + column) * 4 + 3];
      const float ds = (column + 0.5f) / width - 0.5f;
      const float dt = (row + 0.5f) / height - 0.5f;
      farthest[alpha] = std::max(farthest[alpha], std::sqrt(ds * ds + dt * dt));
    }
  }
  const float margin = kFilterMargin / std::min(width, height);
  float above = 0.0f;  // how far the texels with alpha above v reach
  for (int v = kAlphaLevels - 1; v >= 0; --v) {
    radii[v] = above + margin;
    above = std::max(above, farthest[v]);
  }
}

GLuint loadTexture128(const char* path, int alphaValue, int alphaThreshold, int mipmapped) {
  return loadTexture(path, 128, alphaValue, alphaThreshold, mipmapped, GL_NEAREST_MIPMAP_NEAREST);
}

GLuint loadTexture256(const char* path, int alphaValue, int alphaThreshold, int mipmapped) {
  return loadTexture(path, 256, alphaValue, alphaThreshold, mipmapped, GL_LINEAR_MIPMAP_NEAREST);
}
