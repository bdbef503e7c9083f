// The mask decode done the plain way: one stream byte and one plane byte at
// a time, sharing nothing with the fast decoder, whose reference it is.
#include <algorithm>

#include "imaging/PictureFormat.h"

namespace {

class PlainMask {
 public:
  PlainMask(const std::uint8_t* p, const std::uint8_t* end, std::uint8_t* plane,
            std::size_t writable, std::size_t total)
      : m_p(p), m_end(end), m_plane(plane), m_writable(writable), m_total(total) {}

  bool More() const { return m_p != m_end; }
  std::uint8_t Next() { return *m_p++; }

  // n bytes of value, those inside the plane written; false when they would
  // pass width x height. Past the plane only the count moves on.
  bool Put(std::uint8_t value, std::size_t n) {
    for (; n != 0 && m_pos < m_writable; --n) m_plane[m_pos++] = value;
    if (n > m_total - m_pos) {
      m_pos = m_total;
      return false;
    }
    m_pos += n;
    return true;
  }

  // A count byte, or when it is 0 the 16-bit count after it.
  bool Count(std::uint32_t* n) {
    if (!More()) return false;
    *n = Next();
    if (*n != 0) return true;
    if (!More()) return false;
    const std::uint32_t low = Next();
    if (!More()) return false;
    *n = low | (static_cast<std::uint32_t>(Next()) << 8);
    return true;
  }

  bool Full() const { return m_pos == m_total; }

 private:
  const std::uint8_t* m_p;
  const std::uint8_t* m_end;
  std::uint8_t* m_plane;
  std::size_t m_writable;
  std::size_t m_total;
  std::size_t m_pos = 0;
};

// Bytes that stand for themselves until the plane is full; no end code.
int Raw(PlainMask& m) {
  while (m.More() && !m.Full()) m.Put(m.Next(), 1);
  return m.Full() ? 1 : 0;
}

int Pairs(PlainMask& m) {
  while (m.More()) {
    const std::uint8_t value = m.Next();
    if (!m.More()) return 0;
    const std::uint8_t n = m.Next();
    if (n == 0) return 1;
    if (!m.Put(value, n)) return 0;
  }
  return 0;
}

int Nibbles(PlainMask& m) {
  while (m.More()) {
    const std::uint8_t b = m.Next();
    std::uint32_t n = b >> 4;
    if (n == 0 && !m.Count(&n)) return 0;
    if (n == 0) return 1;
    const std::uint8_t value = static_cast<std::uint8_t>((b >> 4 ? b & 0x0F : b) * 17);
    if (!m.Put(value, n)) return 0;
  }
  return 0;
}

int ValueRuns(PlainMask& m, const std::uint8_t* values, int count) {
  while (m.More()) {
    const std::uint8_t c = m.Next();
    if (std::find(values, values + count, c) == values + count) {
      if (!m.Put(c, 1)) return 0;
      continue;
    }
    std::uint32_t n;
    if (!m.Count(&n)) return 0;
    if (n == 0) return 1;
    if (!m.Put(c, n)) return 0;
  }
  return 0;
}

}  // namespace

int DecodeMaskPlain(const PictureRecord& record, std::uint8_t* plane, std::size_t planeSize) {
  if (record.bytes == nullptr || record.size < kRecordHeaderSize) return 0;
  const std::size_t total =
      static_cast<std::size_t>(record.width()) * static_cast<std::size_t>(record.height());
  const std::uint8_t* data = record.bytes + kRecordHeaderSize;
  const std::uint8_t* end = record.bytes + record.size;
  const std::size_t writable = plane != nullptr ? std::min(planeSize, total) : 0;
  switch (record.maskType()) {
    case kMaskRaw: {
      PlainMask m(data, end, plane, writable, total);
      return Raw(m);
    }
    case kMaskRle: {
      PlainMask m(data, end, plane, writable, total);
      if (record.bitsPerPixel() == 8) return Pairs(m);
      if (record.bitsPerPixel() == 4) return Nibbles(m);
      return 1;
    }
    case kMaskValueRuns: {
      const std::size_t count = static_cast<std::size_t>(record.tableCount());
      if (static_cast<std::size_t>(end - data) < count) return 0;
      PlainMask m(data + count, end, plane, writable, total);
      // Without run values the stream is a raw plane.
      return count == 0 ? Raw(m) : ValueRuns(m, data, static_cast<int>(count));
    }
    default:
      return 1;
  }
}
