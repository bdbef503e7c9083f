// DrawSurface on real DIB sections: creation, the lent DC, blits, the mask
// plane, presenting, and decoding pictures and BMPs from memory.
#include "ImagingTestSupport.h"

namespace {

TEST(DrawSurface, CreateMakesABottomUpBitfieldsSectionAndRefusesBadSizes) {
  DrawSurface s;
  ASSERT_EQ(s.Create(7, 5), 1);
  ASSERT_NE(s.info, nullptr);
  EXPECT_EQ(s.info->header.biSize, 40u);
  EXPECT_EQ(s.info->header.biWidth, 7);
  EXPECT_EQ(s.info->header.biHeight, 5);
  EXPECT_EQ(s.info->header.biPlanes, 1);
  EXPECT_EQ(s.info->header.biBitCount, 32);
  EXPECT_EQ(s.info->header.biCompression, static_cast<DWORD>(BI_BITFIELDS));
  EXPECT_EQ(s.info->colourMasks[0], 0x00FF0000u);
  EXPECT_EQ(s.info->colourMasks[1], 0x0000FF00u);
  EXPECT_EQ(s.info->colourMasks[2], 0x000000FFu);
  DIBSECTION dib;
  ASSERT_EQ(GetObjectA(s.bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmBits, s.pixels);
  EXPECT_EQ(dib.dsBmih.biHeight, 5);  // positive: memory row 0 is the bottom
  for (auto size : {std::make_pair(0, 5), std::make_pair(5, 0), std::make_pair(-3, 4),
                    std::make_pair(70000, 70000)}) {
    EXPECT_EQ(s.Create(size.first, size.second), 0);
    EXPECT_EQ(s.bitmap, nullptr);
    EXPECT_EQ(s.pixels, nullptr);
    EXPECT_EQ(s.info, nullptr);
  }
}

TEST(DrawSurface, CreateTwiceAndDestroyLeaveNoGdiObjectBehind) {
  {
    // First uses of GDI (the screen DC, stock objects) stay outside the measurement.
    DrawSurface probe;
    probe.Create(4, 4);
    probe.UnlockDC(probe.LockDC());
    probe.LockDC();
  }
  const int before = GdiHeadroom();
  for (int i = 0; i < 300; ++i) {
    DrawSurface s;
    ASSERT_EQ(s.Create(50, 40), 1);
    s.AllocMask();
    ASSERT_EQ(s.HasMask(), 1);
    ASSERT_EQ(s.Create(60, 30), 1);
    EXPECT_EQ(s.HasMask(), 0);
    BITMAP bm;
    ASSERT_EQ(GetObjectA(s.bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 60);
    EXPECT_EQ(bm.bmHeight, 30);
    HDC dc = s.LockDC();  // forgotten: Destroy must still free the bitmap
    ASSERT_NE(dc, nullptr);
  }
  EXPECT_EQ(GdiHeadroom(), before);
}

TEST(DrawSurface, LendsOneDcAtATimeAndGdiDrawsUpright) {
  DrawSurface s;
  ASSERT_EQ(s.Create(6, 4), 1);
  Fill(s, 0);
  HDC dc = s.LockDC();
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(s.dcLent, 1);
  EXPECT_EQ(s.LockDC(), nullptr);
  // A red top row through GDI lands in the last memory row.
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT top = {0, 0, 6, 1};
  FillRect(dc, &top, red);
  DeleteObject(red);
  s.UnlockDC(dc);
  EXPECT_EQ(s.dcLent, 0);
  for (int x = 0; x < 6; ++x) {
    EXPECT_EQ(At(s, x, 0), 0x00FF0000u);
    EXPECT_EQ(At(s, x, 1), 0u);
  }
  HDC again = s.LockDC();
  EXPECT_NE(again, nullptr);
  s.UnlockDC(again);
  // Without a lent DC, UnlockDC leaves the caller's DC alone.
  HDC mine = CreateCompatibleDC(nullptr);
  s.UnlockDC(mine);
  EXPECT_EQ(GetObjectType(mine), static_cast<DWORD>(OBJ_MEMDC));
  DeleteDC(mine);
  DrawSurface empty;
  EXPECT_EQ(empty.LockDC(), nullptr);
  // With a reference window the lent DC is made compatible with its DC.
  HWND window = CreateWindowExA(0, "STATIC", "ref", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  DrawSurface::SetReferenceWindow(window);
  HDC viaWindow = s.LockDC();
  EXPECT_NE(viaWindow, nullptr);
  s.UnlockDC(viaWindow);
  DrawSurface::SetReferenceWindow(nullptr);
  DestroyWindow(window);
}

TEST(DrawSurface, MaskAtIsZeroOutsideAndWithoutPlane) {
  DrawSurface s;
  ASSERT_EQ(s.Create(4, 3), 1);
  EXPECT_EQ(s.MaskAt(1, 1), 0);
  s.AllocMask();
  for (int i = 0; i < 12; ++i) s.mask[i] = static_cast<std::uint8_t>(i + 1);
  EXPECT_EQ(s.MaskAt(0, 0), 9);  // top-left: first byte of the last memory row
  EXPECT_EQ(s.MaskAt(3, 2), 4);
  const int outside[][2] = {{4, 0}, {0, 3}, {-1, 0}, {0, -1}, {INT_MIN, INT_MAX}};
  for (const auto& p : outside) EXPECT_EQ(s.MaskAt(p[0], p[1]), 0) << p[0] << "," << p[1];
  s.FreeMask();
  EXPECT_EQ(s.HasMask(), 0);
  EXPECT_EQ(s.MaskAt(0, 0), 0);
}

TEST(DrawSurface, BlitClipsOnEverySideAndPicksMatchingSourcePixels) {
  DrawSurface src, dst;
  ASSERT_EQ(src.Create(20, 20), 1);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x)
      src.pixels[(19 - y) * 20 + x] = static_cast<std::uint32_t>(y * 100 + x);
  }
  ASSERT_EQ(dst.Create(10, 8), 1);
  struct Case {
    int dx, dy, w, h, sx, sy;
  };
  // Sticking out left by 5 and below by 3; zero width; wholly outside.
  const Case cases[] = {
      {-5, 1, 8, 3, 2, 2}, {1, 6, 4, 5, 3, 4}, {2, 2, 0, 3, 0, 0}, {-9, 0, 5, 5, 0, 0}};
  for (const Case& c : cases) {
    Fill(dst, 0xFFFFFFFF);
    dst.Blit(src, c.dx, c.dy, c.w, c.h, c.sx, c.sy);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 10; ++x) {
        bool inside = x >= c.dx && x < c.dx + c.w && y >= c.dy && y < c.dy + c.h;
        std::uint32_t want =
            inside ? static_cast<std::uint32_t>((y - c.dy + c.sy) * 100 + x - c.dx + c.sx)
                   : 0xFFFFFFFF;
        ASSERT_EQ(At(dst, x, y), want) << "blit " << c.dx << "," << c.dy << " at " << x << "," << y;
      }
    }
  }
  DrawSurface empty;
  dst.BlitAll(empty, 0, 0);  // nothing to copy from: nothing happens
  empty.BlitAll(src, 0, 0);
  EXPECT_EQ(At(dst, 0, 7), 0xFFFFFFFFu);
}

