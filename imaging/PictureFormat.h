#pragma once
// The launcher's own picture files ("TW01"): a view over the loaded bytes and
// the decoders that turn a picture record into 32-bit pixels and a mask record
// into a byte plane. Platform-free; the surfaces that receive the pixels live
// in DrawSurface.h.
//
// A picture record's stream, after its 20-byte header, in bytes; a colour is
// B G R, E is the record's escape byte, n a count:
//
//   encoding 0   B G R per pixel, rows padded to a multiple of 4 bytes (the
//                last may omit its fill)
//   encoding 4   c G R       one pixel, blue c (c != E)
//                E FF G R    one pixel, blue E
//                E n B G R   n pixels (0 < n < FF)
//                E 00        end
//   encoding 8   a table of count entries, B G R and one unused byte each;
//                c G R, E FF G R as in encoding 4, then with one entry
//                E n         n pixels of the entry (0 < n < FF), E 00 the end
//                and with more entries
//                E i n       n pixels of entry i < count (i != FF); n = 0 the end
//   encoding 12  g           one pixel of grey g (g != E), or c G R in colour
//                E FF        one pixel of grey E, or E FF G R in colour
//                E 00        end
//                E 01 s      colour off (s = 0) or on, with flag 0x01 only
//                E n g       n pixels of grey g, or E n B G R in colour
//
// The values then pass the delta filters (see DecodePixels).

#include <cstddef>
#include <cstdint>

// Flags of a picture record.
constexpr std::uint8_t kPicHorizontalDelta = 0x01;  // encoding 12: colour switching
constexpr std::uint8_t kPicVerticalDelta = 0x02;
constexpr std::uint8_t kPicEncodingMask = 0x0C;
constexpr std::uint8_t kPicHasMask = 0x80;
constexpr std::uint8_t kRecordIsMask = 0x10;

enum PictureEncoding : std::uint8_t {
  kEncodingRaw = 0,
  kEncodingColourRle = 4,
  kEncodingPaletteRle = 8,
  kEncodingGreyRle = 12,
};

enum MaskType : std::uint8_t {
  kMaskRaw = 0x10,
  kMaskRle = 0x11,  // pairs at 8 bits per pixel, nibble codes at 4
  kMaskValueRuns = 0x12,
};

constexpr std::size_t kRecordHeaderSize = 20;

// One record of a picture file: a colour picture or a mask plane. `size`
// counts the bytes from the record's first byte to the end of the file, so
// nothing a decoder reads lies outside the loaded buffer.
struct PictureRecord {
  const std::uint8_t* bytes = nullptr;
  std::size_t size = 0;

  std::uint8_t flags() const { return bytes[2]; }
  int width() const { return bytes[12] | (bytes[13] << 8); }
  int height() const { return bytes[14] | (bytes[15] << 8); }
  int bitsPerPixel() const { return bytes[16]; }
  int tableCount() const { return bytes[17]; }
  std::uint8_t escape() const { return bytes[18]; }
  int encoding() const { return flags() & kPicEncodingMask; }
  bool isMask() const { return (flags() & kRecordIsMask) != 0; }
  int maskType() const { return flags() & 0x1F; }
};

// A loaded picture file read in place; the buffer stays its loader's.
class Picture {
 public:
  Picture(const std::uint8_t* data, std::size_t size);

  // False when the header or the record table does not fit the buffer or the
  // magic is wrong; such a picture has no records.
  bool valid() const { return m_valid; }
  int recordCount() const { return m_valid ? m_count : 0; }

  // Record i, when i is in range and its 20-byte header lies inside the file.
  bool Record(int i, PictureRecord* out) const;
  // The first record, in table order, whose flags mark it as a mask plane.
  bool MaskRecord(PictureRecord* out) const;

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  bool m_valid = false;
  int m_count = 0;
  std::size_t m_tableOffset = 0;
  std::size_t m_baseOffset = 0;
};

bool IsPictureFile(const std::uint8_t* data, std::size_t size);

// Decodes a picture record into `pixels`: `rows` rows of `stride` words, the
// first stream row into memory row 0. Only the part of the picture that fits
// (min(width, stride) columns, min(height, rows) rows) is written, and all of
// it: where the stream stops early (an end code, or a fault), the pixels it
// did not reach count as zeros before the delta filters are undone, so the
// result never depends on what the target held. Returns 1 when the stream
// ends with its end code, early or after exactly width x height pixels; 0
// when it is malformed (too many pixels, no end code, a palette index past
// the palette, tables past the end of the file).
int DecodePixels(const PictureRecord& record, std::uint32_t* pixels, int stride, int rows);

// Decodes a mask record into `plane` (planeSize bytes; rows of the record's
// width, first stream row first). Writes at most min(planeSize, width x height)
// bytes. Returns 1 when the stream fills exactly width x height bytes and
// ends with its end code (raw planes and value runs without run values have
// none); unknown mask types decode nothing and count as well-formed. 0
// otherwise.
int DecodeMask(const PictureRecord& record, std::uint8_t* plane, std::size_t planeSize);

// The same result, decoded the plain way: the stream's values first, then the
// delta filters as two passes. Slower; the reference for tests and benchmarks.
int DecodePixelsPlain(const PictureRecord& record, std::uint32_t* pixels, int stride, int rows);

// DecodeMask's result, decoded one byte at a time; the reference for tests.
int DecodeMaskPlain(const PictureRecord& record, std::uint8_t* plane, std::size_t planeSize);

// The XOR delta filters as two plain passes over decoded rows (memory row
// order), as DecodePixelsPlain applies them.
void UndoHorizontalDelta(std::uint32_t* pixels, int stride, int width, int height);
void UndoVerticalDelta(std::uint32_t* pixels, int stride, int width, int height);
