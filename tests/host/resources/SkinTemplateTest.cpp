// The skin folder made of the built-in artwork (build/art/skin-template),
// read the way a skin is used: each page's body is the built-in character
// (its hit mask the built-in mask, its opaque pixels the built-in frame's),
// its blink lies in the page's blink area, and the panel and buttons blended
// over the built-in ones change nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/SkinPicture.h"
#include "launcher/LauncherGeometry.h"
#include "tests/host/resources/ArtFiles.h"

namespace {

using arttest::ArtPath;
using arttest::Png;

SkinPixels View(const Png& p) { return {p.rgb.data(), p.rgb.size(), p.width, p.height}; }

// The w x h part of a sheet at (left, 0).
std::vector<std::uint32_t> Column(const Png& sheet, int left, int w, int h) {
  std::vector<std::uint32_t> out;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) out.push_back(sheet.rgb[y * sheet.width + left + x]);
  }
  return out;
}

// Channels differ by at most one (renders of the same shapes, composed once
// by the renderer and once by the skin's blend, round differently).
bool Near(std::uint32_t a, std::uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d > 1 || d < -1) return false;
  }
  return true;
}

class SkinTemplatePage : public ::testing::TestWithParam<int> {};

TEST_P(SkinTemplatePage, IsTheBuiltInCharacterAndBlinksInItsArea) {
  const int page = GetParam();
  const LauncherMetrics m = MetricsAt(100);
  const std::string name = "skin-template/page" + std::to_string(page + 1);
  Png open, blink, sheet, sheetMask;
  ASSERT_TRUE(arttest::ReadPng(ArtPath(name + ".png"), 4, &open));
  ASSERT_TRUE(arttest::ReadPng(ArtPath(name + "-blink.png"), 4, &blink));
  ASSERT_TRUE(arttest::ReadPng(ArtPath("render/char.png"), 3, &sheet));
  ASSERT_TRUE(arttest::ReadPng(ArtPath("render/char-mask.png"), 1, &sheetMask));
  ASSERT_EQ(open.width, m.characterWidth);
  ASSERT_EQ(open.height, m.frameHeight);
  const int w = open.width, h = open.height, left = page * w;

  std::vector<std::uint8_t> mask(w * h);
  ASSERT_TRUE(SkinHitMask(View(open), mask.data(), mask.size()));
  const std::vector<std::uint32_t> frame = Column(sheet, left, w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      ASSERT_EQ(mask[y * w + x], sheetMask.grey[y * sheetMask.width + left + x]) << x << "," << y;
      if (open.rgb[y * w + x] >> 24 == 255) {
        ASSERT_TRUE(Near(open.rgb[y * w + x], frame[y * w + x])) << x << "," << y;
      }
    }
  }

  // Over the built-in frame (any opaque background would do).
  const SkinPixels background = {frame.data(), frame.size(), w, h};
  std::vector<std::uint32_t> a(w * h), b(w * h);
  ASSERT_TRUE(BlendSkinPicture(View(open), background, a.data(), a.size()));
  ASSERT_TRUE(BlendSkinPicture(View(blink), background, b.data(), b.size()));
  SkinRect area;
  ASSERT_TRUE(SkinBlinkArea({a.data(), a.size(), w, h}, {b.data(), b.size(), w, h}, &area));
  const BoxRect& box = m.blinkArea[page];
  EXPECT_LT(area.left, area.right);
  EXPECT_LT(area.top, area.bottom);
  EXPECT_GE(area.left, box.left);
  EXPECT_GE(area.top, box.top);
  EXPECT_LE(area.right, box.right);
  EXPECT_LE(area.bottom, box.bottom);
}

INSTANTIATE_TEST_SUITE_P(Pages, SkinTemplatePage, ::testing::Range(0, kPageCount));

TEST(SkinTemplate, PanelAndButtonsOverTheBuiltInOnesChangeNothing) {
  for (const char* part : {"panel", "buttons"}) {
    Png skin, builtIn;
    ASSERT_TRUE(arttest::ReadPng(ArtPath(std::string("skin-template/") + part + ".png"), 4, &skin));
    ASSERT_TRUE(arttest::ReadPng(ArtPath(std::string("render/") + part + ".png"), 3, &builtIn));
    std::vector<std::uint32_t> out(builtIn.rgb.size());
    ASSERT_TRUE(BlendSkinPicture(View(skin), View(builtIn), out.data(), out.size())) << part;
    for (std::size_t i = 0; i < out.size(); ++i) {
      ASSERT_TRUE(Near(out[i], builtIn.rgb[i])) << part << " pixel " << i;
    }
  }
}

}  // namespace
