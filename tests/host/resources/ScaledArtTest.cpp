// The pictures of the other display scales and the page backgrounds, in the
// second archive: every entry there, each laid out by the launcher's own
// metrics at its scale, so that what the window cuts out and hit-tests at a
// scale is what the picture holds.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "launcher/LauncherGeometry.h"
#include "tests/host/resources/ArtFiles.h"

namespace {

using arttest::Bytes;
using arttest::Decoded;
using arttest::DecodeEntry;
using arttest::Le16;
using arttest::Le32;

const char* const kCharacters[kPageCount] = {"char0-cat",  "char1-bear",    "char2-rabbit",
                                             "char3-frog", "char4-penguin", "char5-fox"};

// "char@125.tw", or "char.tw" at 100 %.
std::string AtScale(const std::string& stem, const std::string& ext, int percent) {
  return stem + (percent == kBasePercent ? "" : "@" + std::to_string(percent)) + ext;
}

// The render of a page's body alone, with its alpha.
arttest::Png BodyRender(int page, int percent) {
  const std::string folder =
      percent == kBasePercent ? "render/" : "render/" + std::to_string(percent) + "/";
  arttest::Png png;
  EXPECT_TRUE(
      arttest::ReadPng(arttest::ArtPath(folder + kCharacters[page] + "-body.png"), 4, &png));
  return png;
}

std::vector<int> ScalesFrom(int first) {
  std::vector<int> scales;
  for (int percent : kShippedScales) {
    if (percent >= first) scales.push_back(percent);
  }
  return scales;
}

bool Inside(const BoxRect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The extra archive holds the backgrounds at every shipped scale and the
// five pictures of every other one, each the loose file it was packed
// from, looked up as the program looks them up, and nothing else.
TEST(ExtraArchive, HoldsEveryEntryOfEveryScale) {
  const Bytes index = arttest::ReadBytes(arttest::ArtPath("extra.idx"));
  const Bytes data = arttest::ReadBytes(arttest::ArtPath("extra.dat"));
  ASSERT_GT(index.size(), archive::kFirstBucketOffset);
  std::vector<std::string> names;
  for (int percent : kShippedScales) {
    names.push_back(AtScale("back", ".tw", percent));
    if (percent == kBasePercent) continue;
    for (const char* stem : {"buttons", "char", "panel"})
      names.push_back(AtScale(stem, ".tw", percent));
    for (const char* stem : {"mask1", "mask2"}) names.push_back(AtScale(stem, ".bmp", percent));
  }
  for (const std::string& name : names) {
    int length = 0;
    unsigned char* body = archive::CopyEntry(index.data(), index.size(), data.data(), data.size(),
                                             name.c_str(), &length);
    ASSERT_NE(body, nullptr) << name;
    const Bytes packed(body, body + length);
    std::free(body);
    EXPECT_EQ(packed, arttest::ReadBytes(arttest::ArtPath(name))) << name;
  }
  std::size_t entries = 0;
  for (unsigned b = 0; b < archive::kBucketCount; ++b) {
    archive::BucketCursor cursor;
    archive::EntryView entry;
    ASSERT_TRUE(archive::OpenBucket(index.data(), index.size(), b, &cursor));
    while (archive::NextEntry(&cursor, &entry)) ++entries;
    ASSERT_EQ(cursor.problem, archive::IndexProblem::kNone) << "bucket " << b;
  }
  EXPECT_EQ(entries, names.size() + 1) << "the entries and _head.txt";
}

class ScaledArt : public ::testing::TestWithParam<int> {
 protected:
  const LauncherMetrics m = MetricsAt(GetParam());
  std::string Entry(const std::string& stem, const std::string& ext) const {
    return AtScale(stem, ext, GetParam());
  }
};

TEST_P(ScaledArt, PicturesDecodeToTheMetricsSizes) {
  struct Expected {
    const char* stem;
    int width, height;
    bool mask;
  };
  const Expected pictures[] = {
      {"char", m.sheetWidth, m.sheetHeight, true},
      {"buttons", m.characterWidth, 3 * m.buttonHeight, false},
      {"panel", m.panelWidth, m.windowHeight, true},
      {"back", m.sheetWidth, m.frameHeight, false},
  };
  for (const Expected& e : pictures) {
    const Decoded d = DecodeEntry(Entry(e.stem, ".tw"));
    EXPECT_EQ(d.width, e.width) << e.stem;
    EXPECT_EQ(d.height, e.height) << e.stem;
    EXPECT_EQ(d.hasMask, e.mask) << e.stem;
  }
}

// SlotAt takes the mask's value: a point is slot k only inside well k, and
// no point outside every well is a slot.
TEST_P(ScaledArt, PanelMaskIsZeroExactlyInTheWellsAndEachSlotOnlyInItsWell) {
  const Decoded panel = DecodeEntry(Entry("panel", ".tw"));
  ASSERT_EQ(panel.width, m.panelWidth);
  ASSERT_EQ(panel.height, m.windowHeight);
  int wrongMask = 0, wrongSlot = 0;
  for (int y = 0; y < panel.height; ++y) {
    for (int x = 0; x < panel.width; ++x) {
      int well = -1;
      for (int k = 0; k < kSlotCount; ++k) {
        if (Inside(m.wells[k], x, y)) well = k;
      }
      wrongMask += panel.MaskAt(x, y) != (well >= 0 ? 0 : 255);
      wrongSlot += SlotAt(m, x, y, panel.MaskAt(x, y)) != well;
    }
  }
  EXPECT_EQ(wrongMask, 0);
  EXPECT_EQ(wrongSlot, 0);
}

// The panel's drawn wells lie on the mask's: each well's colour changes
// right at its edges, on its middle row and column.
TEST_P(ScaledArt, PanelWellsAreDrawnOnTheirMaskEdges) {
  const Decoded panel = DecodeEntry(Entry("panel", ".tw"));
  ASSERT_EQ(panel.width, m.panelWidth);
  for (int k = 0; k < kSlotCount; ++k) {
    const BoxRect& w = m.wells[k];
    const int mx = (w.left + w.right) / 2, my = (w.top + w.bottom) / 2;
    EXPECT_NE(panel.At(w.left - 1, my), panel.At(w.left, my)) << "well " << k << " left";
    EXPECT_NE(panel.At(w.right - 1, my), panel.At(w.right, my)) << "well " << k << " right";
    EXPECT_NE(panel.At(mx, w.top - 1), panel.At(mx, w.top)) << "well " << k << " top";
    EXPECT_NE(panel.At(mx, w.bottom - 1), panel.At(mx, w.bottom)) << "well " << k << " bottom";
  }
}

// The window draws button b from its part of the picture (left of
// buttonSplit, or from it on) and reacts inside buttonHit[b]: the reacting
// rectangle lies in the drawn part, over the button, not the gap.
TEST_P(ScaledArt, PageButtonsReactOnlyOverTheirOwnPartOfThePicture) {
  const Decoded buttons = DecodeEntry(Entry("buttons", ".tw"));
  ASSERT_EQ(buttons.width, m.characterWidth);
  ASSERT_EQ(buttons.height, 3 * m.buttonHeight);
  const std::uint32_t matte = buttons.At(0, 0);
  for (int b = 0; b < 2; ++b) {
    const BoxRect& hit = m.buttonHit[b];
    const int partLeft = b == 0 ? 0 : m.buttonSplit;
    const int partRight = b == 0 ? m.buttonSplit : m.characterWidth;
    EXPECT_GE(hit.left, partLeft) << "button " << b;
    EXPECT_LE(hit.right, partRight) << "button " << b;
    EXPECT_GE(hit.top, m.frameHeight) << "button " << b;
    EXPECT_LE(hit.bottom, m.frameHeight + m.buttonHeight) << "button " << b;
    ASSERT_LT(hit.left, hit.right);
    ASSERT_LT(hit.top, hit.bottom);
    const int cx = (hit.left + hit.right) / 2, cy = (hit.top + hit.bottom) / 2 - m.frameHeight;
    for (int state = 0; state < 3; ++state) {
      EXPECT_NE(buttons.At(cx, cy + state * m.buttonHeight), matte)
          << "button " << b << " state " << state << ": no button under the middle of its hit area";
    }
  }
}

// Frames: the mask is the body render's alpha >= 128. Bands: rows that
// repeat the frame from the blink area's top, mask included, that differ from
// it only inside the blink area, and do so there.
TEST_P(ScaledArt, CharacterSheetFollowsTheBodyRendersAndTheBlinkAreas) {
  const Decoded sheet = DecodeEntry(Entry("char", ".tw"));
  ASSERT_EQ(sheet.width, m.sheetWidth);
  ASSERT_EQ(sheet.height, m.sheetHeight);
  for (int page = 0; page < kPageCount; ++page) {
    const arttest::Png body = BodyRender(page, GetParam());
    ASSERT_EQ(body.width, m.characterWidth);
    ASSERT_EQ(body.height, m.frameHeight);
    const int left = page * m.characterWidth;
    int wrongMask = 0;
    for (int y = 0; y < m.frameHeight; ++y) {
      for (int x = 0; x < m.characterWidth; ++x) {
        const int expected = body.alpha[std::size_t(y) * body.width + x] >= 128 ? 255 : 0;
        wrongMask += sheet.MaskAt(left + x, y) != expected;
      }
    }
    EXPECT_EQ(wrongMask, 0) << "page " << page;
    const BoxRect& area = m.blinkArea[page];
    for (int band = 0; band < 2; ++band) {
      int outside = 0, inside = 0, bandMask = 0;
      for (int j = 0; j < m.bandHeight; ++j) {
        const int bandY = m.frameHeight + band * m.bandHeight + j, frameY = area.top + j;
        for (int x = 0; x < m.characterWidth; ++x) {
          bandMask += sheet.MaskAt(left + x, bandY) != sheet.MaskAt(left + x, frameY);
          if (sheet.At(left + x, bandY) != sheet.At(left + x, frameY)) {
            ++(Inside(area, x, frameY) ? inside : outside);
          }
        }
      }
      EXPECT_EQ(bandMask, 0) << "page " << page << " band " << band + 1;
      EXPECT_EQ(outside, 0) << "page " << page << " band " << band + 1;
      EXPECT_GT(inside, 20) << "page " << page << " band " << band + 1 << " shows no blink";
    }
  }
}

// 1-bit bottom-up BMPs of the metrics' sizes; index 0 inside. Each row is
// one run, cut at both top corners by a circle of outlineRadius: a pixel is
// outside when its centre lies outside the circle.
TEST_P(ScaledArt, OutlinesHaveTheMetricsSizesAndCornersOfItsRadius) {
  const int r = m.outlineRadius, height = m.windowHeight;
  for (const auto& [stem, width] :
       {std::pair{"mask1", m.characterWidth}, std::pair{"mask2", m.panelWidth}}) {
    const Bytes bmp = arttest::ReadBytes(arttest::ArtPath(Entry(stem, ".bmp")));
    const std::size_t stride = std::size_t(width + 31) / 32 * 4;
    ASSERT_EQ(bmp.size(), 62 + stride * height) << stem;
    EXPECT_EQ(Le32(bmp, 18), unsigned(width)) << stem;
    EXPECT_EQ(Le32(bmp, 22), unsigned(height)) << stem;
    EXPECT_EQ(Le16(bmp, 28), 1u) << stem;
    int wrongRows = 0;
    for (int y = 0; y < height; ++y) {
      int cut = 0;
      for (int x = 0; y < r && x < r; ++x) {
        const double dx = r - (x + 0.5), dy = r - (y + 0.5);
        cut += dx * dx + dy * dy > double(r) * r;
      }
      const std::size_t row = 62 + std::size_t(height - 1 - y) * stride;
      bool asExpected = true;
      for (int x = 0; x < width; ++x) {
        const bool inside = ((bmp[row + x / 8] >> (7 - x % 8)) & 1) == 0;
        asExpected = asExpected && inside == (x >= cut && x < width - cut);
      }
      wrongRows += !asExpected;
    }
    EXPECT_EQ(wrongRows, 0) << stem << ", radius " << r;
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledArt, ::testing::ValuesIn(ScalesFrom(kBasePercent + 1)));

class PageBackgrounds : public ScaledArt {};

// The backgrounds alone: where the body render leaves the frame clear they
// are the frame's pixels; where the body covers it they are not the body.
TEST_P(PageBackgrounds, AreTheFramesWithoutTheBody) {
  const Decoded back = DecodeEntry(Entry("back", ".tw"));
  const Decoded sheet = DecodeEntry(Entry("char", ".tw"));
  ASSERT_EQ(back.width, m.sheetWidth);
  ASSERT_EQ(back.height, m.frameHeight);
  EXPECT_FALSE(back.hasMask);
  ASSERT_EQ(sheet.width, m.sheetWidth);
  for (int page = 0; page < kPageCount; ++page) {
    const arttest::Png body = BodyRender(page, GetParam());
    ASSERT_EQ(body.width, m.characterWidth);
    const int left = page * m.characterWidth;
    int clearDiffers = 0, covered = 0, coveredSame = 0;
    for (int y = 0; y < m.frameHeight; ++y) {
      for (int x = 0; x < m.characterWidth; ++x) {
        const std::uint8_t alpha = body.alpha[std::size_t(y) * body.width + x];
        const bool same = back.At(left + x, y) == sheet.At(left + x, y);
        if (alpha == 0) clearDiffers += !same;
        if (alpha == 255) {
          ++covered;
          coveredSame += same;
        }
      }
    }
    EXPECT_EQ(clearDiffers, 0) << "page " << page;
    EXPECT_GT(covered, m.characterWidth * m.frameHeight / 5) << "page " << page;
    EXPECT_LT(coveredSame, covered / 20) << "page " << page << ": the body shows in the background";
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, PageBackgrounds, ::testing::ValuesIn(ScalesFrom(kBasePercent)));

}  // namespace
