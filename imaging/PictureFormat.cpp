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
// decoders below are driven by the output position and check that input
// remains before every read, so a hostile file can neither push them outside
// the buffers nor keep them looping.
#include "imaging/PictureFormat.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t ReadU16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }

std::uint32_t ReadU32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Bytes of the stream; once a read runs short every later read fails too, so
// a token is checked once after its last byte.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* p, const std::uint8_t* end) : m_p(p), m_end(end) {}
  std::uint8_t U8() {
    if (m_p < m_end) return *m_p++;
    m_ok = false;
    return 0;
  }
  std::uint32_t U16() {
    std::uint32_t lo = U8();
    return lo | (U8() << 8);
  }
  bool ok() const { return m_ok; }
  bool atEnd() const { return m_p >= m_end; }
  std::size_t remaining() const { return static_cast<std::size_t>(m_end - m_p); }
  const std::uint8_t* pos() const { return m_p; }
  const std::uint8_t* end() const { return m_end; }
  void Skip(std::size_t n) { m_p += std::min(n, remaining()); }

 private:
  const std::uint8_t* m_p;
  const std::uint8_t* m_end;
  bool m_ok = true;
};

// row[i] = below[i] ^ colour; plain locals so that the compiler vectorises it.
void XorRow(std::uint32_t* row, const std::uint32_t* below, int n, std::uint32_t colour) {
  for (int i = 0; i < n; ++i) row[i] = below[i] ^ colour;
}

// Writes decoded pixels row by row into the visible part of the target;
// pixels that fall outside it are counted but dropped. The delta filters are
// undone as each pixel is written, so every row is final once complete,
// exactly as the two passes (horizontal, then vertical) would leave it:
// `m_prefix` is the row's horizontally restored value so far, and each pixel
// is then XORed with the finished row below. A run of zeros in the stream,
// the common case, thus becomes one vectorisable XOR (or copy) of a span.
class PixelSink {
 public:
  PixelSink(std::uint32_t* pixels, int stride, int rows, int width, int height, bool horizontal,
            bool vertical)
      : m_pixels(pixels),
        m_stride(static_cast<std::size_t>(stride)),
        m_width(width),
        m_height(width > 0 ? height : 0),
        m_visibleWidth(std::min(width, stride)),
        m_visibleHeight(std::min(height, rows)),
        m_horizontal(horizontal),
        m_vertical(vertical) {
    StartRow();
  }

  bool full() const { return m_y >= m_height; }

  // The pixels a stopped stream did not reach count as zeros.
  void ZeroRest() {
    if (full()) return;
    PutAcrossRows(0,
                  static_cast<std::uint32_t>(m_height - m_y) * static_cast<std::uint32_t>(m_width) -
                      static_cast<std::uint32_t>(m_x));
  }

  // n pixels of one colour; false when they would pass the picture's end.
  // The common case, a run that ends inside a visible row, stays inline.
  bool Put(std::uint32_t colour, std::uint32_t n) {
    const int x = m_x;
    if (static_cast<std::uint32_t>(x) + n <= static_cast<std::uint32_t>(m_fastEnd)) {
      Fill(colour, x, x + static_cast<int>(n));
      m_x = x + static_cast<int>(n);
      return true;
    }
    return PutAcrossRows(colour, n);
  }

  bool Put1(std::uint32_t colour) {
    const int x = m_x;
    if (x < m_fastEnd) {
      if (m_horizontal) colour = m_prefix ^= colour;
      m_row[x] = m_below != nullptr ? colour ^ m_below[x] : colour;
      m_x = x + 1;
      return true;
    }
    return PutAcrossRows(colour, 1);
  }

 private:
  bool PutAcrossRows(std::uint32_t colour, std::uint32_t n) {
    while (n != 0) {
      if (m_y >= m_height) return false;
      std::uint32_t k = std::min<std::uint32_t>(n, static_cast<std::uint32_t>(m_width - m_x));
      if (m_row != nullptr && m_x < m_visibleWidth) {
        int stop = static_cast<int>(std::min<std::uint32_t>(m_x + k, m_visibleWidth));
        Fill(colour, m_x, stop);
      }
      m_x += static_cast<int>(k);
      n -= k;
      if (m_x == m_width) NextRow();
    }
    return true;
  }

