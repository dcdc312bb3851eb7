// make_assets OUTPUT_DIR [FONT_FILE]
// Writes the program's pictures, glyph sheet, sounds and desktop icon (one
// PNG a size) into OUTPUT_DIR.
// The output is the same byte for byte on every run, so builds are
// reproducible. FONT_FILE overrides the Debian-shipped font, mainly so the
// failure path can be exercised.
#include <filesystem>
#include <iostream>
#include <string>

#include "bmp_writer.h"
#include "font_sheet.h"
#include "icon.h"
#include "png_writer.h"
#include "sounds.h"
#include "textures.h"
#include "wav_writer.h"

namespace {

// The icon sizes, from the build, which installs each one.
constexpr int kIconSizes[] = {CRYPTWELL_ICON_SIZES};

constexpr const char* kDefaultFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";

int fail(const std::string& message) {
  std::cerr << "make_assets: " << message << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) return fail("usage: make_assets OUTPUT_DIR [FONT_FILE]");
  const std::filesystem::path dir = argv[1];
  const std::string fontPath = argc == 3 ? argv[2] : kDefaultFont;

  Image font(0, 0);
  std::string error;
  if (!makeFontSheet(fontPath, font, error)) return fail(error);

  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) return fail("cannot create " + dir.string());

  const struct {
    const char* name;
    Image image;
  } pictures[] = {
      {"font.bmp", font},
      {"smoke128.bmp", makeSmokePuff()},
      {"sphere128.bmp", makeGlowSphere()},
      {"alien31_256.bmp", makeAlienWall()},
      {"dirt128.bmp", makeDirtFloor()},
      {"alien69_256.bmp", makeRockCeiling()},
  };
  for (const auto& picture : pictures) {
    const std::string path = (dir / picture.name).string();
    if (!writeBmp(path, picture.image)) return fail("cannot write " + path);
  }

  const struct {
    const char* name;
    std::vector<int16_t> samples;
  } sounds[] = {
      {"laser.wav", makeLaserShot()},
      {"boom.wav", makeExplosion()},
  };
  for (const auto& sound : sounds) {
    const std::string path = (dir / sound.name).string();
    if (!writeWav(path, sound.samples, kSampleRate)) return fail("cannot write " + path);
  }

  // cryptwell-SIZE.png for each size the desktops' icon theme looks up.
  const RgbaImage icon = makeIcon();
  for (const int size : kIconSizes) {
    const std::string path = (dir / ("cryptwell-" + std::to_string(size) + ".png")).string();
    if (!writePng(path, shrinkIcon(icon, size))) return fail("cannot write " + path);
  }
  return 0;
}
