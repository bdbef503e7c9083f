#pragma once
// Plain 8-bit images for the art pipeline, read from and written to PNG.

#include <cstdint>
#include <string>
#include <vector>

namespace art {

// Rows top-down, `channels` bytes per pixel (1 grey, 3 RGB, 4 RGBA).
struct Image {
  int width = 0;
  int height = 0;
  int channels = 0;
  std::vector<uint8_t> bytes;

  Image() = default;
  Image(int w, int h, int c) : width(w), height(h), channels(c), bytes(size_t(w) * h * c, 0) {}
  uint8_t* At(int x, int y) { return &bytes[(size_t(y) * width + x) * channels]; }
  const uint8_t* At(int x, int y) const { return &bytes[(size_t(y) * width + x) * channels]; }
};

// Reads a PNG converted to `channels` channels; false with a message on failure.
bool ReadPng(const std::string& path, int channels, Image* out, std::string* error);
bool WritePng(const std::string& path, const Image& image, std::string* error);

}  // namespace art
