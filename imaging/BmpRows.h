#pragma once
// BMP files as the drawing surfaces and mask regions read them: the header
// fields they need and the conversion of stored rows into surface pixels.

#include <cstddef>
#include <cstdint>

struct BmpInfo {
  int width = 0;
  int height = 0;  // negative for top-down files, which are not converted
  int bitsPerPixel = 0;
  std::size_t tableOffset = 0;   // first colour table entry (right after the info header)
  std::size_t tableEntries = 0;  // entries of the colour table that lie inside the file
  std::size_t pixelOffset = 0;   // first stored row (the bottom one)
  std::size_t rowStride = 0;     // bytes per stored row, a multiple of 4
};

// Reads the 14-byte file header and the information header (40 bytes or a
// later, longer version). The rows start after the colour table: biClrUsed
// entries when non-zero, else 2^bits for 8 bits or fewer. False when the
// headers do not fit or the width or the row arithmetic is out of range; the
// rows themselves are not checked here.
bool ReadBmpInfo(const std::uint8_t* data, std::size_t size, BmpInfo* info);

// The stored row size for a width and depth: bits rounded up to 32.
std::size_t BmpRowStride(int width, int bitsPerPixel);

// Converts a 1-, 4-, 8- or 24-bit BMP into 32-bit bottom-up surface pixels
// (dstWidth x dstHeight) with the BMP's top-left corner at (x, y), clipped to
// the surface. Returns 1 when every row was converted (a height of 0 or less
// converts nothing), 0 for other depths or when rows run past the file, in
// which case the rows that were present stay converted.
int ConvertBmpRows(const std::uint8_t* data, std::size_t size, const BmpInfo& info,
                   std::uint32_t* dst, int dstWidth, int dstHeight, int x, int y);
