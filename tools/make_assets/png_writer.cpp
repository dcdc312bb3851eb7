// PNG output through libpng's simplified writing interface, which takes the
// whole picture at once and reports failure instead of jumping out.
#include "png_writer.h"

#include <png.h>

#include <cstring>

bool writePng(const std::string& path, const RgbaImage& image) {
  png_image header;
  std::memset(&header, 0, sizeof header);
  header.version = PNG_IMAGE_VERSION;
  header.width = static_cast<png_uint_32>(image.width());
  header.height = static_cast<png_uint_32>(image.height());
  header.format = PNG_FORMAT_RGBA;
  static_assert(sizeof(Rgba) == 4, "the pixels go to libpng as they are");
  const int written =
      png_image_write_to_file(&header, path.c_str(), 0, image.data(), 0 /* rows packed */, nullptr);
  png_image_free(&header);
  return written != 0;
}