// Presents into a 32-bit DIB section selected in a memory DC and reads back.
TEST(DrawSurface, PresentShowsRowZeroAtTheTop) {
  DrawSurface s;
  ASSERT_EQ(s.Create(102, 132), 1);
  Fill(s, 0x00808080);
  for (int x = 0; x < 102; ++x) {
    s.pixels[131 * 102 + x] = 0x00FF0000;  // y = 0 is the last memory row
    s.pixels[x] = 0x000000FF;              // y = 131
  }
  EXPECT_EQ(s.pixels[131 * 102], 0x00FF0000u);
  DrawSurface target;
  ASSERT_EQ(target.Create(120, 150), 1);
  Fill(target, 0);
  HDC dc = target.LockDC();
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(s.Present(dc, 5, 7), 132);
  EXPECT_EQ(GetPixel(dc, 5, 7), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 106, 7), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 50, 138), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 50, 60), RGB(128, 128, 128));
  EXPECT_EQ(GetPixel(dc, 4, 7), RGB(0, 0, 0));
  target.UnlockDC(dc);
  EXPECT_EQ(At(target, 5, 7), 0x00FF0000u);
  EXPECT_EQ(At(target, 5, 138), 0x000000FFu);
}

TEST(DecodeInto, PicturesSizeEmptySurfacesAndClipIntoExistingOnes) {
  const int w = 9, h = 6;
  std::vector<std::uint32_t> pat = Pattern(w, h);
  Bytes mask(w * h, 0);
  for (int i = 0; i < w * h; ++i) mask[i] = (i % 3 == 0) ? 255 : 0;
  Bytes file = PictureFile(pat, w, h, mask);

  DrawSurface s;
  ASSERT_EQ(s.LoadFromMemory(file.data(), file.size(), 0, 0), 1);
  ASSERT_TRUE(Shows(s, w, h, pat, mask));

  // Into a bigger surface, at a position, and sticking out on every side.
  const int places[][2] = {{0, 0}, {3, 2}, {-4, 1}, {5, -3}, {8, 10}, {-20, 0}};
  for (const auto& p : places) {
    DrawSurface big;
    ASSERT_EQ(big.Create(14, 12), 1);
    Fill(big, 0xFFFFFFFF);
    EXPECT_EQ(big.LoadFromMemory(file.data(), file.size(), p[0], p[1]), 1);
    for (int y = 0; y < 12; ++y) {
      for (int x = 0; x < 14; ++x) {
        int px = x - p[0], py = y - p[1];
        bool inside = px >= 0 && px < w && py >= 0 && py < h;
        ASSERT_EQ(At(big, x, y), inside ? pat[py * w + px] : 0xFFFFFFFFu)
            << "at " << p[0] << "," << p[1] << " pixel " << x << "," << y;
        ASSERT_EQ(big.MaskAt(x, y), inside ? mask[py * w + px] : 0);
      }
    }
  }
  // Smaller than the picture: the top-left part, nothing outside.
  DrawSurface small;
  ASSERT_EQ(small.Create(4, 3), 1);
  EXPECT_EQ(small.LoadFromMemory(file.data(), file.size(), 0, 0), 1);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) ASSERT_EQ(At(small, x, y), pat[y * w + x]);
  }
  // An empty surface cannot take a picture anywhere but at the origin.
  DrawSurface empty;
  EXPECT_EQ(empty.LoadFromMemory(file.data(), file.size(), 2, 2), 0);
  EXPECT_EQ(empty.bitmap, nullptr);
}

