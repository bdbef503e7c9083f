// MaskRegion: the region built from mask rows, read back with GetRegionData
// and compared pixel by pixel with the inside pixels of the mask.
#include "ImagingTestSupport.h"

namespace {

// The region's rectangles as a coverage map of w x h (top-down), plus how
// many rectangles GetRegionData returned.
std::vector<int> Coverage(HRGN region, int w, int h, int* rects) {
  std::vector<int> map(static_cast<std::size_t>(w) * h, 0);
  *rects = 0;
  if (region == nullptr) return map;
  DWORD size = GetRegionData(region, 0, nullptr);
  std::vector<char> buf(size);
  RGNDATA* data = reinterpret_cast<RGNDATA*>(buf.data());
  if (GetRegionData(region, size, data) == 0) return map;
  const RECT* r = reinterpret_cast<const RECT*>(data->Buffer);
  *rects = static_cast<int>(data->rdh.nCount);
  for (DWORD i = 0; i < data->rdh.nCount; ++i) {
    for (int y = r[i].top; y < r[i].bottom; ++y) {
      for (int x = r[i].left; x < r[i].right; ++x) {
        if (x < 0 || y < 0 || x >= w || y >= h) {
          ADD_FAILURE() << "rectangle outside the mask at " << x << "," << y;
          continue;
        }
        map[y * w + x] += 1;
      }
    }
  }
  return map;
}

// Stored rows (bottom first) for a top-down inside map at the given depth.
Bytes Rows(const std::vector<int>& inside, int w, int h, int bits) {
  const int stride = ((w * bits + 31) / 32) * 4;
  Bytes rows(static_cast<std::size_t>(stride) * h, 0);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = &rows[static_cast<std::size_t>(h - 1 - y) * stride];
    for (int x = 0; x < w; ++x) {
      const int v = inside[y * w + x] ? 0 : 1;
      if (bits == 1) row[x / 8] |= static_cast<std::uint8_t>(v << (7 - x % 8));
      if (bits == 4) row[x / 2] |= static_cast<std::uint8_t>(x % 2 ? v * 9 : (v * 9) << 4);
      if (bits == 8) row[x] = static_cast<std::uint8_t>(v * 200);
    }
  }
  return rows;
}

TEST(MaskRegion, RegionCoversExactlyTheInsidePixelsAtEveryDepth) {
  const int w = 13, h = 7;
  std::vector<int> inside(w * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      inside[y * w + x] = ((x * 7 + y * 3) % 5 != 0) && !(y == 0 && x < 2);
  }
  for (int bits : {1, 4, 8}) {
    Bytes rows = Rows(inside, w, h, bits);
    MaskRegion m;
    ASSERT_EQ(m.Build(rows.data(), rows.size(), w, h, bits), 1) << bits;
    int rects = 0;
    EXPECT_EQ(Coverage(m.GetRegion(), w, h, &rects), inside) << bits;
  }
}

TEST(MaskRegion, AllInsideAllOutsideAndTwoRuns) {
  const int w = 102, h = 132;
  std::vector<int> all(w * h, 1);
  Bytes rows = Rows(all, w, h, 1);
  MaskRegion m;
  ASSERT_EQ(m.Build(rows.data(), rows.size(), w, h, 1), 1);
  int rects = 0;
  EXPECT_EQ(Coverage(m.GetRegion(), w, h, &rects), all);
  EXPECT_EQ(rects, 1);  // one rectangle per row, merged by GDI into the whole mask
  RECT box;
  GetRgnBox(m.GetRegion(), &box);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, w);
  EXPECT_EQ(box.bottom, h);

  std::vector<int> none(w * h, 0);
  Bytes outside = Rows(none, w, h, 1);
  MaskRegion empty;
  EXPECT_EQ(empty.Build(outside.data(), outside.size(), w, h, 1), 0);
  EXPECT_EQ(empty.GetRegion(), nullptr);

  std::vector<int> two(5 * 1, 0);
  two[0] = two[1] = two[3] = 1;  // runs 0..2 and 3..4
  Bytes tworows = Rows(two, 5, 1, 1);
  MaskRegion t;
  ASSERT_EQ(t.Build(tworows.data(), tworows.size(), 5, 1, 1), 1);
  EXPECT_EQ(Coverage(t.GetRegion(), 5, 1, &rects), two);
  EXPECT_EQ(rects, 2);
}

