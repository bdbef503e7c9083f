#include "tools/picture/PngFile.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace {

struct ReadState {
  FILE* file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~ReadState() {
    if (png != nullptr) png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    if (file != nullptr) std::fclose(file);
  }
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* text = static_cast<std::string*>(png_get_error_ptr(png));
  *text = message;
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

}  // namespace

// The classic interface, because it converts samples exactly: 16-bit samples
// are rounded to 8 bits, palettes and grey expanded, without any gamma work.
bool ReadPng(const std::string& path, RgbaImage* image, std::string* error) {
  ReadState s;
  std::string message;
  s.file = std::fopen(path.c_str(), "rb");
  if (s.file == nullptr) {
    *error = path + ": cannot open";
    return false;
  }
  unsigned char sig[8];
  if (std::fread(sig, 1, 8, s.file) != 8 || png_sig_cmp(sig, 0, 8) != 0) {
    *error = path + ": not a PNG file";
    return false;
  }
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &message, OnPngError, OnPngWarning);
  if (s.png == nullptr) {
    *error = path + ": out of memory";
    return false;
  }
  s.info = png_create_info_struct(s.png);
  std::vector<png_bytep> rows;
  if (s.info == nullptr || setjmp(png_jmpbuf(s.png))) {
    *error = path + ": " + (message.empty() ? "unreadable PNG" : message);
    return false;
  }
  png_init_io(s.png, s.file);
  png_set_sig_bytes(s.png, 8);
  png_set_user_limits(s.png, 65535, 65535);
  png_read_info(s.png, s.info);
  const int colourType = png_get_color_type(s.png, s.info);
  image->hasAlpha =
      (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(s.png, s.info, PNG_INFO_tRNS) != 0;
  png_set_expand(s.png);
  png_set_scale_16(s.png);
  png_set_gray_to_rgb(s.png);
  png_set_add_alpha(s.png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(s.png);
  png_read_update_info(s.png, s.info);
  image->width = static_cast<int>(png_get_image_width(s.png, s.info));
  image->height = static_cast<int>(png_get_image_height(s.png, s.info));
  if (png_get_rowbytes(s.png, s.info) != static_cast<std::size_t>(image->width) * 4) {
    *error = path + ": unexpected PNG layout";
    return false;
  }
  image->rgba.assign(static_cast<std::size_t>(image->width) * image->height * 4, 0);
  rows.resize(static_cast<std::size_t>(image->height));
  for (int y = 0; y < image->height; ++y) {
    rows[y] = &image->rgba[static_cast<std::size_t>(y) * image->width * 4];
  }
  png_read_image(s.png, rows.data());
  png_read_end(s.png, nullptr);
  return true;
}

bool WritePng(const std::string& path, int width, int height, int channels,
              const std::vector<std::uint8_t>& data, std::string* error) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(width);
  png.height = static_cast<png_uint_32>(height);
  png.format = channels == 1 ? PNG_FORMAT_GRAY : channels == 3 ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&png, path.c_str(), 0, data.data(), 0, nullptr)) {
    *error = path + ": " + png.message;
    return false;
  }
  return true;
}
