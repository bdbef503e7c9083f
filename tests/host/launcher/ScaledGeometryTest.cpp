// The window's lengths at every display scale: one rounding rule, the
// artwork each scale is drawn from, and the rules of the layouts and hit
// tests in scaled coordinates.
#include <gtest/gtest.h>

#include <cmath>

#include "common/DisplayScale.h"
#include "launcher/LauncherGeometry.h"

namespace {

constexpr int kScales[] = {100, 125, 150, 175, 200, 225, 250, 275, 300};

bool Inside(const BoxRect& inner, const BoxRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Within one pixel of the exact product, as every scaled length must be.
void ExpectNear(int scaled, int length, int percent, const char* what) {
  EXPECT_LE(std::abs(scaled * 100.0 - length * percent), 100.0)
      << what << " " << scaled << " for " << length << " at " << percent << " %";
}

TEST(ArtScale, EveryOfferedScaleIsDrawnExactlyFromShippedOrWholeFactorArtwork) {
  for (int percent : kScales) {
    ArtScale s = ArtScaleForDpi(DpiForPercent(percent));
    EXPECT_EQ(s.percent, percent);
    EXPECT_EQ(s.shipped * s.factor, percent);
    bool shipped = false;
    for (int p : kShippedScales) shipped = shipped || p == s.shipped;
    EXPECT_TRUE(shipped) << percent;
  }
  // Rendered where shipped; 250 and 300 % double the 125 and 150 % artwork
  // (not the 100 % one tripled).
  EXPECT_EQ(ArtScaleForPercent(200).factor, 1);
  EXPECT_EQ(ArtScaleForPercent(300).shipped, 150);
  // In between, the nearest scale artwork gives exactly; ties go down, and
  // nothing goes below 100 % or past the largest.
  EXPECT_EQ(ArtScaleForDpi(110).percent, 125);  // 115 %
  EXPECT_EQ(ArtScaleForPercent(112).percent, 100);
  EXPECT_EQ(ArtScaleForDpi(72).percent, 100);
  EXPECT_EQ(ArtScaleForDpi(0).percent, 100);
  EXPECT_EQ(ArtScaleForDpi(100000).percent, kMaxScalePercent);
}

TEST(ScaledMetrics, LengthsFollowTheRuleAndPiecesStillFit) {
  for (int percent : kScales) {
    SCOPED_TRACE(percent);
    const LauncherMetrics m = MetricsFor(ArtScaleForPercent(percent));
    EXPECT_EQ(m.percent, percent);
    ExpectNear(m.characterWidth, kCharacterWidth, percent, "character");
    ExpectNear(m.panelWidth, kPanelWidth, percent, "panel");
    ExpectNear(m.windowHeight, kWindowHeight, percent, "height");
    ExpectNear(m.frameHeight, kFrameHeight, percent, "frame");
    ExpectNear(m.buttonHeight, kButtonHeight, percent, "button");
    ExpectNear(m.iconSize, kIconSize, percent, "icon");
    ExpectNear(m.captionBox.right - m.captionBox.left, kCaptionWidth, percent, "caption");
    EXPECT_EQ(m.expandedWidth, m.characterWidth + m.panelWidth);

    // The buttons fill the strip under the frame; their reacting
    // rectangles stay inside their own halves.
    EXPECT_EQ(m.frameHeight + m.buttonHeight, m.windowHeight);
    EXPECT_TRUE(Inside(m.buttonHit[0], {0, m.frameHeight, m.buttonSplit, m.windowHeight}));
    EXPECT_TRUE(
        Inside(m.buttonHit[1], {m.buttonSplit, m.frameHeight, m.characterWidth, m.windowHeight}));
    // Each blink area lies in its frame and fits one band.
    for (const BoxRect& area : m.blinkArea) {
      EXPECT_TRUE(Inside(area, {0, 0, m.characterWidth, m.frameHeight}));
      EXPECT_LE(area.bottom - area.top, m.bandHeight);
    }
    // The caption box and its restored background lie in the panel.
    EXPECT_TRUE(Inside(m.captionBox, {0, 0, m.panelWidth, m.windowHeight}));
    EXPECT_LE(m.captionSourceX + (m.captionBox.right - m.captionBox.left), m.panelWidth);
    // Every icon lies in its well, and every point of a well is that slot's.
    for (int k = 0; k < kSlotCount; ++k) {
      const BoxRect& well = m.wells[k];
      int x = 0, y = 0;
      SlotIconOrigin(m, 0, k, &x, &y);
      EXPECT_TRUE(Inside({x, y, x + m.iconSize, y + m.iconSize}, well)) << "slot " << k;
      for (int wy = well.top; wy < well.bottom; ++wy) {
        for (int wx = well.left; wx < well.right; ++wx) ASSERT_EQ(SlotAt(m, wx, wy, 0), k);
      }
    }
  }
}

TEST(ScaledMetrics, DoubledArtworkDoublesEveryLengthOfItsScale) {
  const LauncherMetrics base = MetricsAt(125);
  const LauncherMetrics m = MetricsFor(ArtScaleForPercent(250));
  EXPECT_EQ(m.characterWidth, 2 * base.characterWidth);  // 256, where 102 * 2.5 rounds to 255
  EXPECT_EQ(m.blinkArea[3].left, 2 * base.blinkArea[3].left);
  EXPECT_EQ(m.cellTop[1], 2 * base.cellTop[1]);
  EXPECT_EQ(m.fontHeight, 30);
  // A point of the doubled picture is in the same cell as its source pixel.
  for (int y = 0; y < m.windowHeight; ++y) {
    for (int x = 0; x < m.panelWidth; ++x)
      ASSERT_EQ(SlotCellAt(m, x, y), SlotCellAt(base, x / 2, y / 2));
  }
}

}  // namespace
