#include "tests/host/resources/ArtFiles.h"

#include <png.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "imaging/PictureFormat.h"

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
    return true;
  }
  const std::size_t n = bytes.size() / channels;
  out->rgb.resize(n);
  if (channels == 4) out->alpha.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t* p = &bytes[channels * i];
    const std::uint32_t alpha = channels == 4 ? p[3] : 0;
    out->rgb[i] = (alpha << 24) | (p[0] << 16) | (p[1] << 8) | p[2];
    if (channels == 4) out->alpha[i] = p[3];
  }
  return true;
}

Decoded DecodePicture(const Bytes& file) {
  Decoded out;
  Picture picture(file.data(), file.size());
  PictureRecord record, maskRecord;
  if (!picture.Record(0, &record)) return out;
  const int w = record.width(), h = record.height();
  std::vector<std::uint32_t> bottomUp(std::size_t(w) * h);
  std::vector<std::uint8_t> plane(bottomUp.size());
  if (DecodePixels(record, bottomUp.data(), w, h) != 1) return out;
  out.hasMask = picture.MaskRecord(&maskRecord);
  if (out.hasMask && DecodeMask(maskRecord, plane.data(), plane.size()) != 1) return out;
  out.width = w;
  out.height = h;
  out.pixels.resize(bottomUp.size());
  out.mask.resize(plane.size());
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      out.pixels[std::size_t(y) * w + x] = bottomUp[std::size_t(h - 1 - y) * w + x];
      out.mask[std::size_t(y) * w + x] = plane[std::size_t(h - 1 - y) * w + x];
    }
  }
  return out;
}

Decoded DecodeEntry(const std::string& entry) { return DecodePicture(ReadBytes(ArtPath(entry))); }

}  // namespace arttest
