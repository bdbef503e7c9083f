// The launcher window's geometry: layouts, artwork copies and hit tests.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "launcher/LauncherGeometry.h"

// Every length at 100 %.
static const LauncherMetrics k100 = MetricsAt(kBasePercent);

namespace {

struct LayoutCase {
  int layout;
  int width;
  int leftOfCharacter;
  int characterX;
  int panelX;
};
void PrintTo(const LayoutCase& c, std::ostream* os) { *os << "layout " << c.layout; }

class LayoutTable : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTable, SizeAndAreasKeepTheCharacterInPlace) {
  const LayoutCase& c = GetParam();
  LayoutGeometry g = GeometryOf(k100, c.layout);
  EXPECT_EQ(g.width, c.width);
  EXPECT_EQ(g.height, 132);
  EXPECT_EQ(g.leftOfCharacter, c.leftOfCharacter);
  EXPECT_EQ(g.characterX, c.characterX);
  EXPECT_EQ(g.panelX, c.panelX);
  // The character area sits at the same screen x in every layout.
  EXPECT_EQ(g.leftOfCharacter + g.characterX, 0);
}

INSTANTIATE_TEST_SUITE_P(Layouts, LayoutTable,
                         ::testing::Values(LayoutCase{0, 102, 0, 0, -1},
                                           LayoutCase{1, 276, -174, 174, 0},
                                           LayoutCase{2, 276, 0, 0, 102}));

TEST(PanelSide, OpensLeftOnlyWithAPanelWidthOfItsOwnMonitor) {
  EXPECT_EQ(PanelSideFor(k100, 173, 0), kLayoutPanelRight);
  EXPECT_EQ(PanelSideFor(k100, 174, 0), kLayoutPanelLeft);
  EXPECT_EQ(PanelSideFor(k100, -40, 0), kLayoutPanelRight);
  EXPECT_EQ(PanelSideFor(k100, 900, 0), kLayoutPanelLeft);
  // A monitor right of a 1920-pixel primary, and one left of it.
  EXPECT_EQ(PanelSideFor(k100, 2093, 1920), kLayoutPanelRight);
  EXPECT_EQ(PanelSideFor(k100, 2094, 1920), kLayoutPanelLeft);
  EXPECT_EQ(PanelSideFor(k100, -1200, -1280), kLayoutPanelRight);
  EXPECT_EQ(PanelSideFor(k100, -1106, -1280), kLayoutPanelLeft);
  // No overflow at the far ends of the coordinates.
  EXPECT_EQ(PanelSideFor(k100, 2147483647, -2147483647 - 1), kLayoutPanelLeft);
  EXPECT_EQ(PanelSideFor(k100, -2147483647 - 1, 2147483647), kLayoutPanelRight);
}

TEST(PanelSide, CharacterLeftIsRecoveredFromTheWindowInEveryLayout) {
  const int charLeft = 500;
  for (int layout : {0, 1, 2}) {
    int windowLeft = charLeft + GeometryOf(k100, layout).leftOfCharacter;
    bool compact = layout == kLayoutCompact;
    int side = compact ? kLayoutPanelLeft : layout;
    EXPECT_EQ(CharacterLeftFor(k100, windowLeft, compact, side), charLeft) << "layout " << layout;
  }
  // Compact with a remembered left panel side: the window is the character.
  EXPECT_EQ(CharacterLeftFor(k100, 300, true, kLayoutPanelLeft), 300);
}

TEST(Paging, WrapsAroundAtBothEnds) {
  const int previous[] = {5, 0, 1, 2, 3, 4};
  const int next[] = {1, 2, 3, 4, 5, 0};
  for (int p = 0; p < kPageCount; ++p) {
    EXPECT_EQ(PreviousPage(p), previous[p]);
    EXPECT_EQ(NextPage(p), next[p]);
  }
}