  // Writes columns [from, to) of the current (visible) row.
  void Fill(std::uint32_t colour, int from, int to) {
    std::uint32_t* row = m_row + from;
    const std::uint32_t* below = m_below != nullptr ? m_below + from : nullptr;
    const int n = to - from;
    if (m_horizontal) {
      if (colour != 0) {
        // The restored values alternate: prefix ^ colour, prefix, ...
        for (int i = 0; i < n; ++i) {
          m_prefix ^= colour;
          row[i] = below != nullptr ? m_prefix ^ below[i] : m_prefix;
        }
        return;
      }
      colour = m_prefix;  // zeros repeat the restored value
    }
    if (below == nullptr) {
      std::fill(row, row + n, colour);
    } else if (colour == 0) {
      std::memcpy(row, below, static_cast<std::size_t>(n) * 4);
    } else {
      XorRow(row, below, n, colour);
    }
  }

  // Points at the current row when it is visible; m_fastEnd is the column
  // below which a pixel neither completes the row nor leaves the visible part.
  void StartRow() {
    m_row = nullptr;
    m_below = nullptr;
    m_fastEnd = 0;
    m_prefix = 0;
    if (m_y >= m_visibleHeight || m_y >= m_height || m_visibleWidth <= 0) return;
    m_row = m_pixels + m_rowStart;
    if (m_vertical && m_y > 0) m_below = m_row - m_stride;
    m_fastEnd = std::min(m_width - 1, m_visibleWidth);
  }

  void NextRow() {
    m_x = 0;
    ++m_y;
    m_rowStart += m_stride;
    StartRow();
  }

  std::uint32_t* m_pixels;
  std::size_t m_stride;
  int m_width;
  int m_height;
  int m_visibleWidth;
  int m_visibleHeight;
  bool m_horizontal;
  bool m_vertical;
  int m_x = 0;
  int m_y = 0;
  std::size_t m_rowStart = 0;
  std::uint32_t* m_row = nullptr;
  const std::uint32_t* m_below = nullptr;
  int m_fastEnd = 0;
  std::uint32_t m_prefix = 0;
};

std::uint32_t Colour(std::uint32_t b, std::uint32_t g, std::uint32_t r) {
  return b | (g << 8) | (r << 16);
}

std::uint32_t Grey(std::uint32_t v) { return v * 0x010101u; }

// One literal pixel whose blue byte has been read; green and red follow.
bool PutLiteral(ByteReader& in, PixelSink& out, std::uint8_t blue) {
  std::uint32_t g = in.U8(), r = in.U8();
  return in.ok() && out.Put1(Colour(blue, g, r));
}

int DecodeRaw(ByteReader& in, PixelSink& out, int width, int height) {
  const std::size_t pixelBytes = 3 * static_cast<std::size_t>(width);
  const std::size_t rowBytes = (pixelBytes + 3) & ~static_cast<std::size_t>(3);
  for (int y = 0; y < height; ++y) {
    if (in.remaining() < pixelBytes) return 0;
    const std::uint8_t* p = in.pos();
    for (int x = 0; x < width; ++x, p += 3) out.Put1(Colour(p[0], p[1], p[2]));
    in.Skip(rowBytes);  // the last row may omit its fill bytes
  }
  return 1;
}

int DecodeColourRle(ByteReader& in, PixelSink& out, std::uint8_t escape) {
  // While five bytes remain, every token fits: read without per-byte checks.
  const std::uint8_t* p = in.pos();
  const std::uint8_t* const safe = in.end() - std::min<std::size_t>(in.remaining(), 4);
  while (p < safe) {
    const std::uint8_t c = p[0];
    if (c != escape) {
      if (!out.Put1(Colour(c, p[1], p[2]))) return 0;
      p += 3;
      continue;
    }
    const std::uint8_t n = p[1];
    if (n == 0) return 1;
    if (n == 0xFF) {
      if (!out.Put1(Colour(escape, p[2], p[3]))) return 0;
      p += 4;
      continue;
    }
    if (!out.Put(Colour(p[2], p[3], p[4]), n)) return 0;
    p += 5;
  }
  in.Skip(static_cast<std::size_t>(p - in.pos()));
  for (;;) {
    std::uint8_t c = in.U8();
    if (!in.ok()) return 0;
    if (c != escape) {
      if (!PutLiteral(in, out, c)) return 0;
      continue;
    }
    std::uint8_t n = in.U8();
    if (!in.ok()) return 0;
    if (n == 0) return 1;
    if (n == 0xFF) {
      if (!PutLiteral(in, out, escape)) return 0;
      continue;
    }
    std::uint32_t b = in.U8(), g = in.U8(), r = in.U8();
    if (!in.ok() || !out.Put(Colour(b, g, r), n)) return 0;
  }
}

