#pragma once
// PNG files for the picture tool, through libpng's simplified API.

#include <cstdint>
#include <string>
#include <vector>

// An image as the tool handles it: top-down rows of 8-bit RGBA.
struct RgbaImage {
  int width = 0;
  int height = 0;
  bool hasAlpha = false;           // the file carried an alpha channel or transparency
  std::vector<std::uint8_t> rgba;  // width x height x 4
};

bool ReadPng(const std::string& path, RgbaImage* image, std::string* error);
// channels: 1 (grey), 3 (RGB) or 4 (RGBA); data top-down, rows packed.
bool WritePng(const std::string& path, int width, int height, int channels,
              const std::vector<std::uint8_t>& data, std::string* error);
