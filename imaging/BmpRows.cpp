// BMP layout read here (little-endian):
//   0 BITMAPFILEHEADER, 14 bytes (its pixel offset is not consulted)
//   14 u32 biSize | 18 s32 biWidth | 22 s32 biHeight | 26 u16 planes
//   28 u16 biBitCount | 30 u32 compression | ... | 46 u32 biClrUsed
//   14 + biSize: colour table, 4 bytes per entry (blue, green, red, unused)
//   then the rows, bottom row first, each padded to a multiple of 4 bytes.
#include "imaging/BmpRows.h"

#include <algorithm>

namespace {

std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int32_t S32(const std::uint8_t* p) { return static_cast<std::int32_t>(U32(p)); }

}  // namespace

std::size_t BmpRowStride(int width, int bitsPerPixel) {
  if (width <= 0 || bitsPerPixel <= 0 || bitsPerPixel > 32) return 0;
  std::uint64_t bits = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitsPerPixel);
  return static_cast<std::size_t>((bits + 31) / 32 * 4);
}

bool ReadBmpInfo(const std::uint8_t* data, std::size_t size, BmpInfo* info) {
  if (data == nullptr || size < 54) return false;
  const std::uint32_t headerSize = U32(data + 14);
  if (headerSize < 40 || headerSize > size - 14) return false;
  info->width = S32(data + 18);
  info->height = S32(data + 22);
  info->bitsPerPixel = data[28] | (data[29] << 8);
  // A width past 2^24 cannot be a surface or a mask and would overflow strides.
  if (info->width < 0 || info->width > (1 << 24)) return false;
  std::uint64_t entries = U32(data + 46);
  if (entries == 0 && info->bitsPerPixel <= 8) entries = std::uint64_t{1} << info->bitsPerPixel;
  info->tableOffset = 14 + static_cast<std::size_t>(headerSize);
  const std::uint64_t pixelOffset = info->tableOffset + 4 * entries;
  if (pixelOffset > size) return false;
  info->pixelOffset = static_cast<std::size_t>(pixelOffset);
  info->tableEntries = static_cast<std::size_t>(entries);
  info->rowStride = BmpRowStride(info->width, info->bitsPerPixel);
  return true;
}

int ConvertBmpRows(const std::uint8_t* data, std::size_t size, const BmpInfo& info,
                   std::uint32_t* dst, int dstWidth, int dstHeight, int x, int y) {
  const int bits = info.bitsPerPixel;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return 0;
  if (info.height <= 0 || info.width <= 0) return 1;
  const std::uint8_t* table = data + info.tableOffset;
  auto lookup = [&](unsigned index) -> std::uint32_t {
    if (index >= info.tableEntries) return 0;  // past the table: black
    const std::uint8_t* e = table + 4 * static_cast<std::size_t>(index);
    return e[0] | (e[1] << 8) | (e[2] << 16);
  };
  // Columns of the BMP that land inside the surface.
  const std::int64_t firstCol = std::max<std::int64_t>(0, -static_cast<std::int64_t>(x));
  const std::int64_t lastCol =
      std::min<std::int64_t>(info.width, static_cast<std::int64_t>(dstWidth) - x);
  const std::size_t rowBytes = (static_cast<std::size_t>(info.width) * bits + 7) / 8;
  for (int r = 0; r < info.height; ++r) {
    const std::uint64_t start = info.pixelOffset + static_cast<std::uint64_t>(r) * info.rowStride;
    if (start > size || size - start < rowBytes) return 0;
    const std::int64_t dstRow = static_cast<std::int64_t>(dstHeight) - info.height - y + r;
    if (dstRow < 0 || dstRow >= dstHeight) continue;
    const std::uint8_t* row = data + start;
    std::uint32_t* out = dst + static_cast<std::size_t>(dstRow) * dstWidth;
    for (std::int64_t c = firstCol; c < lastCol; ++c) {
      std::uint32_t px;
      switch (bits) {
        case 1:
          px = lookup((row[c >> 3] >> (7 - (c & 7))) & 1);
          break;
        case 4:
          px = lookup((c & 1) ? row[c >> 1] & 0x0F : row[c >> 1] >> 4);
          break;
        case 8:
          px = lookup(row[c]);
          break;
        default: {
          const std::uint8_t* p = row + 3 * c;
          px = p[0] | (p[1] << 8) | (p[2] << 16);
          break;
        }
      }
      out[x + c] = px;
    }
  }
  return 1;
}
