// The pixel decode done the plain way, in two steps that share nothing with
// the fast decoder: every token's values are written as they come (and zeros
// after the stream stops), then the delta filters run as two passes over the
// rows. It serves targets smaller than the picture, and it is the reference
// the fast decoder is tested and benchmarked against.
#include <algorithm>
#include <vector>

#include "imaging/PictureFormat.h"

namespace {

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
  // Green and red of a pixel whose blue is already known.
  std::uint32_t Pixel(std::uint32_t blue) {
    const std::uint32_t g = U8();
    const std::uint32_t r = U8();
    return blue | (g << 8) | (r << 16);
  }
  std::uint32_t U24() { return Pixel(U8()); }
  bool ok() const { return m_ok; }

 private:
  const std::uint8_t* m_p;
  const std::uint8_t* m_end;
  bool m_ok = true;
};

// Stream values in stream order, kept where they fall inside the target.
class ValueSink {
 public:
  ValueSink(std::uint32_t* pixels, int stride, int rows, int width, int height)
      : m_pixels(pixels),
        m_stride(stride),
        m_width(width),
        m_visibleWidth(std::min(width, stride)),
        m_visibleHeight(std::min(height, rows)),
        m_total(static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height)) {}

  // False when the values would pass the picture's end; those that fit are kept.
  bool Put(std::uint32_t value, std::uint32_t n) {
    for (; n != 0; --n, ++m_pos) {
      if (m_pos == m_total) return false;
      const std::uint64_t y = m_pos / static_cast<std::uint64_t>(m_width);
      const std::uint64_t x = m_pos % static_cast<std::uint64_t>(m_width);
      if (y < static_cast<std::uint64_t>(m_visibleHeight) &&
          x < static_cast<std::uint64_t>(m_visibleWidth)) {
        m_pixels[y * static_cast<std::uint64_t>(m_stride) + x] = value;
      }
    }
    return true;
  }

  // What the stream did not reach counts as zeros.
  void ZeroRest() {
    for (int y = 0; y < m_visibleHeight; ++y) {
      for (int x = 0; x < m_visibleWidth; ++x) {
        if (static_cast<std::uint64_t>(y) * m_width + x >= m_pos) {
          m_pixels[static_cast<std::size_t>(y) * m_stride + x] = 0;
        }
      }
    }
  }

 private:
  std::uint32_t* m_pixels;
  int m_stride;
  int m_width;
  int m_visibleWidth;
  int m_visibleHeight;
  std::uint64_t m_total;
  std::uint64_t m_pos = 0;
};

std::uint32_t Grey(std::uint32_t v) { return v * 0x010101u; }

// Each decoder returns 1 at the end code and 0 where the stream goes wrong.
int Raw(ByteReader& in, ValueSink& out, int width, int height) {
  const int fill = (4 - (3 * width) % 4) % 4;
  std::vector<std::uint32_t> row(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    for (std::uint32_t& v : row) v = in.U24();
    if (!in.ok()) return 0;  // only whole rows count
    for (std::uint32_t v : row) out.Put(v, 1);
    for (int i = 0; i < fill; ++i) in.U8();  // the last row may omit them
  }
  return 1;
}

// One pixel whose blue is known; false when the stream or the picture ends.
bool PutPixel(ByteReader& in, ValueSink& out, std::uint8_t blue) {
  const std::uint32_t v = in.Pixel(blue);
  return in.ok() && out.Put(v, 1);
}

// The literal forms both run-length streams share: c G R (c != E) and
// E FF G R. kOther leaves the byte after the escape in `next`.
enum class Lead { kLiteral, kFault, kOther };

Lead ReadLead(ByteReader& in, ValueSink& out, std::uint8_t escape, std::uint8_t* next) {
  const std::uint8_t c = in.U8();
  if (!in.ok()) return Lead::kFault;
  if (c != escape) return PutPixel(in, out, c) ? Lead::kLiteral : Lead::kFault;
  *next = in.U8();
  if (!in.ok()) return Lead::kFault;
  if (*next == 0xFF) return PutPixel(in, out, escape) ? Lead::kLiteral : Lead::kFault;
  return Lead::kOther;
}

