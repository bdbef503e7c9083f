// Hand-made picture streams: the documented examples byte for byte, the
// delta filters, the mask codes and how malformed input is stopped.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "TestPictures.h"

namespace {

const std::uint32_t kA = Rgb(0x30, 0x20, 0x10);  // bytes 10 20 30
const std::uint32_t kB = Rgb(0x60, 0x50, 0x40);

// The example's stream ends three pixels short of 4 x 2: the pixels are
// decoded as described, and the ones after the end code are zeros whatever
// the target held.
TEST(ColourRle, WorkedExampleDecodesAcrossTheRowEnd) {
  Bytes rec = MakeRecord(
      0x04, 4, 2, 24, 0, 0x25,
      {0x10, 0x20, 0x30, 0x25, 0x03, 0x40, 0x50, 0x60, 0x25, 0xFF, 0x01, 0x02, 0x25, 0x00});
  int ok = 0;
  auto px = DecodeAll(rec, &ok, 0xDEAD);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(px, (std::vector<std::uint32_t>{kA, kB, kB, kB, Rgb(0x02, 0x01, 0x25), 0, 0, 0}));
}

TEST(ColourRle, EncoderWritesTheWorkedExampleWithVerticalDelta) {
  // Two equal rows: the second is stored as a run of four zero pixels.
  std::vector<std::uint32_t> px = {kA, kB, kB, kB, kA, kB, kB, kB};
  PictureEncodeOptions o;
  o.encoding = kEncodingColourRle;
  o.verticalDelta = true;
  o.escape = 0x25;
  Bytes rec;
  std::string error;
  ASSERT_TRUE(EncodePictureRecord(px.data(), 4, 2, o, false, &rec, &error));
  Bytes stream(rec.begin() + kRecordHeaderSize, rec.end());
  EXPECT_EQ(stream, (Bytes{0x10, 0x20, 0x30, 0x25, 0x03, 0x40, 0x50, 0x60, 0x25, 0x04, 0x00, 0x00,
                           0x00, 0x25, 0x00}));
  EXPECT_EQ(rec[2], 0x06);
  EXPECT_EQ(DecodeAll(rec), px);
}

TEST(ColourRle, EscapeThenFFIsALiteralWithTheEscapeAsBlue) {
  // A run of 255 cannot exist: E FF G R is always one pixel.
  Bytes rec =
      MakeRecord(0x04, 2, 1, 24, 0, 0xB6, {0xB6, 0xFF, 0x11, 0x22, 0x01, 0x02, 0x03, 0xB6, 0x00});
  int ok = 0;
  auto px = DecodeAll(rec, &ok);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(px, (std::vector<std::uint32_t>{Rgb(0x22, 0x11, 0xB6), Rgb(0x03, 0x02, 0x01)}));
}

TEST(ColourRle, RunsCrossSeveralRowEnds) {
  Bytes rec =
      MakeRecord(0x04, 3, 3, 24, 0, 0x25,
                 {0x01, 0x01, 0x01, 0x25, 0x07, 0x40, 0x50, 0x60, 0x02, 0x02, 0x02, 0x25, 0x00});
  auto px = DecodeAll(rec);
  EXPECT_EQ(px, (std::vector<std::uint32_t>{0x010101, kB, kB, kB, kB, kB, kB, kB, 0x020202}));
}

TEST(PaletteRle, OneEntryReadsEscapeCountAsRunsOfEntryZero) {
  Bytes palette = {0x40, 0x50, 0x60, 0x99};  // fourth byte is not read
  Bytes body = palette;
  body.insert(body.end(), {0x08, 0x05, 0x01, 0x02, 0x03, 0x08, 0x00});
  int ok = 0;
  auto px = DecodeAll(MakeRecord(0x08, 6, 1, 24, 1, 0x08, body), &ok);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(px, (std::vector<std::uint32_t>{kB, kB, kB, kB, kB, Rgb(3, 2, 1)}));
}

TEST(PaletteRle, SeveralEntriesReadEscapeIndexCount) {
  Bytes body;
  for (int i = 0; i < 6; ++i) body.insert(body.end(), {static_cast<std::uint8_t>(i), 0, 0, 0});
  // E 05 02: two pixels of entry 5, then E 00 03: three of entry 0, then end.
  body.insert(body.end(), {0x08, 0x05, 0x02, 0x08, 0x00, 0x03, 0x08, 0x00, 0x00});
  int ok = 0;
  auto px = DecodeAll(MakeRecord(0x08, 5, 1, 24, 6, 0x08, body), &ok);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(px, (std::vector<std::uint32_t>{5, 5, 0, 0, 0}));
}

struct GreyCase {
  const char* name;
  std::uint8_t flags;
  Bytes stream;
  std::vector<std::uint32_t> expected;
};

class GreyRle : public ::testing::TestWithParam<GreyCase> {};

TEST_P(GreyRle, Decodes) {
  const GreyCase& c = GetParam();
  int ok = 0;
  auto px = DecodeAll(
      MakeRecord(c.flags, static_cast<int>(c.expected.size()), 1, 24, 0, 0x25, c.stream), &ok);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(px, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, GreyRle,
    ::testing::Values(
        GreyCase{"literals_escape_and_run",
                 0x0C,
                 {0x10, 0x25, 0xFF, 0x25, 0x02, 0x80, 0x25, 0x00},
                 {0x101010, 0x252525, 0x808080, 0x808080}},
        GreyCase{"run_of_one_without_switching", 0x0C, {0x25, 0x01, 0x07, 0x25, 0x00}, {0x070707}},
        // Flag 0x01 means colour switching here, not a horizontal delta.
        GreyCase{"no_horizontal_delta", 0x0D, {0x10, 0x10, 0x25, 0x00}, {0x101010, 0x101010}},
        GreyCase{"switch_on_and_off",
                 0x0D,
                 {0x10, 0x25, 0x01, 0x01, 0x01, 0x02, 0x03, 0x25, 0x02, 0x04, 0x05,
                  0x06, 0x25, 0xFF, 0x07, 0x08, 0x25, 0x01, 0x00, 0x20, 0x25, 0x00},
                 {0x101010, Rgb(3, 2, 1), Rgb(6, 5, 4), Rgb(6, 5, 4), Rgb(8, 7, 0x25), 0x202020}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GreyRleFlags, VerticalDeltaFlagIsIgnored) {
  // 1 x 2 with flag 0x02: a vertical delta would turn the second row into 0.
  auto px = DecodeAll(MakeRecord(0x0E, 1, 2, 24, 0, 0x25, {0x10, 0x10, 0x25, 0x00}));
  EXPECT_EQ(px, (std::vector<std::uint32_t>{0x101010, 0x101010}));
}

TEST(DeltaFilters, HorizontalKeepsPixelZeroAndAccumulates) {
  std::vector<std::uint32_t> px = {0x000001, 0x000002, 0x000004, 0x100000, 0x000001, 0x000001};
  UndoHorizontalDelta(px.data(), 3, 3, 2);
  EXPECT_EQ(
      px, (std::vector<std::uint32_t>{0x000001, 0x000003, 0x000007, 0x100000, 0x100001, 0x100000}));
}

TEST(DeltaFilters, VerticalKeepsMemoryRowZero) {
  std::vector<std::uint32_t> px = {0x000001, 0x000002, 0x000010, 0x000020, 0x000100, 0x000200};
  UndoVerticalDelta(px.data(), 2, 2, 3);
  EXPECT_EQ(
      px, (std::vector<std::uint32_t>{0x000001, 0x000002, 0x000011, 0x000022, 0x000111, 0x000222}));
}

TEST(Raw, WidthFiveReadsSixteenBytesPerRow) {
  Bytes body;
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 5; ++x)
      body.insert(body.end(), {static_cast<std::uint8_t>(16 * row + x), 0, 0});
    body.push_back(0xAA);  // fill byte, never a pixel
  }
  int ok = 0;
  auto px = DecodeAll(MakeRecord(0x00, 5, 2, 24, 0, 0, body), &ok);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(px, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 16, 17, 18, 19, 20}));
}

