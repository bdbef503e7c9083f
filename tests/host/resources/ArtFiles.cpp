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
  png.format = channels == 1 ? PNG_FORMAT_GRAY : PNG_FORMAT_RGB;
  std::vector<std::uint8_t> bytes(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr)) return false;
  out->width = int(png.width);
  out->height = int(png.height);
  if (channels == 1) {
    out->grey = bytes;
  } else {
    out->rgb.resize(bytes.size() / 3);
    for (std::size_t i = 0; i < out->rgb.size(); ++i) {
      out->rgb[i] = (bytes[3 * i] << 16) | (bytes[3 * i + 1] << 8) | bytes[3 * i + 2];
    }
  }
  return true;
}

}  // namespace arttest