struct PointCase {
  int x, y, expected;
};
void PrintTo(const PointCase& c, std::ostream* os) { *os << "(" << c.x << "," << c.y << ")"; }

class PageButtonHit : public ::testing::TestWithParam<PointCase> {};

TEST_P(PageButtonHit, ReactsInsideTheNarrowedRectanglesOnly) {
  EXPECT_EQ(PageButtonAt(k100, GetParam().x, GetParam().y), GetParam().expected)
      << GetParam().x << "," << GetParam().y;
}

INSTANTIATE_TEST_SUITE_P(Points, PageButtonHit,
                         ::testing::Values(PointCase{3, 113, 0}, PointCase{50, 129, 0},
                                           PointCase{51, 113, 1}, PointCase{98, 129, 1},
                                           PointCase{2, 120, -1}, PointCase{0, 120, -1},
                                           PointCase{99, 120, -1}, PointCase{101, 120, -1},
                                           PointCase{20, 130, -1}, PointCase{20, 131, -1},
                                           PointCase{20, 112, -1}, PointCase{60, 0, -1},
                                           PointCase{-5, 120, -1}));

class SlotCellHit : public ::testing::TestWithParam<PointCase> {};

TEST_P(SlotCellHit, MapsPanelPointsToTheGrid) {
  EXPECT_EQ(SlotCellAt(k100, GetParam().x, GetParam().y), GetParam().expected)
      << GetParam().x << "," << GetParam().y;
}

INSTANTIATE_TEST_SUITE_P(
    Points, SlotCellHit,
    ::testing::Values(
        // The corners of holes 0, 1, 3, 4 and 7.
        PointCase{13, 50, 0}, PointCase{46, 83, 0}, PointCase{50, 50, 1}, PointCase{157, 50, 3},
        PointCase{13, 87, 4}, PointCase{124, 87, 7}, PointCase{157, 120, 7},
        // Truncating division: left of and above the first holes is still cell 0.
        PointCase{0, 50, 0}, PointCase{12, 14, 0}, PointCase{0, 13, -1},
        // Past the last column or row.
        PointCase{160, 60, 3}, PointCase{161, 60, -1}, PointCase{20, 123, 4},
        PointCase{20, 124, -1},
        // Outside the panel.
        PointCase{-1, 60, -1}, PointCase{174, 60, -1}, PointCase{20, 132, -1},
        PointCase{20, -1, -1}));

TEST(SlotHit, ThePanelBodyIsNoSlotEvenInsideAGridCell) {
  EXPECT_EQ(SlotAt(k100, 5, 60, 255), -1);  // x 0..12 would be column 0 by division
  EXPECT_EQ(SlotAt(k100, 5, 60, 0), 0);
  EXPECT_EQ(SlotAt(k100, 130, 100, 0), 7);
  EXPECT_EQ(SlotAt(k100, 130, 100, 1), -1);
  EXPECT_EQ(SlotAt(k100, 174, 60, 0), -1);
}

TEST(CharacterHit, OnlyTheFrameAboveTheButtonsCounts) {
  EXPECT_TRUE(InCharacterFrame(k100, 0, 0));
  EXPECT_TRUE(InCharacterFrame(k100, 101, 112));
  EXPECT_FALSE(InCharacterFrame(k100, 102, 50));
  EXPECT_FALSE(InCharacterFrame(k100, 50, 113));
  EXPECT_FALSE(InCharacterFrame(k100, -1, 50));
  EXPECT_FALSE(InCharacterFrame(k100, 50, -1));
}

struct HotCase {
  bool compact;
  int panelSide;
  int x, y;
  int expected;
};
void PrintTo(const HotCase& c, std::ostream* os) {
  *os << (c.compact ? "compact" : "side ") << (c.compact ? "" : std::to_string(c.panelSide)) << " ("
      << c.x << "," << c.y << ")";
}

class HotItemHit : public ::testing::TestWithParam<HotCase> {};

