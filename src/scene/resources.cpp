#include "scene/resources.h"

#include <string>

#include "gfx/textures.h"
#include "particles/particles.h"
#include "platform/data_files.h"
#include "platform/sound.h"
#include "text/text_renderer.h"
#include "world/regions.h"
#include "world/tunnel.h"

namespace {
constexpr int kBrightnessAlpha = -1;  // alpha from each texel's brightness
constexpr int kSurfaceAlpha = 250;

GLuint keep(GLuint name) {
  if (textureSet.count == kTextureSlots) return name;  // a second loading finds the set full
  textureSet.names[textureSet.count] = name;
  textureSet.count += 1;  // a failed load (name 0) still takes its slot
  return name;
}

void setEmitters() {
  ParticleSystem& p = particleSystem;
  p.emitInterval[Smoke] = 0.1f;
  p.emitInterval[LaserBolt] = 0.05f;
  p.emitInterval[AlienShot] = 0.2f;
  for (int kind : kGameKinds) p.gravity[kind] = 0.0f;
  p.spread[Flame] = 0.2f;
  p.spread[Smoke] = 0.1f;
  p.baseSize[Flame] = 0.4f;
  p.baseSize[Smoke] = 0.1f;
  p.lifeSpan[Flame] = 2.0f;
  p.lifeSpan[Smoke] = 4.0f;
  p.growth[Flame] = 0.1f;
  p.growth[Smoke] = 0.05f;
  p.windY[Flame] = 2.0f;
  p.windY[Smoke] = 2.5f;
}
}  // namespace

void loadResources() {
  screenText.fontTexture =
      keep(loadTexture128(findDataFile(kPictureFiles[FontSlot]).c_str(), kBrightnessAlpha, 0, 0));
  particleSystem.smokeTexture =
      keep(loadTexture128(findDataFile(kPictureFiles[SmokeSlot]).c_str(), kBrightnessAlpha, 0, 0));
  particleSystem.sphereTexture =
      keep(loadTexture128(findDataFile(kPictureFiles[SphereSlot]).c_str(), kBrightnessAlpha, 0, 0));
  spriteRadii(particleSystem.smokeTexture, particleSystem.smokeSpriteRadii);
  spriteRadii(particleSystem.sphereTexture, particleSystem.sphereSpriteRadii);
  keep(loadTexture256(findDataFile(kPictureFiles[WallSlot]).c_str(), kSurfaceAlpha, 0, 1));
  keep(loadTexture128(findDataFile(kPictureFiles[FloorSlot]).c_str(), kSurfaceAlpha, 20, 0));
  keep(loadTexture256(findDataFile(kPictureFiles[CeilingSlot]).c_str(), kSurfaceAlpha, 10, 1));

  worldObjects[0].draw = drawFarRoom;
  worldObjects[1].draw = drawCorridor;
  worldObjects[2].draw = drawNearRoom;
  worldObjects[0].feed = feedFarRoom;
  worldObjects[2].feed = feedNearRoom;

  setEmitters();
}

void startSoundEffects() {
  const std::string laser = findDataFile("laser.wav");
  const std::string boom = findDataFile("boom.wav");
  const char* const paths[kSoundEffects] = {laser.c_str(), boom.c_str()};
  startSound(paths);
}
