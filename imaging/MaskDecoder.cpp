// The mask plane decoders: raw bytes, (value, count) pairs, 4-bit nibble
// codes and value runs. Each token's length is known from its first byte or
// two, so input is checked once a token, and a stretch of copied bytes once.
#include <algorithm>
#include <cstring>

#include "imaging/PictureFormat.h"

namespace {

// Counts mask bytes against width x height and writes those that fit. The
// counts are size_t, as width x height (below 2^32) fits one: 64-bit sums
// would cost the 32-bit build several instructions a token.
class ByteSink {
 public:
  ByteSink(std::uint8_t* plane, std::size_t planeSize, std::size_t total)
      : m_plane(plane), m_writable(std::min(planeSize, total)), m_total(total) {}

  bool full() const { return m_pos >= m_total; }
  std::size_t left() const { return m_total - m_pos; }

  // n bytes of one value; false when they would pass the plane's end (the
  // part that fits is written).
  bool Put(std::uint8_t value, std::size_t n) {
    return Take(n, [value](std::uint8_t* to, std::size_t k) { std::memset(to, value, k); });
  }

  // The same for n < 256, the count of a pair. Where the plane has room,
  // the run is written without the C library, whose call costs more than the
  // fill for most runs: whole blocks of 16, then single bytes, never past n
  // (the stream may end right after this run).
  bool PutShort(std::uint8_t value, std::size_t n) {
    if (m_pos > m_writable || m_writable - m_pos < 256 || n > left()) return Put(value, n);
    const std::uint32_t word = value * 0x01010101u;
    const std::uint32_t block[4] = {word, word, word, word};
    std::uint8_t* const d = m_plane + m_pos;
    std::size_t i = 0;
    for (; n - i >= 16; i += 16) std::memcpy(d + i, block, 16);
    for (; i < n; ++i) d[i] = value;
    m_pos += n;
    return true;
  }

  // The same for bytes copied from the stream.
  bool Copy(const std::uint8_t* src, std::size_t n) {
    return Take(n, [src](std::uint8_t* to, std::size_t k) { std::memcpy(to, src, k); });
  }

 private:
  // Counts n bytes and has `write` put those that fit the plane.
  template <class Write>
  bool Take(std::size_t n, Write write) {
    const bool fits = n <= left();
    n = std::min(n, left());
    if (m_pos < m_writable) write(m_plane + m_pos, std::min(n, m_writable - m_pos));
    m_pos += n;
    return fits;
  }

  std::uint8_t* m_plane;
  std::size_t m_writable;
  std::size_t m_total;
  std::size_t m_pos = 0;
};

std::size_t Left(const std::uint8_t* p, const std::uint8_t* end) {
  return static_cast<std::size_t>(end - p);
}

// A count byte, or when it is 0 the 16-bit count after it; 0 ends the
// stream. False when the input runs out first.
bool ReadCount(const std::uint8_t*& p, const std::uint8_t* end, std::uint32_t* n) {
  if (Left(p, end) < 1) return false;
  *n = *p++;
  if (*n != 0) return true;
  if (Left(p, end) < 2) return false;
  *n = p[0] | (p[1] << 8);
  p += 2;
  return true;
}

int DecodePairs(const std::uint8_t* p, const std::uint8_t* end, ByteSink& out) {
  for (; Left(p, end) >= 2; p += 2) {
    if (p[1] == 0) return 1;
    if (!out.PutShort(p[0], p[1])) return 0;
  }
  return 0;
}

int DecodeNibbles(const std::uint8_t* p, const std::uint8_t* end, ByteSink& out) {
  while (p != end) {
    const std::uint8_t b = *p++;
    if (b >> 4) {
      if (!out.Put(static_cast<std::uint8_t>((b & 0x0F) * 17), b >> 4)) return 0;
      continue;
    }
    std::uint32_t n;
    if (!ReadCount(p, end, &n)) return 0;
    if (n == 0) return 1;
    if (!out.Put(static_cast<std::uint8_t>(b * 17), n)) return 0;
  }
  return 0;
}

int DecodeValueRuns(const std::uint8_t* p, const std::uint8_t* end, ByteSink& out,
                    const std::uint8_t* values, int count) {
  if (count == 0) {
    // Without run values there is no end code: the plane's size ends the stream.
    return out.Copy(p, std::min<std::size_t>(out.left(), Left(p, end))) && out.full() ? 1 : 0;
  }
  bool isRun[256] = {};
  for (int i = 0; i < count; ++i) isRun[values[i]] = true;
  for (;;) {
    // Bytes that are no run value stand for themselves: copy them at once.
    const std::uint8_t* plain = p;
    while (p != end && !isRun[*p]) ++p;
    if (!out.Copy(plain, static_cast<std::size_t>(p - plain))) return 0;
    if (p == end) return 0;
    const std::uint8_t c = *p++;
    std::uint32_t n;
    if (!ReadCount(p, end, &n)) return 0;
    if (n == 0) return 1;
    if (!out.Put(c, n)) return 0;
  }
}

}  // namespace

int DecodeMask(const PictureRecord& record, std::uint8_t* plane, std::size_t planeSize) {
  if (record.bytes == nullptr || record.size < kRecordHeaderSize) return 0;
  const std::size_t total =
      static_cast<std::size_t>(record.width()) * static_cast<std::size_t>(record.height());
  ByteSink out(plane, plane != nullptr ? planeSize : 0, total);
  const std::uint8_t* data = record.bytes + kRecordHeaderSize;
  const std::uint8_t* end = record.bytes + record.size;

  switch (record.maskType()) {
    case kMaskRaw:
      out.Copy(data, std::min<std::size_t>(total, Left(data, end)));
      return out.full() ? 1 : 0;
    case kMaskRle:
      if (record.bitsPerPixel() == 8) return DecodePairs(data, end, out);
      if (record.bitsPerPixel() == 4) return DecodeNibbles(data, end, out);
      return 1;
    case kMaskValueRuns: {
      const int count = record.tableCount();
      if (Left(data, end) < static_cast<std::size_t>(count)) return 0;
      return DecodeValueRuns(data + count, end, out, data, count);
    }
    default:
      return 1;
  }
}