int DecodePaletteRle(ByteReader& in, PixelSink& out, std::uint8_t escape,
                     const std::uint8_t* palette, int count) {
  for (;;) {
    std::uint8_t c = in.U8();
    if (!in.ok()) return 0;
    if (c != escape) {
      if (!PutLiteral(in, out, c)) return 0;
      continue;
    }
    std::uint8_t i = in.U8();
    if (!in.ok()) return 0;
    if (i == 0xFF) {
      if (!PutLiteral(in, out, escape)) return 0;
      continue;
    }
    std::uint32_t n;
    if (count == 1) {
      // A one-entry palette drops the index: E n is n pixels of entry 0.
      n = i;
      i = 0;
    } else {
      n = in.U8();
      if (!in.ok()) return 0;
    }
    if (n == 0) return 1;
    if (i >= count) return 0;
    const std::uint8_t* e = palette + 4 * i;
    if (!out.Put(Colour(e[0], e[1], e[2]), n)) return 0;
  }
}

int DecodeGreyRle(ByteReader& in, PixelSink& out, std::uint8_t escape, bool canSwitch) {
  bool colour = false;
  for (;;) {
    std::uint8_t c = in.U8();
    if (!in.ok()) return 0;
    if (c != escape) {
      std::uint32_t px = Grey(c);
      if (colour) {
        std::uint32_t g = in.U8(), r = in.U8();
        px = Colour(c, g, r);
      }
      if (!in.ok() || !out.Put1(px)) return 0;
      continue;
    }
    std::uint8_t n = in.U8();
    if (!in.ok()) return 0;
    if (n == 0) return 1;
    if (n == 0xFF) {
      std::uint32_t px = Grey(escape);
      if (colour) {
        std::uint32_t g = in.U8(), r = in.U8();
        px = Colour(escape, g, r);
      }
      if (!in.ok() || !out.Put1(px)) return 0;
      continue;
    }
    if (canSwitch && n == 1) {
      colour = in.U8() != 0;
      if (!in.ok()) return 0;
      continue;
    }
    std::uint32_t px;
    if (colour) {
      std::uint32_t b = in.U8(), g = in.U8(), r = in.U8();
      px = Colour(b, g, r);
    } else {
      px = Grey(in.U8());
    }
    if (!in.ok() || !out.Put(px, n)) return 0;
  }
}

// Counts mask bytes against width x height and writes those that fit.
class ByteSink {
 public:
  ByteSink(std::uint8_t* plane, std::size_t planeSize, std::uint64_t total)
      : m_plane(plane), m_writable(std::min<std::uint64_t>(planeSize, total)), m_total(total) {}

  bool full() const { return m_pos >= m_total; }

  bool Put(std::uint8_t value, std::uint64_t n) {
    if (n > m_total - m_pos) {
      Fill(value, m_total - m_pos);
      return false;
    }
    Fill(value, n);
    return true;
  }

  // Copies n bytes that are known to fit below the total.
  void Copy(const std::uint8_t* src, std::uint64_t n) {
    if (m_pos < m_writable) {
      std::uint64_t k = std::min(n, m_writable - m_pos);
      std::memcpy(m_plane + m_pos, src, static_cast<std::size_t>(k));
    }
    m_pos += n;
  }

  std::uint64_t left() const { return m_total - m_pos; }

 private:
  void Fill(std::uint8_t value, std::uint64_t n) {
    if (m_pos < m_writable) {
      std::uint64_t k = std::min(n, m_writable - m_pos);
      std::memset(m_plane + m_pos, value, static_cast<std::size_t>(k));
    }
    m_pos += n;
  }

  std::uint8_t* m_plane;
  std::uint64_t m_writable;
  std::uint64_t m_total;
  std::uint64_t m_pos = 0;
};

int DecodeMaskPairs(ByteReader& in, ByteSink& out) {
  for (;;) {
    std::uint8_t v = in.U8();
    std::uint8_t n = in.U8();
    if (!in.ok()) return 0;
    if (n == 0) return 1;
    if (!out.Put(v, n)) return 0;
  }
}