TEST(MaskRegion, TopRowOfTheRegionIsTheLastStoredRow) {
  const int w = 102, h = 3;
  Bytes rows(16 * h, 0xFF);
  rows[16 * 2 + 12] = 0xFB;  // last stored row: only pixel 101 (bit 2 of byte 12) inside
  MaskRegion m;
  ASSERT_EQ(m.Build(rows.data(), rows.size(), w, h, 1), 1);
  RECT box;
  GetRgnBox(m.GetRegion(), &box);
  EXPECT_EQ(box.left, 101);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 102);
  EXPECT_EQ(box.bottom, 1);
  // While the build's rows are still valid, the scan helpers read them too.
  EXPECT_EQ(m.rowStride, 16);
  EXPECT_EQ(m.PixelAt(101, 0), 0);
  EXPECT_EQ(m.PixelAt(100, 0), 1);
  EXPECT_EQ(m.FindRunStart(0, 0, w), 101);
  EXPECT_EQ(m.FindRunEnd(101, 0, w), w);
  EXPECT_EQ(m.FindRunStart(0, 1, w), w);
}

TEST(MaskRegion, FourBitOddWidthReadsTheHighHalfForItsLastPixel) {
  // Width 5: rows of 4 bytes; pixel 4 is the high half of byte 2.
  Bytes rows = {0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x0F, 0x00};
  MaskRegion m;
  ASSERT_EQ(m.Build(rows.data(), rows.size(), 5, 2, 4), 1);
  int rects = 0;
  // Bottom row (stored first) has pixel 4 outside; top row is all inside.
  EXPECT_EQ(Coverage(m.GetRegion(), 5, 2, &rects),
            (std::vector<int>{1, 1, 1, 1, 1, 1, 1, 1, 1, 0}));
}

TEST(MaskRegion, RebuildingAndReleasingLeakNothing) {
  std::vector<int> inside(40 * 30);
  for (std::size_t i = 0; i < inside.size(); ++i) inside[i] = (i / 3) % 2;
  Bytes rows = Rows(inside, 40, 30, 8);
  {
    MaskRegion warm;
    warm.Build(rows.data(), rows.size(), 40, 30, 8);
  }
  const int before = GdiHeadroom();
  for (int i = 0; i < 50; ++i) {
    MaskRegion m;
    ASSERT_EQ(m.Build(rows.data(), rows.size(), 40, 30, 8), 1);
    ASSERT_EQ(m.Build(rows.data(), rows.size(), 40, 30, 8), 1);  // replaces the first region
    m.Release();
    m.Release();
    EXPECT_EQ(m.GetRegion(), nullptr);
  }
  EXPECT_EQ(GdiHeadroom(), before);
}

TEST(MaskRegion, BmpFilesAreReadWithTheirHeadersAndRefusedWhenDamaged) {
  Bytes bmp = MakeBmp(8, 2, 1, {0x000000, 0xFFFFFF}, {0x0F, 0, 0, 0, 0xF0, 0, 0, 0});
  MaskRegion m;
  ASSERT_EQ(m.LoadFromMemory(bmp.data(), bmp.size()), 1);
  EXPECT_EQ(m.pixels, nullptr);  // the rows were the caller's
  int rects = 0;
  EXPECT_EQ(Coverage(m.GetRegion(), 8, 2, &rects),
            (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0}));
  const Bytes bad[] = {
      Bytes(bmp.begin(), bmp.end() - 1),              // rows cut short
      MakeBmp(8, -2, 1, {0, 0xFFFFFF}, Bytes(8, 0)),  // top-down
      MakeBmp(8, 2, 24, {}, Bytes(64, 0)),            // no mask depth
      MakeBmp(0, 2, 1, {0, 0xFFFFFF}, Bytes(8, 0)),   // no width
      Bytes(bmp.begin(), bmp.begin() + 40),           // header cut
  };
  for (const Bytes& b : bad) {
    MaskRegion r;
    EXPECT_EQ(r.LoadFromMemory(b.data(), b.size()), 0);
    EXPECT_EQ(r.GetRegion(), nullptr);
  }
}

}  // namespace
