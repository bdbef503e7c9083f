// The platform-free halves of surfaces and mask regions: blit clipping, BMP
// row conversion and mask run scanning, on plain buffers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestPictures.h"
#include "imaging/BmpRows.h"
#include "imaging/MaskScan.h"
#include "imaging/PixelOps.h"
#include "imaging/PixelRepeat.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

// A surface in memory order whose pixel at top-down (x, y) holds y * 100 + x.
Pixels Numbered(int w, int h) {
  Pixels p(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) p[static_cast<std::size_t>(h - 1 - y) * w + x] = y * 100 + x;
  }
  return p;
}

std::uint32_t At(const Pixels& p, int w, int h, int x, int y) {
  return p[static_cast<std::size_t>(h - 1 - y) * w + x];
}

struct BlitCase {
  const char* name;
  int dx, dy, w, h, sx, sy;
};

class Blit : public ::testing::TestWithParam<BlitCase> {};

// Destination 10 x 8 filled with 0xFFFFFFFF, source 12 x 9 numbered. Every
// destination pixel inside the clipped rectangle must hold the source pixel at
// the same offset; every other pixel must be untouched.
TEST_P(Blit, CopiesExactlyThePartInsideWithMatchingSourcePixels) {
  const BlitCase& c = GetParam();
  const int dw = 10, dh = 8, sw = 12, sh = 9;
  Pixels dst(dw * dh, 0xFFFFFFFF);
  const Pixels src = Numbered(sw, sh);
  BlitSpan span;
  if (ClipBlit(dw, dh, sw, sh, c.dx, c.dy, c.w, c.h, c.sx, c.sy, &span)) {
    CopySpan(dst.data(), dw, src.data(), sw, span);
  }
  int copied = 0;
  for (int y = 0; y < dh; ++y) {
    for (int x = 0; x < dw; ++x) {
      bool inside = x >= c.dx && x < static_cast<long long>(c.dx) + c.w && y >= c.dy &&
                    y < static_cast<long long>(c.dy) + c.h;
      if (inside) {
        ++copied;
        EXPECT_EQ(At(dst, dw, dh, x, y), At(src, sw, sh, x - c.dx + c.sx, y - c.dy + c.sy))
            << x << "," << y;
      } else {
        EXPECT_EQ(At(dst, dw, dh, x, y), 0xFFFFFFFFu) << x << "," << y;
      }
    }
  }
  if (copied == 0) {
    EXPECT_FALSE(ClipBlit(dw, dh, sw, sh, c.dx, c.dy, c.w, c.h, c.sx, c.sy, &span));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Blit,
    ::testing::Values(
        BlitCase{"inside", 2, 1, 5, 4, 3, 2}, BlitCase{"left_by_5", -5, 1, 8, 3, 0, 0},
        BlitCase{"right", 7, 2, 6, 3, 1, 1}, BlitCase{"top", 1, -2, 4, 5, 2, 3},
        BlitCase{"bottom_by_3", 0, 6, 4, 5, 0, 1}, BlitCase{"all_sides", -2, -1, 13, 10, 0, 0},
        BlitCase{"width_zero", 1, 1, 0, 3, 0, 0}, BlitCase{"height_negative", 1, 1, 3, -2, 0, 0},
        BlitCase{"wholly_left", -6, 1, 5, 3, 0, 0}, BlitCase{"wholly_below", 1, 8, 3, 3, 0, 0},
        BlitCase{"huge_offsets", 2147483600, 3, 2147483647, 2, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Blit, SpanForLeftAndBottomOverhangSkipsSourceColumnsAndLowRows) {
  // 5 columns past the left edge skip 5 source columns; 3 rows below the
  // bottom skip the 3 lowest rows of the source rectangle.
  BlitSpan s;
  ASSERT_TRUE(ClipBlit(20, 10, 30, 30, -5, 8, 10, 5, 2, 4, &s));
  EXPECT_EQ(s.srcCol, 7);
  EXPECT_EQ(s.cols, 5);
  EXPECT_EQ(s.rows, 2);
  EXPECT_EQ(s.dstRow, 0);
  EXPECT_EQ(s.srcRow, 30 - 4 - 5 + 3);
}

TEST(Blit, SourceRectangleOutsideTheSourceIsClippedToo) {
  BlitSpan s;
  ASSERT_TRUE(ClipBlit(10, 10, 4, 4, 0, 0, 10, 10, 2, 2, &s));
  EXPECT_EQ(s.cols, 2);
  EXPECT_EQ(s.rows, 2);
  EXPECT_FALSE(ClipBlit(10, 10, 4, 4, 0, 0, 3, 3, 4, 0, &s));
}

TEST(SurfaceSize, LimitsKeepByteCountsBelowTwoGigabytes) {
  EXPECT_TRUE(SurfaceSizeValid(1, 1));
  EXPECT_TRUE(SurfaceSizeValid(8192, 8192));
  EXPECT_FALSE(SurfaceSizeValid(0, 5));
  EXPECT_FALSE(SurfaceSizeValid(5, -1));
  EXPECT_FALSE(SurfaceSizeValid(65536, 65536));
}

// ---- BMP files ---------------------------------------------------------------

std::vector<std::uint32_t> GreyTable(int n) {
  std::vector<std::uint32_t> t;
  for (int i = 0; i < n; ++i) t.push_back(static_cast<std::uint32_t>(i) * 0x010101 + 0x000100);
  return t;
}

Pixels Convert(const Bytes& bmp, int dw, int dh, int x, int y, int* ok) {
  BmpInfo info;
  EXPECT_TRUE(ReadBmpInfo(bmp.data(), bmp.size(), &info));
  Pixels px(static_cast<std::size_t>(dw) * dh, 0xEEEEEEEE);
  *ok = ConvertBmpRows(bmp.data(), bmp.size(), info, px.data(), dw, dh, x, y);
  return px;
}

class Bmp8Width : public ::testing::TestWithParam<int> {};

TEST_P(Bmp8Width, RowsStartAtFourByteBoundariesAndComeOutUpright) {
  const int w = GetParam(), h = 3;
  const std::size_t stride = (w + 3) / 4 * 4;
  Bytes rows(stride * h, 0xFE);  // fill bytes point past the table
  for (int r = 0; r < h; ++r) {
    for (int x = 0; x < w; ++x) rows[r * stride + x] = static_cast<std::uint8_t>(r * 10 + x);
  }
  int ok = 0;
  Pixels px = Convert(MakeBmp(w, h, 8, GreyTable(256), rows), w, h, 0, 0, &ok);
  EXPECT_EQ(ok, 1);
  for (int r = 0; r < h; ++r) {
    for (int x = 0; x < w; ++x) {
      // Memory row r of the surface is stored row r of the file.
      EXPECT_EQ(px[r * w + x], static_cast<std::uint32_t>(r * 10 + x) * 0x010101 + 0x100);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Widths, Bmp8Width, ::testing::Values(1, 2, 3, 4, 5, 6, 7));

TEST(Bmp, TwentyFourBitWidthOneReadsOneFillByte) {
  Bytes rows = {0x01, 0x02, 0x03, 0xAA, 0x04, 0x05, 0x06, 0xAA};
  int ok = 0;
  Pixels px = Convert(MakeBmp(1, 2, 24, {}, rows), 1, 2, 0, 0, &ok);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(px, (Pixels{0x030201, 0x060504}));
}

TEST(Bmp, OneAndFourBitGoThroughTheColourTable) {
  int ok = 0;
  // Width 10, 1 bit: 1011000001 then fill.
  Pixels one =
      Convert(MakeBmp(10, 1, 1, {0x112233, 0x445566}, {0xB0, 0x40, 0, 0}), 10, 1, 0, 0, &ok);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(one, (Pixels{0x445566, 0x112233, 0x445566, 0x445566, 0x112233, 0x112233, 0x112233,
                         0x112233, 0x112233, 0x445566}));
  Pixels four = Convert(MakeBmp(3, 1, 4, GreyTable(16), {0x1F, 0x20, 0, 0}), 3, 1, 0, 0, &ok);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(four, (Pixels{0x010101 + 0x100, 0x0F0F0F + 0x100, 0x020202 + 0x100}));
}

TEST(Bmp, PlacementAndClippingIntoALargerOrSmallerSurface) {
  // 2 x 2 BMP, top row (stored last) = 3 4, bottom row = 1 2.
  Bytes rows = {1, 2, 0, 0, 3, 4, 0, 0};
  Bytes bmp = MakeBmp(2, 2, 8, GreyTable(8), rows, 8);
  int ok = 0;
  Pixels px = Convert(bmp, 4, 3, 1, 0, &ok);  // top-left corner at (1, 0)
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(At(px, 4, 3, 1, 0), 0x030303u + 0x100);
  EXPECT_EQ(At(px, 4, 3, 2, 1), 0x020202u + 0x100);
  EXPECT_EQ(At(px, 4, 3, 0, 0), 0xEEEEEEEEu);
  // At (-1, 1) only pixel 4 lands, at (0, 1): the bottom row, memory row 0.
  Pixels clipped = Convert(bmp, 2, 2, -1, 1, &ok);
  EXPECT_EQ(clipped, (Pixels{0x040404 + 0x100, 0xEEEEEEEE, 0xEEEEEEEE, 0xEEEEEEEE}));
}

TEST(Bmp, RefusedDepthsTruncatedRowsAndBadHeaders) {
  int ok = 1;
  Convert(MakeBmp(1, 1, 16, {}, {0, 0, 0, 0}), 1, 1, 0, 0, &ok);
  EXPECT_EQ(ok, 0);
  Convert(MakeBmp(1, 1, 32, {}, {0, 0, 0, 0}), 1, 1, 0, 0, &ok);
  EXPECT_EQ(ok, 0);
  Convert(MakeBmp(2, 3, 24, {}, Bytes(8 * 2, 7)), 2, 3, 0, 0, &ok);  // third row missing
  EXPECT_EQ(ok, 0);
  BmpInfo info;
  Bytes tiny(53, 0);
  EXPECT_FALSE(ReadBmpInfo(tiny.data(), tiny.size(), &info));
  Bytes table = MakeBmp(1, 1, 8, {}, {});  // claims 256 table entries that are not there
  EXPECT_FALSE(ReadBmpInfo(table.data(), table.size(), &info));
  Bytes used = MakeBmp(1, 1, 8, {0x123456, 0x654321}, {1, 0, 0, 0}, 2);  // biClrUsed = 2
  Pixels px = Convert(used, 1, 1, 0, 0, &ok);
  EXPECT_EQ(px, (Pixels{0x654321}));
}

// ---- mask bitmaps ---------------------------------------------------------------

struct MaskRun {
  int y, start, end;
  bool operator==(const MaskRun& o) const { return y == o.y && start == o.start && end == o.end; }
};

std::vector<MaskRun> Runs(const MaskBitmap& m) {
  std::vector<MaskRun> runs;
  ForEachMaskRun(m, [&](int y, int s, int e) { runs.push_back(MaskRun{y, s, e}); });
  return runs;
}

TEST(MaskScan, OneBitWidth102ReadsPixel101FromBit2OfByte12) {
  const int w = 102, h = 2;
  Bytes rows(16 * h, 0x00);
  rows[16 + 12] = 0x04;  // stored row 1 = top row y = 0
  MaskBitmap m;
  ASSERT_TRUE(MakeMaskBitmap(rows.data(), rows.size(), w, h, 1, &m));
  EXPECT_EQ(m.rowStride, 16);
  EXPECT_EQ(MaskPixelAt(m, 101, 0), 1);
  EXPECT_EQ(MaskPixelAt(m, 100, 0), 0);
  EXPECT_EQ(MaskPixelAt(m, 101, 1), 0);
  EXPECT_EQ(Runs(m), (std::vector<MaskRun>{{0, 0, 101}, {1, 0, 102}}));
}

TEST(MaskScan, FourBitOddWidthsUseTheHighHalfForTheLastPixel) {
  // Width 5: stride 4; pixels 0 1 0 0 | 2 (high half of byte 2).
  Bytes rows = {0x01, 0x00, 0x20, 0x00};
  MaskBitmap m;
  ASSERT_TRUE(MakeMaskBitmap(rows.data(), rows.size(), 5, 1, 4, &m));
  EXPECT_EQ(m.rowStride, 4);
  EXPECT_EQ(MaskPixelAt(m, 4, 0), 2);
  EXPECT_EQ(Runs(m), (std::vector<MaskRun>{{0, 0, 1}, {0, 2, 4}}));
  Bytes nine(8 * 2, 0);  // width 9: stride 8; top row's last pixel outside
  nine[8 + 4] = 0x30;
  ASSERT_TRUE(MakeMaskBitmap(nine.data(), nine.size(), 9, 2, 4, &m));
  EXPECT_EQ(Runs(m), (std::vector<MaskRun>{{0, 0, 8}, {1, 0, 9}}));
}

TEST(MaskScan, EightBitMasksAreOneBytePerPixelZeroInside) {
  Bytes rows = {0, 5, 0, 0, 0, 0, 0, 0};  // width 3, stride 4; bottom row stored first
  MaskBitmap m;
  ASSERT_TRUE(MakeMaskBitmap(rows.data(), rows.size(), 3, 2, 8, &m));
  EXPECT_EQ(Runs(m), (std::vector<MaskRun>{{0, 0, 3}, {1, 0, 1}, {1, 2, 3}}));
}

TEST(MaskScan, AllInsideAllOutsideAndRowOrder) {
  Bytes inside(4 * 3, 0x00), outside(4 * 3, 0xFF);
  MaskBitmap m;
  ASSERT_TRUE(MakeMaskBitmap(inside.data(), inside.size(), 7, 3, 1, &m));
  EXPECT_EQ(Runs(m), (std::vector<MaskRun>{{0, 0, 7}, {1, 0, 7}, {2, 0, 7}}));
  ASSERT_TRUE(MakeMaskBitmap(outside.data(), outside.size(), 7, 3, 1, &m));
  EXPECT_TRUE(Runs(m).empty());
  // Only the last stored row has inside pixels: it is the top row.
  Bytes last = outside;
  last[8] = 0x7F;
  ASSERT_TRUE(MakeMaskBitmap(last.data(), last.size(), 7, 3, 1, &m));
  EXPECT_EQ(Runs(m), (std::vector<MaskRun>{{0, 0, 1}}));
}

TEST(MaskScan, RefusesWhatItCannotRead) {
  Bytes rows(16, 0);
  MaskBitmap m;
  EXPECT_FALSE(MakeMaskBitmap(rows.data(), rows.size(), 102, 2, 1, &m));  // needs 32 bytes
  EXPECT_FALSE(MakeMaskBitmap(rows.data(), rows.size(), 4, 1, 24, &m));
  EXPECT_FALSE(MakeMaskBitmap(rows.data(), rows.size(), 4, 0, 1, &m));
  EXPECT_FALSE(MakeMaskBitmap(rows.data(), rows.size(), 4, -3, 1, &m));
  Bytes bmp = MakeBmp(8, 2, 1, {0, 0xFFFFFF}, {0x0F, 0, 0, 0, 0xF0, 0, 0, 0});
  ASSERT_TRUE(ReadMaskBmp(bmp.data(), bmp.size(), &m));
  EXPECT_EQ(Runs(m), (std::vector<MaskRun>{{0, 4, 8}, {1, 0, 4}}));
  bmp.pop_back();
  EXPECT_FALSE(ReadMaskBmp(bmp.data(), bmp.size(), &m));
}

}  // namespace

TEST(RepeatPixels, EveryPixelBecomesABlockOfItselfAndBadSizesWriteNothing) {
  const int w = 3, h = 2, k = 3;
  Pixels source = Numbered(w, h);
  Pixels target(static_cast<std::size_t>(w * k) * h * k, 0xDEAD);
  RepeatPixels(source.data(), w, h, k, target.data());
  for (int y = 0; y < h * k; ++y) {
    for (int x = 0; x < w * k; ++x) {
      ASSERT_EQ(At(target, w * k, h * k, x, y), At(source, w, h, x / k, y / k)) << x << "," << y;
    }
  }
  std::vector<std::uint8_t> bytes = {1, 2, 3, 4};
  std::vector<std::uint8_t> doubled(16, 0);
  RepeatBytes(bytes.data(), 2, 2, 2, doubled.data());
  EXPECT_EQ(doubled, (std::vector<std::uint8_t>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));

  // A factor below 1, or a result past the largest surface, is refused
  // before anything is written (the target would be too small for it).
  Pixels untouched(4, 7);
  RepeatPixels(source.data(), w, h, 0, untouched.data());
  RepeatPixels(source.data(), 1 << 13, 1 << 13, 2, untouched.data());
  EXPECT_EQ(untouched, Pixels(4, 7));
  EXPECT_FALSE(RepeatedSizeValid(1 << 13, 1 << 13, 2));
  EXPECT_FALSE(RepeatedSizeValid(1, 1, 1 << 30));
  EXPECT_TRUE(RepeatedSizeValid(1 << 12, 1 << 12, 2));
}
