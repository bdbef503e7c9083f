#include "PeerCodecs.h"

#include <png.h>
#include <spng.h>

#include <cstdlib>
#include <cstring>

namespace {

// QOI allocates its output on every decode. It gets one buffer that is kept
// instead, so that it writes into memory already in use, like the others.
std::vector<unsigned char> g_qoiBuffer;

void* QoiAllocate(std::size_t size) {
  if (g_qoiBuffer.size() < size) g_qoiBuffer.resize(size);
  return g_qoiBuffer.data();
}

}  // namespace

#define QOI_MALLOC(size) QoiAllocate(size)
#define QOI_FREE(p) static_cast<void>(p)
#define QOI_IMPLEMENTATION
#include <qoi.h>

std::vector<std::uint8_t> ToRgba(const std::vector<std::uint32_t>& pixels, int width, int height) {
  std::vector<std::uint8_t> rgba(pixels.size() * 4);
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = pixels.data() + static_cast<std::size_t>(height - 1 - y) * width;
    std::uint8_t* out = rgba.data() + static_cast<std::size_t>(y) * width * 4;
    for (int x = 0; x < width; ++x, out += 4) {
      out[0] = static_cast<std::uint8_t>(row[x] >> 16);
      out[1] = static_cast<std::uint8_t>(row[x] >> 8);
      out[2] = static_cast<std::uint8_t>(row[x]);
      out[3] = 0xFF;
    }
  }
  return rgba;
}

PeerFiles EncodePeers(const std::vector<std::uint32_t>& pixels, int width, int height) {
  const std::vector<std::uint8_t> rgba = ToRgba(pixels, width, height);
  PeerFiles f;
  qoi_desc desc = {static_cast<unsigned>(width), static_cast<unsigned>(height), 4, QOI_SRGB};
  int size = 0;
  void* qoi = qoi_encode(rgba.data(), &desc, &size);
  if (qoi != nullptr) {
    f.qoi.assign(static_cast<std::uint8_t*>(qoi), static_cast<std::uint8_t*>(qoi) + size);
  }
  // The picture has no alpha: an RGB PNG at libpng's default compression.
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  for (std::size_t i = 0; i < rgb.size() / 3; ++i) std::memcpy(&rgb[3 * i], &rgba[4 * i], 3);
  png_alloc_size_t bytes = 0;
  if (png_image_write_to_memory(&image, nullptr, &bytes, 0, rgb.data(), 0, nullptr)) {
    f.png.resize(bytes);
    png_image_write_to_memory(&image, f.png.data(), &bytes, 0, rgb.data(), 0, nullptr);
    f.png.resize(bytes);
  }
  return f;
}

bool DecodeQoi(const PeerFiles& f, std::vector<std::uint8_t>& rgba, bool copyOut) {
  qoi_desc desc;
  void* out = qoi_decode(f.qoi.data(), static_cast<int>(f.qoi.size()), &desc, 4);
  if (out == nullptr) return false;
  std::memcpy(rgba.data(), out, copyOut ? rgba.size() : 1);
  return true;
}

bool DecodeSpng(const PeerFiles& f, std::vector<std::uint8_t>& rgba) {
  spng_ctx* ctx = spng_ctx_new(0);
  bool ok = ctx != nullptr && spng_set_png_buffer(ctx, f.png.data(), f.png.size()) == 0 &&
            spng_decode_image(ctx, rgba.data(), rgba.size(), SPNG_FMT_RGBA8, 0) == 0;
  spng_ctx_free(ctx);
  return ok;
}

bool DecodeLibpng(const PeerFiles& f, std::vector<std::uint8_t>& rgba) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, f.png.data(), f.png.size())) return false;
  image.format = PNG_FORMAT_RGBA;
  const bool ok = png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr) != 0;
  png_image_free(&image);
  return ok;
}
