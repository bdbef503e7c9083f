#pragma once
// Builders for hand-made picture records and files in tests.

#include <cstdint>
#include <vector>

#include "imaging/PictureEncoder.h"
#include "imaging/PictureFormat.h"

using Bytes = std::vector<std::uint8_t>;

// A record header with the given fields followed by `body` (table and data).
inline Bytes MakeRecord(std::uint8_t flags, int width, int height, int bits, int count,
                        std::uint8_t escape, const Bytes& body) {
  Bytes r(kRecordHeaderSize, 0);
  r[2] = flags;
  r[12] = static_cast<std::uint8_t>(width);
  r[13] = static_cast<std::uint8_t>(width >> 8);
  r[14] = static_cast<std::uint8_t>(height);
  r[15] = static_cast<std::uint8_t>(height >> 8);
  r[16] = static_cast<std::uint8_t>(bits);
  r[17] = static_cast<std::uint8_t>(count);
  r[18] = escape;
  r.insert(r.end(), body.begin(), body.end());
  return r;
}

inline PictureRecord View(const Bytes& record) {
  return PictureRecord{record.data(), record.size()};
}

// Decodes a picture record into a fresh width x height buffer filled with `fill`.
inline std::vector<std::uint32_t> DecodeAll(const Bytes& record, int* ok = nullptr,
                                            std::uint32_t fill = 0) {
  PictureRecord r = View(record);
  std::vector<std::uint32_t> px(static_cast<std::size_t>(r.width()) * r.height(), fill);
  int result = DecodePixels(r, px.data(), r.width(), r.height());
  if (ok != nullptr) *ok = result;
  return px;
}

inline Bytes DecodeMaskAll(const Bytes& record, int* ok = nullptr) {
  PictureRecord r = View(record);
  Bytes plane(static_cast<std::size_t>(r.width()) * r.height(), 0xEE);
  int result = DecodeMask(r, plane.data(), plane.size());
  if (ok != nullptr) *ok = result;
  return plane;
}

inline std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (r << 16) | (g << 8) | b;
}

// A BMP with the given depth and colour table whose rows are `rows` (bottom
// row first, each already padded).
inline Bytes MakeBmp(int width, int height, int bits, const std::vector<std::uint32_t>& table,
                     const Bytes& rows, std::uint32_t clrUsed = 0) {
  Bytes b(54, 0);
  b[0] = 'B';
  b[1] = 'M';
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  b[26] = 1;
  b[28] = static_cast<std::uint8_t>(bits);
  put32(46, clrUsed);
  for (std::uint32_t c : table) {
    b.insert(b.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                       static_cast<std::uint8_t>(c >> 16), 0});
  }
  b.insert(b.end(), rows.begin(), rows.end());
  return b;
}
