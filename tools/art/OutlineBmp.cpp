#include "tools/art/OutlineBmp.h"

namespace art {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

bool IsOutsideTopCorner(int x, int y, int width, int radius) {
  if (y >= radius) return false;
  int cx = x < radius ? x : width - 1 - x;  // mirror the right corner
  if (cx >= radius) return false;
  // Twice the distance from the circle's centre, in whole numbers.
  int dx = 2 * (radius - cx) - 1;
  int dy = 2 * (radius - y) - 1;
  return dx * dx + dy * dy > 4 * radius * radius;
}

std::vector<uint8_t> BuildOutlineBmp(int width, int height, int radius) {
  const uint32_t stride = ((uint32_t(width) + 31) / 32) * 4;
  const uint32_t pixelBytes = stride * uint32_t(height);
  const uint32_t headers = 14 + 40 + 8;
  std::vector<uint8_t> out;
  out.reserve(headers + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, headers + pixelBytes);  // file size
  Put32(out, 0);                     // reserved
  Put32(out, headers);               // pixel offset
  Put32(out, 40);
  Put32(out, uint32_t(width));
  Put32(out, uint32_t(height));  // positive: bottom-up
  Put16(out, 1);                 // planes
  Put16(out, 1);                 // bits per pixel
  Put32(out, 0);                 // BI_RGB
  Put32(out, pixelBytes);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 2);  // colours used
  Put32(out, 0);
  Put32(out, 0x00000000);  // index 0: black
  Put32(out, 0x00FFFFFF);  // index 1: white
  for (int row = height - 1; row >= 0; --row) {
    std::vector<uint8_t> bits(stride, 0);
    for (int x = 0; x < width; ++x) {
      if (IsOutsideTopCorner(x, row, width, radius)) bits[x / 8] |= uint8_t(0x80 >> (x % 8));
    }
    out.insert(out.end(), bits.begin(), bits.end());
  }
  return out;
}

}  // namespace art
