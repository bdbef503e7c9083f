#pragma once
// Reading the built artwork in tests: files, little-endian fields, PNGs and
// the delivered pictures as decoded.

#include <cstdint>
#include <string>
#include <vector>

namespace arttest {

using Bytes = std::vector<std::uint8_t>;

std::string ArtPath(const std::string& name);  // in build/art
Bytes ReadBytes(const std::string& path);      // empty when unreadable

inline std::uint32_t Le16(const Bytes& b, std::size_t at) { return b.at(at) | (b.at(at + 1) << 8); }
inline std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return Le16(b, at) | (Le16(b, at + 2) << 16);
}

// A PNG as 0x00RRGGBB words (channels 3), 0xAARRGGBB words (channels 4, not
// premultiplied) or bytes (channels 1), rows top-down; channels 4 also fills
// alpha.
struct Png {
  int width = 0, height = 0;
  std::vector<std::uint32_t> rgb;  // also the words of channels 4
  std::vector<std::uint8_t> grey;
  std::vector<std::uint8_t> alpha;
};
bool ReadPng(const std::string& path, int channels, Png* out);

// A picture file decoded top-down: pixel (x, y) at [y * width + x]. Width 0
// when it does not decode; mask all zero when it holds no mask record.
struct Decoded {
  int width = 0, height = 0;
  bool hasMask = false;
  std::vector<std::uint32_t> pixels;
  std::vector<std::uint8_t> mask;
  std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
  std::uint8_t MaskAt(int x, int y) const { return mask[std::size_t(y) * width + x]; }
};
Decoded DecodePicture(const Bytes& file);
Decoded DecodeEntry(const std::string& entry);  // the loose file in build/art

}  // namespace arttest