TEST(DecodeInto, MalformedPicturesFailAndLeaveAUsableSurface) {
  std::vector<std::uint32_t> pat = Pattern(5, 4);
  Bytes good = PictureFile(pat, 5, 4, Bytes(20, 255));
  Bytes noEnd(good.begin(), good.begin() + 24 + 20 + 10);  // cut inside the pixel stream
  Bytes noRecords = AssemblePicture({});
  Bytes badOffset = good;
  badOffset[19] = 0x7F;
  Bytes badMask = good;
  badMask.resize(badMask.size() - 2);  // the mask stream loses its end code
  for (const Bytes* bad : {&noEnd, &noRecords, &badOffset, &badMask}) {
    DrawSurface s;
    EXPECT_EQ(s.LoadFromMemory(bad->data(), bad->size(), 0, 0), 0);
    if (s.bitmap != nullptr) {
      DrawSurface dst;
      ASSERT_EQ(dst.Create(8, 8), 1);
      dst.BlitAll(s, -1, -1);
      HDC dc = s.LockDC();
      EXPECT_NE(dc, nullptr);
      s.UnlockDC(dc);
      for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) s.MaskAt(x, y);
      }
    }
  }
  DrawSurface s;
  EXPECT_EQ(s.LoadFromMemory(noRecords.data(), noRecords.size(), 0, 0), 0);
  EXPECT_EQ(s.bitmap, nullptr);
}

// Row conversion itself is covered on the host; here the surface's part:
// creation at the BMP's size, placement upright, refusal of other depths.
TEST(DrawSurfaceBmp, DepthsAndBadFiles) {
  DrawSurface s;
  Bytes rgb = MakeBmp(1, 2, 24, {}, {0x01, 0x02, 0x03, 0xAA, 0x04, 0x05, 0x06, 0xAA});
  ASSERT_EQ(s.LoadFromMemory(rgb.data(), rgb.size(), 0, 0), 1);
  EXPECT_EQ(At(s, 0, 0), 0x060504u);
  EXPECT_EQ(At(s, 0, 1), 0x030201u);

  DrawSurface one;
  Bytes mono = MakeBmp(10, 1, 1, {0x112233, 0x445566}, {0xB0, 0x40, 0, 0});
  ASSERT_EQ(one.LoadFromMemory(mono.data(), mono.size(), 0, 0), 1);
  EXPECT_EQ(At(one, 0, 0), 0x445566u);
  EXPECT_EQ(At(one, 1, 0), 0x112233u);
  EXPECT_EQ(At(one, 9, 0), 0x445566u);

  for (int bits : {16, 32}) {
    DrawSurface t;
    Bytes bmp = MakeBmp(3, 2, bits, {}, Bytes(16, 0));
    EXPECT_EQ(t.LoadFromMemory(bmp.data(), bmp.size(), 0, 0), 0);
    ASSERT_NE(t.bitmap, nullptr);  // created at the BMP's size before the depth was refused
    EXPECT_EQ(t.width, 3);
    EXPECT_EQ(t.height, 2);
  }
  DrawSurface topDown;
  Bytes negative = MakeBmp(2, -2, 24, {}, Bytes(16, 0));
  EXPECT_EQ(topDown.LoadFromMemory(negative.data(), negative.size(), 0, 0), 0);
  EXPECT_EQ(topDown.bitmap, nullptr);
  DrawSurface cut;
  Bytes truncated = MakeBmp(4, 4, 24, {}, Bytes(16 * 2, 0));
  EXPECT_EQ(cut.LoadFromMemory(truncated.data(), truncated.size(), 0, 0), 0);
  Bytes junk = {'B', 'M', 1, 2, 3};
  EXPECT_EQ(cut.LoadFromMemory(junk.data(), junk.size(), 0, 0), 0);
}

}  // namespace
