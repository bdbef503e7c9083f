// Mask bitmaps are BMP files (layout in BmpRows.cpp). A pixel's value sits in
// its stored row as: 1 bit, bit 7 - x % 8 of byte x / 8 (leftmost pixel in the
// high bit); 4 bits, the high half of byte x / 2 for even x, the low half for
// odd x; 8 bits, byte x. Rows are stored bottom-up.
#include "imaging/MaskScan.h"

#include "imaging/BmpRows.h"

bool MaskDepthSupported(int bitsPerPixel) {
  return bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8;
}

bool MakeMaskBitmap(const std::uint8_t* pixels, std::size_t size, int width, int height,
                    int bitsPerPixel, MaskBitmap* out) {
  if (pixels == nullptr || width <= 0 || height <= 0 || !MaskDepthSupported(bitsPerPixel)) {
    return false;
  }
  const std::size_t stride = BmpRowStride(width, bitsPerPixel);
  if (stride == 0 || stride > 0x7FFFFFFF ||
      static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(height) > size) {
    return false;
  }
  out->pixels = pixels;
  out->rowStride = static_cast<int>(stride);
  out->width = width;
  out->height = height;
  out->bitsPerPixel = bitsPerPixel;
  return true;
}

bool ReadMaskBmp(const std::uint8_t* data, std::size_t size, MaskBitmap* out) {
  BmpInfo info;
  if (!ReadBmpInfo(data, size, &info)) return false;
  return MakeMaskBitmap(data + info.pixelOffset, size - info.pixelOffset, info.width, info.height,
                        info.bitsPerPixel, out);
}

int MaskPixelAt(const MaskBitmap& m, int x, int y) {
  const std::uint8_t* row =
      m.pixels + static_cast<std::size_t>(m.height - 1 - y) * static_cast<std::size_t>(m.rowStride);
  switch (m.bitsPerPixel) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    default:
      return row[x];
  }
}

int MaskFindRunStart(const MaskBitmap& m, int x, int y, int end) {
  for (; x < end; ++x) {
    if (MaskPixelAt(m, x, y) == 0) return x;
  }
  return end;
}

int MaskFindRunEnd(const MaskBitmap& m, int x, int y, int end) {
  for (; x < end; ++x) {
    if (MaskPixelAt(m, x, y) != 0) return x;
  }
  return end;
}
