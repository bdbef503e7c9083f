#include "tools/art/ArtImage.h"

#include <png.h>

#include <cstring>

namespace art {

namespace {

png_uint_32 FormatFor(int channels) {
  switch (channels) {
    case 1:
      return PNG_FORMAT_GRAY;
    case 3:
      return PNG_FORMAT_RGB;
    default:
      return PNG_FORMAT_RGBA;
  }
}

}  // namespace

bool ReadPng(const std::string& path, int channels, Image* out, std::string* error) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) {
    *error = path + ": " + png.message;
    return false;
  }
  png.format = FormatFor(channels);
  // Reading RGB from a PNG with alpha composes it on black; the colour
  // renders are made with a background colour, so they are opaque already.
  *out = Image(int(png.width), int(png.height), channels);
  if (!png_image_finish_read(&png, nullptr, out->bytes.data(), 0, nullptr)) {
    *error = path + ": " + png.message;
    png_image_free(&png);
    return false;
  }
  return true;
}

bool WritePng(const std::string& path, const Image& image, std::string* error) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = png_uint_32(image.width);
  png.height = png_uint_32(image.height);
  png.format = FormatFor(image.channels);
  if (!png_image_write_to_file(&png, path.c_str(), 0, image.bytes.data(), 0, nullptr)) {
    *error = path + ": " + png.message;
    return false;
  }
  return true;
}

}  // namespace art