struct MaskCase {
  const char* name;
  std::uint8_t flags;
  int bits;
  int count;
  int width;
  Bytes body;
  Bytes expected;
};

class MaskStreams : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MaskStreams, Decode) {
  const MaskCase& c = GetParam();
  int ok = 0;
  Bytes plane = DecodeMaskAll(MakeRecord(c.flags, c.width, 1, c.bits, c.count, 0, c.body), &ok);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(plane, c.expected);
}

Bytes Repeat(std::uint8_t v, std::size_t n) { return Bytes(n, v); }

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

INSTANTIATE_TEST_SUITE_P(
    Types, MaskStreams,
    ::testing::Values(
        MaskCase{"raw", 0x10, 8, 0, 3, {1, 2, 3}, {1, 2, 3}},
        MaskCase{"pairs", 0x11, 8, 0, 5, {0xFF, 2, 0x00, 3, 0x00, 0x00}, {0xFF, 0xFF, 0, 0, 0}},
        MaskCase{"nibble_high_count", 0x11, 4, 0, 3, {0x3C, 0, 0, 0, 0}, {0xCC, 0xCC, 0xCC}},
        MaskCase{"nibble_sixteen_bit_count",
                 0x11,
                 4,
                 0,
                 300,
                 {0x05, 0x00, 0x2C, 0x01, 0, 0, 0, 0},
                 Repeat(0x55, 300)},
        MaskCase{"nibble_byte_count", 0x11, 4, 0, 20, {0x0F, 20, 0, 0, 0, 0}, Repeat(0xFF, 20)},
        MaskCase{"value_runs_without_values_copy", 0x12, 8, 0, 4, {0, 0, 7, 0}, {0, 0, 7, 0}},
        MaskCase{"value_runs",
                 0x12,
                 8,
                 2,
                 301,
                 {0x00, 0xFF, 0x00, 0x00, 0x2B, 0x01, 0x09, 0xFF, 0x01, 0x00, 0x00, 0x00, 0x00},
                 Concat(Repeat(0, 299), {0x09, 0xFF})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MaskStreams, UnknownTypesDecodeNothingAndSucceed) {
  for (std::uint8_t flags : {0x13, 0x1F}) {
    int ok = 0;
    Bytes plane = DecodeMaskAll(MakeRecord(flags, 2, 1, 8, 0, 0, {1, 2}), &ok);
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(plane, (Bytes{0xEE, 0xEE}));
  }
  int ok = 0;
  EXPECT_EQ(DecodeMaskAll(MakeRecord(0x11, 2, 1, 2, 0, 0, {1, 2}), &ok), (Bytes{0xEE, 0xEE}));
  EXPECT_EQ(ok, 1);
}

// ---- malformed input: stop, report 0, never touch anything outside ---------

struct BadPicture {
  const char* name;
  Bytes record;
};

class MalformedPictures : public ::testing::TestWithParam<BadPicture> {};

TEST_P(MalformedPictures, StopInsideTheTarget) {
  const Bytes& rec = GetParam().record;
  PictureRecord r = View(rec);
  const std::size_t n = static_cast<std::size_t>(r.width()) * r.height();
  // Guard words on both sides of the target catch any stray write.
  std::vector<std::uint32_t> buf(n + 16, 0xCAFEF00D);
  EXPECT_EQ(DecodePixels(r, buf.data() + 8, r.width(), r.height()), 0);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(buf[i], 0xCAFEF00Du);
    EXPECT_EQ(buf[n + 8 + i], 0xCAFEF00Du);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Streams, MalformedPictures,
    ::testing::Values(
        BadPicture{"too_many_pixels_literal",
                   MakeRecord(0x04, 1, 1, 24, 0, 0x25, {1, 2, 3, 4, 5, 6, 0x25, 0})},
        BadPicture{"run_past_the_end",
                   MakeRecord(0x04, 2, 2, 24, 0, 0x25, {0x25, 0x05, 1, 2, 3, 0x25, 0})},
        BadPicture{"no_end_code", MakeRecord(0x04, 2, 2, 24, 0, 0x25, {0x25, 0x04, 1, 2, 3})},
        BadPicture{"cut_inside_a_token", MakeRecord(0x04, 2, 2, 24, 0, 0x25, {0x25, 0x04, 1})},
        BadPicture{"palette_index_past_palette",
                   MakeRecord(0x08, 2, 1, 24, 2, 0x25,
                              {1, 1, 1, 0, 2, 2, 2, 0, 0x25, 0x02, 0x02, 0x25, 0, 0})},
        BadPicture{"palette_past_the_file", MakeRecord(0x08, 2, 1, 24, 200, 0x25, {0x25, 0, 0})},
        BadPicture{"grey_run_past_the_end",
                   MakeRecord(0x0C, 2, 1, 24, 0, 0x25, {0x25, 0x03, 0x07, 0x25, 0})},
        BadPicture{"raw_rows_missing", MakeRecord(0x00, 2, 2, 24, 0, 0, {1, 2, 3, 4, 5, 6, 0, 0})},
        BadPicture{"width_zero_with_pixels",
                   MakeRecord(0x04, 0, 5, 24, 0, 0x25, {1, 2, 3, 0x25, 0})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MaskStreams, AnEarlyEndCodeLeavesTheRestOfThePlane) {
  // Small and large planes: a large one is filled by a faster route.
  const Bytes rec = MakeRecord(0x11, 40, 25, 8, 0, 0, {0xFF, 3, 0, 0});
  for (const std::size_t planeSize : {4, 200, 1000}) {
    Bytes plane(planeSize, 0x5A);
    EXPECT_EQ(DecodeMask(View(rec), plane.data(), planeSize), 1);
    Bytes expected(planeSize, 0x5A);
    std::fill(expected.begin(), expected.begin() + 3, 0xFF);
    EXPECT_EQ(plane, expected) << planeSize;
  }
}

TEST(MaskStreams, LongPlanesFillExactlyWholeOrCut) {
  // 40 x 25 in pairs of every count; fills run ahead of the pairs in blocks.
  Bytes body, expected;
  for (int i = 0; expected.size() < 1000; ++i) {
    const int n = std::min(1 + i * 37 % 255, 1000 - static_cast<int>(expected.size()));
    const std::uint8_t value = static_cast<std::uint8_t>(i * 13 + 1);
    body.insert(body.end(), {value, static_cast<std::uint8_t>(n)});
    expected.insert(expected.end(), n, value);
  }
  body.insert(body.end(), {0, 0});
  const Bytes rec = MakeRecord(0x11, 40, 25, 8, 0, 0, body);
  for (const std::size_t planeSize : {1000, 300}) {
    Bytes buf(1000 + 32, 0x5A);
    EXPECT_EQ(DecodeMask(View(rec), buf.data(), planeSize), 1);
    EXPECT_EQ(Bytes(buf.begin(), buf.begin() + planeSize),
              Bytes(expected.begin(), expected.begin() + planeSize));
    EXPECT_EQ(Bytes(buf.begin() + planeSize, buf.end()), Bytes(1032 - planeSize, 0x5A))
        << planeSize;
  }
}

TEST(MalformedMasks, OverlongAndUnterminatedStreamsStopAtThePlane) {
  const Bytes bad[] = {
      MakeRecord(0x11, 2, 2, 8, 0, 0, {0xFF, 9, 0, 0}),           // run past the plane
      MakeRecord(0x11, 2, 2, 8, 0, 0, {0xFF, 4}),                 // no end code
      MakeRecord(0x11, 2, 2, 4, 0, 0, {0x0F, 0x00, 0xFF, 0xFF}),  // 65535 bytes into 4
      MakeRecord(0x12, 2, 2, 8, 1, 0, {0x07, 0x07, 0x09, 0, 0, 0}),
      MakeRecord(0x12, 2, 2, 8, 200, 0, {0x07}),   // run values past the file
      MakeRecord(0x10, 2, 2, 8, 0, 0, {1, 2, 3}),  // raw plane cut short
  };
  for (const Bytes& rec : bad) {
    Bytes buf(4 + 16, 0x5A);
    EXPECT_EQ(DecodeMask(View(rec), buf.data() + 8, 4), 0);
    for (int i = 0; i < 8; ++i) {
      EXPECT_EQ(buf[i], 0x5A);
      EXPECT_EQ(buf[12 + i], 0x5A);
    }
  }
}

TEST(Clipping, ASmallerTargetGetsTheSameCornerAsAFullDecode) {
  // A 7x5 picture decoded into a 4-word stride and 3 rows, with every filter
  // combination (the vertical filter alone takes the fused path).
  std::vector<std::uint32_t> src(35);
  for (std::size_t i = 0; i < src.size(); ++i) src[i] = static_cast<std::uint32_t>(i * 0x010307);
  for (int f = 0; f < 4; ++f) {
    PictureEncodeOptions o;
    o.horizontalDelta = (f & 1) != 0;
    o.verticalDelta = (f & 2) != 0;
    o.escape = 0x25;
    Bytes rec;
    std::string error;
    ASSERT_TRUE(EncodePictureRecord(src.data(), 7, 5, o, false, &rec, &error));
    std::vector<std::uint32_t> small(4 * 3 + 8, 0xCAFEF00D);
    EXPECT_EQ(DecodePixels(View(rec), small.data(), 4, 3), 1);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(small[y * 4 + x], src[y * 7 + x]) << "filters " << f << " at " << x << "," << y;
      }
    }
    for (int i = 12; i < 20; ++i) EXPECT_EQ(small[i], 0xCAFEF00Du);
  }
}

// ---- the file: header, table, records ---------------------------------------

TEST(PictureFile, RecordsAndMaskRecordFollowTheTable) {
  Bytes pic = MakeRecord(0x84, 1, 1, 24, 0, 0x25, {1, 2, 3, 0x25, 0});
  Bytes mask = MakeRecord(0x11, 1, 1, 8, 0, 0, {7, 1, 0, 0});
  Bytes file = AssemblePicture({pic, Bytes(pic), mask});
  Picture p(file.data(), file.size());
  ASSERT_TRUE(p.valid());
  EXPECT_EQ(p.recordCount(), 3);
  PictureRecord r;
  ASSERT_TRUE(p.MaskRecord(&r));
  EXPECT_EQ(r.bytes, file.data() + 28 + 28 + 28);  // two padded 25-byte records before it
  EXPECT_FALSE(p.Record(3, &r));
  EXPECT_FALSE(p.Record(-1, &r));
}

TEST(PictureFile, BadHeadersAndOffsetsGiveNoRecord) {
  Bytes pic = MakeRecord(0x04, 1, 1, 24, 0, 0x25, {1, 2, 3, 0x25, 0});
  Bytes good = AssemblePicture({pic});
  PictureRecord r;

  Bytes magic = good;
  magic[3] = '2';
  EXPECT_FALSE(Picture(magic.data(), magic.size()).valid());

  Bytes shortHeader(good.begin(), good.begin() + 15);
  EXPECT_FALSE(Picture(shortHeader.data(), shortHeader.size()).valid());

  Bytes tablePast = good;
  tablePast[8] = 0xFF;  // 255 records: the table runs past the file
  EXPECT_FALSE(Picture(tablePast.data(), tablePast.size()).valid());

  Bytes offsetPast = good;
  offsetPast[16 + 3] = 0xFF;  // record 0 far beyond the end
  Picture p(offsetPast.data(), offsetPast.size());
  EXPECT_TRUE(p.valid());
  EXPECT_FALSE(p.Record(0, &r));

  Bytes headerCut(good.begin(), good.begin() + 20 + 19);  // record header one byte short
  EXPECT_FALSE(Picture(headerCut.data(), headerCut.size()).Record(0, &r));

  Bytes none = AssemblePicture({});
  EXPECT_EQ(Picture(none.data(), none.size()).recordCount(), 0);
}

}  // namespace
