// Picture file layout (all numbers little-endian):
//
//   file:    0 "TW01" | 4 u16 (00 01) | 6 u16 0 | 8 u16 record count N
//            | 10 u16 table offset | 12 u16 base offset | 14 u16 0
//            | table: N x u32 record offsets, counted from the base offset
//   record:  0 u16 0 | 2 u8 flags | 3 u8 0 | 4 u32 0 | 8 u32 length (unused)
//            | 12 u16 width | 14 u16 height | 16 u8 bits per pixel
//            | 17 u8 table count | 18 u8 escape E | 19 u8 0
//            | 20 palette (4 bytes B G R x per entry, encoding 8)
//                 or run values (1 byte each, mask type 0x12) | data
//
// Pixel streams fill rows left to right, the first stream row being memory
// row 0 (the bottom of the picture). Runs continue across row ends. The
// decoders (PixelDecoder.cpp, PlainDecoder.cpp, MaskDecoder.cpp) are driven
// by the output position and check that input remains before every token,
// so a hostile file can neither push them outside the buffers nor keep them
// looping.
#include "imaging/PictureFormat.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t ReadU16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }

std::uint32_t ReadU32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

bool IsPictureFile(const std::uint8_t* data, std::size_t size) {
  return data != nullptr && size >= 4 && std::memcmp(data, "TW01", 4) == 0;
}

Picture::Picture(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {
  if (!IsPictureFile(data, size) || size < 16) return;
  m_count = static_cast<int>(ReadU16(data + 8));
  m_tableOffset = ReadU16(data + 10);
  m_baseOffset = ReadU16(data + 12);
  std::uint64_t tableEnd = m_tableOffset + 4ull * static_cast<std::uint64_t>(m_count);
  m_valid = tableEnd <= size;
}

bool Picture::Record(int i, PictureRecord* out) const {
  if (!m_valid || i < 0 || i >= m_count) return false;
  std::uint64_t start =
      m_baseOffset +
      static_cast<std::uint64_t>(ReadU32(m_data + m_tableOffset + 4 * static_cast<std::size_t>(i)));
  if (start > m_size || m_size - start < kRecordHeaderSize) return false;
  out->bytes = m_data + start;
  out->size = m_size - static_cast<std::size_t>(start);
  return true;
}

bool Picture::MaskRecord(PictureRecord* out) const {
  for (int i = 0; i < recordCount(); ++i) {
    PictureRecord r;
    if (Record(i, &r) && r.isMask()) {
      *out = r;
      return true;
    }
  }
  return false;
}

void UndoHorizontalDelta(std::uint32_t* pixels, int stride, int width, int height) {
  if (width <= 0) return;
  for (int y = 0; y < height; ++y) {
    std::uint32_t* row = pixels + static_cast<std::size_t>(y) * stride;
    std::uint32_t prev = row[0] & 0xFFFFFF;
    for (int x = 1; x < width; ++x) {
      prev = (prev ^ row[x]) & 0xFFFFFF;
      row[x] = prev;
    }
  }
}

void UndoVerticalDelta(std::uint32_t* pixels, int stride, int width, int height) {
  for (int y = 1; y < height; ++y) {
    const std::uint32_t* below = pixels + static_cast<std::size_t>(y - 1) * stride;
    std::uint32_t* row = pixels + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < width; ++x) row[x] = (below[x] ^ row[x]) & 0xFFFFFF;
  }
}
