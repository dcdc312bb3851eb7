// Textures from the program's raw 24-bit BMP files, and the texture set.
// The loaders read exactly N x N pixels from byte 54 on (no header check),
// flip the rows, reverse B,G,R and compute alpha, then upload an RGBA texture.
// A file that cannot be opened gives texture name 0; a short file reads its
// missing bytes as 255, which count as below any alpha threshold.
#pragma once
#include <GL/gl.h>

#include <cstdint>

constexpr int kTextureSlots = 10;

struct TextureSet {
  GLuint names[kTextureSlots];
  int count;
};

extern TextureSet textureSet;

// Slots, in load order.
enum TextureSlot { FontSlot, SmokeSlot, SphereSlot, WallSlot, FloorSlot, CeilingSlot };

// Reads an N x N picture into rgba (N * N * 4 bytes). alphaValue < 0: alpha is
// the brightness (R + G + B) / 3; otherwise alphaValue where any channel is at
// or above alphaThreshold and 0 elsewhere. False when the file cannot be opened.
bool readBmpPixels(const char* path, int edge, int alphaValue, int alphaThreshold, uint8_t* rgba);

GLuint loadTexture128(const char* path, int alphaValue, int alphaThreshold, int mipmapped);
GLuint loadTexture256(const char* path, int alphaValue, int alphaThreshold, int mipmapped);

// Loads the six textures into the set, hands them to their users, installs the
// world's draw callbacks and sets the particle emitters' values.
void loadResources();
