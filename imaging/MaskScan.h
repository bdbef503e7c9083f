#pragma once
// Window outlines: reading a mask bitmap's pixels and finding the horizontal
// runs of inside pixels (value 0) that become the window region.

#include <cstddef>
#include <cstdint>

// The rows of a mask bitmap as stored: bottom row first, rowStride bytes
// apart. Rows are addressed top-down (y = 0 is the top row).
struct MaskBitmap {
  const std::uint8_t* pixels = nullptr;
  int rowStride = 0;
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;  // 1, 4 or 8 (one byte per pixel)
};

bool MaskDepthSupported(int bitsPerPixel);

// Describes `size` bytes of rows as a mask bitmap; false when the depth is not
// 1, 4 or 8, the width or height is 0 or less, or the rows do not fit.
bool MakeMaskBitmap(const std::uint8_t* pixels, std::size_t size, int width, int height,
                    int bitsPerPixel, MaskBitmap* out);

// Reads a BMP file's headers and locates its rows (see BmpRows.h for the
// header rules); false for anything MakeMaskBitmap refuses.
bool ReadMaskBmp(const std::uint8_t* data, std::size_t size, MaskBitmap* out);

// The value of pixel (x, y); 0 means inside the window.
int MaskPixelAt(const MaskBitmap& m, int x, int y);
// First column in [x, end) that is inside; end when there is none.
int MaskFindRunStart(const MaskBitmap& m, int x, int y, int end);
// First column in [x, end) that is outside; end when there is none.
int MaskFindRunEnd(const MaskBitmap& m, int x, int y, int end);

// Calls run(y, start, end) for every maximal run of inside pixels, rows from
// the top down and runs from left to right; returns how many runs there were.
template <typename F>
int ForEachMaskRun(const MaskBitmap& m, F run) {
  int count = 0;
  for (int y = 0; y < m.height; ++y) {
    int x = 0;
    while (x < m.width) {
      int start = MaskFindRunStart(m, x, y, m.width);
      if (start >= m.width) break;
      int end = MaskFindRunEnd(m, start, y, m.width);
      run(y, start, end);
      ++count;
      x = end;
    }
  }
  return count;
}