TEST_P(HotItemHit, FindsButtonsAndSlotsInEachLayout) {
  const HotCase& c = GetParam();
  // A panel whose only holes are the eight grid squares, as the artwork has.
  auto slotAt = [](int px, int py) {
    int cell = SlotCellAt(k100, px, py);
    bool inHole = cell >= 0 && px >= 13 && py >= 50 && (px - 13) % 37 < 34 && (py - 50) % 37 < 34;
    return SlotAt(k100, px, py, inHole ? 0 : 255);
  };
  EXPECT_EQ(HotItemAt(k100, c.compact, c.panelSide, c.x, c.y, slotAt), c.expected)
      << c.compact << " side " << c.panelSide << " at " << c.x << "," << c.y;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, HotItemHit,
    ::testing::Values(HotCase{true, 1, 10, 120, 0}, HotCase{true, 2, 60, 120, 1},
                      HotCase{true, 1, 50, 50, -1},
                      // Compact never reports slots, whatever the remembered side.
                      HotCase{true, 2, 20, 60, -1},
                      // Panel left: buttons are 174 further right, slots at the panel's own x.
                      HotCase{false, 1, 174 + 10, 120, 0}, HotCase{false, 1, 174 + 60, 120, 1},
                      HotCase{false, 1, 10, 120, -1}, HotCase{false, 1, 20, 60, 3},
                      HotCase{false, 1, 130, 100, 10}, HotCase{false, 1, 5, 60, -1},
                      // Panel right: buttons at the window's left, slots 102 further right.
                      HotCase{false, 2, 10, 120, 0}, HotCase{false, 2, 102 + 20, 60, 3},
                      HotCase{false, 2, 102 + 55, 95, 8}, HotCase{false, 2, 20, 60, -1}));

TEST(Artwork, CharacterAndBlinkComeFromPageColumnAndBandRows) {
  BlitRect frame = CharacterFrameBlit(k100, 3, 174);
  EXPECT_EQ(frame.dx, 174);
  EXPECT_EQ(frame.sx, 306);
  EXPECT_EQ(frame.w, 102);
  EXPECT_EQ(frame.h, 113);

  BlitRect band;
  EXPECT_FALSE(BlinkBlit(k100, 3, 0, 0, &band));
  EXPECT_FALSE(BlinkBlit(k100, 6, 1, 0, &band));
  EXPECT_FALSE(BlinkBlit(k100, -1, 1, 0, &band));
  EXPECT_FALSE(BlinkBlit(k100, 0, 3, 0, &band));
  ASSERT_TRUE(BlinkBlit(k100, 3, 1, 0, &band));
  EXPECT_EQ(band.sy, 113);
  EXPECT_EQ(band.dx, 36);
  EXPECT_EQ(band.dy, 28);
  EXPECT_EQ(band.sx, 306 + 36);
  EXPECT_EQ(band.w, 31);
  EXPECT_EQ(band.h, 16);
  ASSERT_TRUE(BlinkBlit(k100, 5, 2, 174, &band));
  EXPECT_EQ(band.sy, 135);
  EXPECT_EQ(band.dx, 174 + 35);
  EXPECT_EQ(band.sx, 510 + 35);
  // Every band stays inside its 22-row strip and the frame's column.
  for (int page = 0; page < kPageCount; ++page) {
    for (int f : {1, 2}) {
      ASSERT_TRUE(BlinkBlit(k100, page, f, 0, &band));
      EXPECT_LE(band.sy + band.h, 113 + 22 * f);
      EXPECT_LE(band.sx + band.w, 102 * (page + 1));
      EXPECT_LE(band.dy + band.h, 113);
    }
  }
}

struct ButtonRowCase {
  int button, hotItem, hotState, row;
};
void PrintTo(const ButtonRowCase& c, std::ostream* os) {
  *os << "button " << c.button << " hot " << c.hotItem << "/" << c.hotState;
}