int ColourRle(ByteReader& in, ValueSink& out, std::uint8_t escape) {
  for (;;) {
    std::uint8_t n = 0;
    const Lead lead = ReadLead(in, out, escape, &n);
    if (lead == Lead::kFault) return 0;
    if (lead == Lead::kLiteral) continue;
    if (n == 0) return 1;
    const std::uint32_t v = in.U24();
    if (!in.ok() || !out.Put(v, n)) return 0;
  }
}

int PaletteRle(ByteReader& in, ValueSink& out, std::uint8_t escape, const std::uint8_t* palette,
               int count) {
  for (;;) {
    std::uint8_t i = 0;
    const Lead lead = ReadLead(in, out, escape, &i);
    if (lead == Lead::kFault) return 0;
    if (lead == Lead::kLiteral) continue;
    std::uint32_t n = i;
    if (count == 1) {
      i = 0;
    } else {
      n = in.U8();
      if (!in.ok()) return 0;
    }
    if (n == 0) return 1;
    if (i >= count) return 0;
    const std::uint8_t* e = palette + 4 * i;
    if (!out.Put(e[0] | (e[1] << 8) | (e[2] << 16), n)) return 0;
  }
}

int GreyRle(ByteReader& in, ValueSink& out, std::uint8_t escape, bool canSwitch) {
  bool colour = false;
  for (;;) {
    const std::uint8_t c = in.U8();
    if (!in.ok()) return 0;
    std::uint32_t v, n = 1;
    if (c != escape) {
      v = colour ? in.Pixel(c) : Grey(c);
    } else {
      n = in.U8();
      if (!in.ok()) return 0;
      if (n == 0) return 1;
      if (canSwitch && n == 1) {
        colour = in.U8() != 0;
        if (!in.ok()) return 0;
        continue;
      }
      if (n == 0xFF) {
        n = 1;
        v = colour ? in.Pixel(escape) : Grey(escape);
      } else {
        v = colour ? in.U24() : Grey(in.U8());
      }
    }
    if (!in.ok() || !out.Put(v, n)) return 0;
  }
}

}  // namespace

int DecodePixelsPlain(const PictureRecord& record, std::uint32_t* pixels, int stride, int rows) {
  if (record.bytes == nullptr || record.size < kRecordHeaderSize || stride < 0 || rows < 0) {
    return 0;
  }
  const int width = record.width(), height = record.height();
  const int encoding = record.encoding();
  const std::uint8_t* data = record.bytes + kRecordHeaderSize;
  const std::uint8_t* end = record.bytes + record.size;
  ValueSink out(pixels, stride, rows, width, height);
  int ok = 0;
  if (encoding == kEncodingPaletteRle) {
    const int count = record.tableCount();
    if (static_cast<std::size_t>(end - data) >= 4 * static_cast<std::size_t>(count)) {
      ByteReader in(data + 4 * count, end);
      ok = PaletteRle(in, out, record.escape(), data, count);
    }
  } else {
    ByteReader in(data, end);
    if (encoding == kEncodingRaw) ok = Raw(in, out, width, height);
    if (encoding == kEncodingColourRle) ok = ColourRle(in, out, record.escape());
    if (encoding == kEncodingGreyRle) {
      ok = GreyRle(in, out, record.escape(), (record.flags() & kPicHorizontalDelta) != 0);
    }
  }
  out.ZeroRest();
  if (encoding != kEncodingGreyRle) {
    const int w = std::min(width, stride), h = std::min(height, rows);
    if (record.flags() & kPicHorizontalDelta) UndoHorizontalDelta(pixels, stride, w, h);
    if (record.flags() & kPicVerticalDelta) UndoVerticalDelta(pixels, stride, w, h);
  }
  return ok;
}
