// A skin laid over the built-in artwork: a page's frame, hit mask and a
// blink taller than the built-in bands, with every other page's bands kept.
#include <string>

#include "archive/ResourceArchive.h"
#include "launcher/SkinArtwork.h"
#include "resources/resource.h"
#include "tests/win32/launcher/LauncherTestSupport.h"

namespace {

std::wstring BesideTheTest(const wchar_t* folder) {
  wchar_t path[MAX_PATH];
  DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path, n);
  return dir.substr(0, dir.find_last_of(L"\\/") + 1) + folder + L"\\";
}

TEST(Skin, ATallBlinkGrowsTheBandsAndKeepsTheBuiltInOnes) {
  ASSERT_TRUE(TheArtwork().character.bitmap);
  ResourceArchive extra;
  ASSERT_TRUE(extra.OpenResources(IDR_EXTRA_ARCHIVE_INDEX, IDR_EXTRA_ARCHIVE_DATA));
  const ArtScale scale = {100, 100, 1};
  LauncherMetrics m = MetricsFor(scale);
  WindowArtwork art = LoadWindowArtwork(scale, m, &extra);
  ASSERT_TRUE(art.Complete());
  std::unique_ptr<DrawSurface> back = LoadPageBackgrounds(scale, &extra);
  ASSERT_TRUE(back->bitmap);

  std::string report;
  SkinFolder(BesideTheTest(L"skin-tall-blink")).Apply(&art, &m, *back, &report);
  EXPECT_EQ(report, "");
  const DrawSurface& sheet = *art.character;
  EXPECT_EQ(m.bandHeight, 61);
  EXPECT_EQ(sheet.height, 113 + 2 * 61);
  const BoxRect& area = m.blinkArea[0];
  EXPECT_EQ(area.left, 30);
  EXPECT_EQ(area.top, 10);
  EXPECT_EQ(area.right, 40);
  EXPECT_EQ(area.bottom, 71);

  // The frame: opaque where the picture is, the page's background where it
  // is transparent; the hit mask from its alpha.
  EXPECT_EQ(PixelAt(sheet, 50, 50), 0x00C000u);
  EXPECT_EQ(PixelAt(sheet, 5, 100), PixelAt(*back, 5, 100));
  EXPECT_NE(sheet.MaskAt(50, 50), 0);
  EXPECT_EQ(sheet.MaskAt(5, 100), 0);
  // Both bands show the blink picture over the whole area.
  for (int frame = 1; frame <= 2; ++frame) {
    BlitRect band;
    ASSERT_TRUE(BlinkBlit(m, 0, frame, 0, &band));
    EXPECT_EQ(band.h, 61);
    EXPECT_EQ(PixelAt(sheet, band.sx, band.sy), 0x0000FFu);
    EXPECT_EQ(PixelAt(sheet, band.sx + 9, band.sy + 60), 0x0000FFu);
  }
  // Page 2 is built-in: its bands moved with the taller layout, unchanged.
  const DrawSurface& builtIn = TheArtwork().character;
  EXPECT_EQ(CountDifferences(sheet, 102, 0, builtIn, 102, 0, 102, 113), 0);
  EXPECT_EQ(CountDifferences(sheet, 102, 113, builtIn, 102, 113, 102, 22), 0);
  EXPECT_EQ(CountDifferences(sheet, 102, 113 + 61, builtIn, 102, 113 + 22, 102, 22), 0);
}

}  // namespace