int DecodeMaskNibbles(ByteReader& in, ByteSink& out) {
  for (;;) {
    std::uint8_t b = in.U8();
    if (!in.ok()) return 0;
    if (b >> 4) {
      if (!out.Put(static_cast<std::uint8_t>((b & 0x0F) * 17), b >> 4)) return 0;
      continue;
    }
    std::uint32_t n = in.U8();
    if (n == 0) n = in.U16();
    if (!in.ok()) return 0;
    if (n == 0) return 1;
    if (!out.Put(static_cast<std::uint8_t>(b * 17), n)) return 0;
  }
}

int DecodeMaskValueRuns(ByteReader& in, ByteSink& out, const std::uint8_t* values, int count) {
  if (count == 0) {
    // Without run values there is no end code: the plane's size ends the stream.
    std::uint64_t n = std::min<std::uint64_t>(out.left(), in.remaining());
    out.Copy(in.pos(), n);
    in.Skip(static_cast<std::size_t>(n));
    return out.full() ? 1 : 0;
  }
  bool isRun[256] = {};
  for (int i = 0; i < count; ++i) isRun[values[i]] = true;
  for (;;) {
    std::uint8_t c = in.U8();
    if (!in.ok()) return 0;
    if (!isRun[c]) {
      if (!out.Put(c, 1)) return 0;
      continue;
    }
    std::uint32_t n = in.U8();
    if (n == 0) n = in.U16();
    if (!in.ok()) return 0;
    if (n == 0) return 1;
    if (!out.Put(c, n)) return 0;
  }
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

int DecodePixels(const PictureRecord& record, std::uint32_t* pixels, int stride, int rows) {
  if (record.bytes == nullptr || record.size < kRecordHeaderSize || stride < 0 || rows < 0) {
    return 0;
  }
  const int width = record.width();
  const int height = record.height();
  const int encoding = record.encoding();
  const std::uint8_t* end = record.bytes + record.size;
  // Grey streams carry no delta: their flag 0x01 means colour switching.
  const bool grey = encoding == kEncodingGreyRle;
  PixelSink out(pixels, stride, rows, width, height,
                !grey && (record.flags() & kPicHorizontalDelta) != 0,
                !grey && (record.flags() & kPicVerticalDelta) != 0);

  int ok;
  if (encoding == kEncodingPaletteRle) {
    const int count = record.tableCount();
    std::size_t dataOffset = kRecordHeaderSize + 4 * static_cast<std::size_t>(count);
    if (dataOffset > record.size) return 0;
    ByteReader in(record.bytes + dataOffset, end);
    ok = DecodePaletteRle(in, out, record.escape(), record.bytes + kRecordHeaderSize, count);
  } else {
    ByteReader in(record.bytes + kRecordHeaderSize, end);
    if (encoding == kEncodingRaw) {
      ok = DecodeRaw(in, out, width, height);
    } else if (encoding == kEncodingColourRle) {
      ok = DecodeColourRle(in, out, record.escape());
    } else {
      ok = DecodeGreyRle(in, out, record.escape(), (record.flags() & kPicHorizontalDelta) != 0);
    }
  }
  out.ZeroRest();
  return ok ? 1 : 0;
}

int DecodeMask(const PictureRecord& record, std::uint8_t* plane, std::size_t planeSize) {
  if (record.bytes == nullptr || record.size < kRecordHeaderSize) return 0;
  const std::uint64_t total =
      static_cast<std::uint64_t>(record.width()) * static_cast<std::uint64_t>(record.height());
  ByteSink out(plane, plane != nullptr ? planeSize : 0, total);
  const std::uint8_t* end = record.bytes + record.size;
  ByteReader in(record.bytes + kRecordHeaderSize, end);

  switch (record.maskType()) {
    case kMaskRaw: {
      std::uint64_t n = std::min<std::uint64_t>(total, in.remaining());
      out.Copy(in.pos(), n);
      return out.full() ? 1 : 0;
    }
    case kMaskRle:
      if (record.bitsPerPixel() == 8) return DecodeMaskPairs(in, out);
      if (record.bitsPerPixel() == 4) return DecodeMaskNibbles(in, out);
      return 1;
    case kMaskValueRuns: {
      const int count = record.tableCount();
      if (kRecordHeaderSize + static_cast<std::size_t>(count) > record.size) return 0;
      ByteReader data(record.bytes + kRecordHeaderSize + count, end);
      return DecodeMaskValueRuns(data, out, record.bytes + kRecordHeaderSize, count);
    }
    default:
      return 1;
  }
}