class ButtonRows : public ::testing::TestWithParam<ButtonRowCase> {};

TEST_P(ButtonRows, OnlyTheHotButtonLeavesItsNormalRow) {
  const ButtonRowCase& c = GetParam();
  EXPECT_EQ(ButtonSourceRow(k100, c.button, c.hotItem, c.hotState), c.row);
}

INSTANTIATE_TEST_SUITE_P(States, ButtonRows,
                         ::testing::Values(ButtonRowCase{0, 0, 1, 19}, ButtonRowCase{0, 0, 2, 38},
                                           ButtonRowCase{1, 0, 2, 0}, ButtonRowCase{1, 1, 1, 19},
                                           ButtonRowCase{1, 1, 2, 38}, ButtonRowCase{0, 4, 1, 0},
                                           ButtonRowCase{0, -1, 0, 0}, ButtonRowCase{1, -2, 0, 0}));

TEST(Artwork, ButtonsCaptionAndIconsSitWhereThePanelExpectsThem) {
  BlitRect next = ButtonBlit(k100, 1, 38, 174);
  EXPECT_EQ(next.dx, 174 + 51);
  EXPECT_EQ(next.dy, 113);
  EXPECT_EQ(next.sx, 51);
  EXPECT_EQ(next.sy, 38);

  BlitRect caption = CaptionBackgroundBlit(k100, 102);
  EXPECT_EQ(caption.dx, 128);
  EXPECT_EQ(caption.sx, 20);  // a blank stretch of the panel, not the box itself
  EXPECT_EQ(caption.dy, 15);
  EXPECT_EQ(caption.sy, 15);
  BoxRect box = CaptionBox(k100, 102);
  EXPECT_EQ(box.left, caption.dx);
  EXPECT_EQ(box.right - box.left, caption.w);
  EXPECT_EQ(box.bottom - box.top, caption.h);

  int x, y;
  SlotIconOrigin(k100, 102, 5, &x, &y);
  EXPECT_EQ(x, 116 + 37);
  EXPECT_EQ(y, 51 + 37);
  SlotIconOrigin(k100, 102, 3, &x, &y);
  EXPECT_EQ(x, 116 + 111);
  EXPECT_EQ(y, 51);
  // Each icon lands inside its slot hole (holes at 13 + 37c, 50 + 37r, 34 wide).
  for (int k = 0; k < kSlotCount; ++k) {
    SlotIconOrigin(k100, 0, k, &x, &y);
    EXPECT_EQ(SlotCellAt(k100, x, y), k);
    EXPECT_EQ(SlotCellAt(k100, x + 31, y + 31), k);
  }
}

struct CaptionCase {
  int hotItem;
  const char* comment;
  const char* name;
  const char* expected;
};
void PrintTo(const CaptionCase& c, std::ostream* os) {
  *os << "hot " << c.hotItem << (c.comment ? " with comment" : " without comment");
}

class CaptionChoice : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(CaptionChoice, CommentOfTheHoveredSlotElseThePageName) {
  const CaptionCase& c = GetParam();
  const char* got = ChooseCaption(c.hotItem, c.comment, c.name);
  if (!c.expected) {
    EXPECT_EQ(got, nullptr);
  } else {
    ASSERT_NE(got, nullptr);
    EXPECT_STREQ(got, c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, CaptionChoice,
                         ::testing::Values(CaptionCase{3, "note", "page", "note"},
                                           CaptionCase{10, "x", "page", "x"},
                                           CaptionCase{3, nullptr, "page", "page"},
                                           CaptionCase{-1, "stale", "page", "page"},
                                           CaptionCase{0, "stale", "page", "page"},
                                           CaptionCase{1, "stale", "page", "page"},
                                           CaptionCase{-2, "stale", "page", "page"},
                                           CaptionCase{5, nullptr, nullptr, nullptr},
                                           CaptionCase{5, "", "page", ""}));

}  // namespace
