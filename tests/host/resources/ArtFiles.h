#pragma once
// Reading the built artwork in tests: files, little-endian fields, PNGs.

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
// premultiplied) or bytes (channels 1), rows top-down.
struct Png {
  int width = 0, height = 0;
  std::vector<std::uint32_t> rgb;  // also the words of channels 4
  std::vector<std::uint8_t> grey;
};
bool ReadPng(const std::string& path, int channels, Png* out);

}  // namespace arttest
