#include "tests/host/resources/ArtFiles.h"

#include <png.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace arttest {

std::string ArtPath(const std::string& name) { return std::string(DIDA_ART_DIR) + "/" + name; }

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ReadPng(const std::string& path, int channels, Png* out) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
  png.format = channels == 1 ? PNG_FORMAT_GRAY : channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  std::vector<std::uint8_t> bytes(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr)) return false;
  out->width = int(png.width);
  out->height = int(png.height);
  if (channels == 1) {
    out->grey = bytes;
  } else {
    const std::size_t n = channels == 4 ? 4 : 3;
    out->rgb.resize(bytes.size() / n);
    for (std::size_t i = 0; i < out->rgb.size(); ++i) {
      const std::uint8_t* p = &bytes[n * i];
      const std::uint32_t alpha = n == 4 ? p[3] : 0;
      out->rgb[i] = (alpha << 24) | (p[0] << 16) | (p[1] << 8) | p[2];
    }
  }
  return true;
}

}  // namespace arttest
