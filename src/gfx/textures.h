// Textures from the program's raw 24-bit BMP files, and the texture set.
// The loaders read exactly N x N pixels from byte 54 on (no header check),
// flip the rows, reverse B,G,R and compute alpha, then upload an RGBA texture.
// A file that cannot be opened gives texture name 0; in a short file each
// missing byte gives the channel 255 and, on its own, no alpha.
#pragma once
#include <GL/gl.h>

#include <cstdint>

constexpr int kTextureSlots = 10;
constexpr float kWholeSquare = 1.0f;  // a sprite radius that keeps the whole square

struct TextureSet {
  GLuint names[kTextureSlots];
  int count;
};

extern TextureSet textureSet;

// Slots, in load order.
enum TextureSlot { FontSlot, SmokeSlot, SphereSlot, WallSlot, FloorSlot, CeilingSlot };
// The picture each slot is loaded from.
constexpr const char* kPictureFiles[] = {"font.bmp",        "smoke128.bmp", "sphere128.bmp",
                                         "alien31_256.bmp", "dirt128.bmp",  "alien69_256.bmp"};
constexpr int kPictureFileCount = sizeof kPictureFiles / sizeof kPictureFiles[0];

// Reads an N x N picture into rgba (N * N * 4 bytes). alphaValue < 0: alpha is
// the brightness (R + G + B) / 3; otherwise alphaValue where any channel is at
// or above alphaThreshold and 0 elsewhere. False when the file cannot be opened.
bool readBmpPixels(const char* path, int edge, int alphaValue, int alphaThreshold, uint8_t* rgba);

GLuint loadTexture128(const char* path, int alphaValue, int alphaThreshold, int mipmapped);
GLuint loadTexture256(const char* path, int alphaValue, int alphaThreshold, int mipmapped);

// The texture to draw a surface with: `name` itself, or none while key T has
// texturing off, which gives the flat colours a missing picture gives.
GLuint drawingTexture(GLuint name);

// For each texel alpha v (0 to 255): the distance from the centre, in
// texture units, beyond which no texel of the texture has alpha above v,
// with a margin for linear filtering; kWholeSquare throughout for a texture
// with no image, whose whole square shows.
constexpr int kAlphaLevels = 256;
void spriteRadii(GLuint texture, float radii[kAlphaLevels]);
