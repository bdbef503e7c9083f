// What the back buffer holds: the character of the current page, the blink
// bands, the buttons, the panel with the page's icons, and the caption.
#include <algorithm>

#include "tests/win32/launcher/LauncherTestSupport.h"

namespace {

// Eye rectangles of the six characters inside their frames: x, y, w, h.
const int kBlinkAreas[6][4] = {{37, 21, 28, 22}, {37, 32, 32, 20}, {35, 25, 31, 14},
                               {36, 28, 31, 16}, {39, 27, 26, 14}, {35, 38, 33, 13}};

struct Areas {
  int characterX;
  int panelX;  // -1 when compact
};

Areas AreasOf(int layout) {
  if (layout == 1) return {174, 0};
  if (layout == 2) return {0, 102};
  return {0, -1};
}

class CompositionTest : public LauncherWindowTest, public ::testing::WithParamInterface<int> {
 protected:
  void ApplyLayout(int layout) {
    if (layout == 0) {
      frame_->DrawCompact();
    } else {
      LauncherWindowProbe::SetPanelSide(*frame_, layout);
      frame_->DrawExpanded();
    }
  }
};

TEST_P(CompositionTest, EveryPageShowsItsCharacterColumnButtonsAndPanel) {
  const int layout = GetParam();
  const Artwork& art = TheArtwork();
  Areas a = AreasOf(layout);
  for (int page = 0; page < 6; ++page) {
    app_->m_nChar = page;
    ApplyLayout(layout);
    EXPECT_EQ(CountDifferences(Back(), a.characterX, 0, art.character, 102 * page, 0, 102, 113), 0)
        << "page " << page;
    EXPECT_EQ(CountDifferences(Back(), a.characterX, 113, art.buttons, 0, 0, 102, 19), 0)
        << "page " << page;
    if (a.panelX >= 0) {
      // Without a page name the caption box is the blank strip it is restored from.
      DrawSurface panel;
      RenderPanel(&panel, nullptr, 0);
      EXPECT_EQ(CountDifferences(Back(), a.panelX, 0, panel, 0, 0, 174, 132), 0) << "page " << page;
    }
  }
  // Distinct columns really are distinct pictures, so the check above can tell them apart.
  EXPECT_GT(CountDifferences(art.character, 0, 0, art.character, 102, 0, 102, 113), 100);
}

TEST_P(CompositionTest, BlinkBandsCoverOnlyTheEyes) {
  const int layout = GetParam();
  const Artwork& art = TheArtwork();
  Areas a = AreasOf(layout);
  for (int page = 0; page < 6; ++page) {
    app_->m_nChar = page;
    const int* eye = kBlinkAreas[page];
    for (int frame = 0; frame <= 2; ++frame) {
      LauncherWindowProbe::SetBlinkFrame(*frame_, frame);
      ApplyLayout(layout);
      frame_->RedrawAll();
      int total = 0;
      for (int y = 0; y < 113; ++y) {
        for (int x = 0; x < 102; ++x) {
          bool inEye =
              frame > 0 && x >= eye[0] && x < eye[0] + eye[2] && y >= eye[1] && y < eye[1] + eye[3];
          int sy = inEye ? 91 + 22 * frame + (y - eye[1]) : y;
          if (PixelAt(Back(), a.characterX + x, y) != PixelAt(art.character, 102 * page + x, sy)) {
            ++total;
          }
        }
      }
      EXPECT_EQ(total, 0) << "page " << page << " frame " << frame;
    }
  }
  LauncherWindowProbe::SetBlinkFrame(*frame_, 0);
}

INSTANTIATE_TEST_SUITE_P(Layouts, CompositionTest, ::testing::Values(0, 1, 2));

TEST_F(LauncherWindowTest, IconsSitInTheSlotHolesOfTheCurrentPageOnly) {
  const Artwork& art = TheArtwork();
  FillSlot(2, 0, "C:\\a.exe", "a");
  FillSlot(2, 5, "C:\\b.exe", "b");
  FillSlot(2, 3, "C:\\c.exe", "c");
  FillSlot(4, 6, "C:\\d.exe", "d");  // another page: not drawn
  app_->m_nChar = 2;
  LauncherWindowProbe::SetPanelSide(*frame_, 2);
  frame_->DrawExpanded();

  // The expected panel: the blank panel with each icon at (14 + 37c, 51 + 37r).
  DrawSurface expected;
  RenderPanel(&expected, nullptr, 0);
  HDC dc = expected.LockDC();
  for (int slot : {0, 5, 3}) {
    ::DrawIconEx(dc, 14 + 37 * (slot % 4), 51 + 37 * (slot / 4), Page(2).GetIcon(slot), 32, 32, 0,
                 nullptr, DI_NORMAL);
  }
  expected.UnlockDC(dc);
  ::GdiFlush();
  EXPECT_EQ(CountDifferences(Back(), 102, 0, expected, 0, 0, 174, 132), 0);
  // The icon is visible: its cell differs from the empty panel.
  EXPECT_GT(CountDifferences(Back(), 102 + 14 + 37, 51 + 37, art.panel, 14 + 37, 51 + 37, 32, 32),
            20);
  EXPECT_EQ(CountDifferences(Back(), 102 + 14 + 74, 51 + 37, art.panel, 14 + 74, 51 + 37, 32, 32),
            0);
}

// Client x of the panel's origin in the layout with the panel on the right.
constexpr int kPanelX = 102;

POINT SlotCentre(int slot) {
  return {kPanelX + 13 + 37 * (slot % 4) + 17, 50 + 37 * (slot / 4) + 17};
}

class CaptionTest : public LauncherWindowTest {
 protected:
  void SetUp() override {
    LauncherWindowTest::SetUp();
    app_->m_nChar = 1;
    Page(1).SetName("页面二");
    FillSlot(1, 2, "C:\\x.exe", "注释文字");
    FillSlot(1, 6, "C:\\y.exe", nullptr);
    Page(1).SetComment(6, nullptr);
    PlaceCompact(60, 20);  // opens to the right
    frame_->DrawCompact();
    ClickCharacter();
    ASSERT_EQ(LauncherWindowProbe::Layout(*frame_), 2);
  }
  // Differences between the caption box and the expected rendering of text.
  int CaptionDifferences(const wchar_t* text) {
    DrawSurface expected;
    RenderPanel(&expected, text, 0xAA10);
    return CountDifferences(Back(), kPanelX + 26, 15, expected, 26, 15, 120, 32);
  }
};

TEST_F(CaptionTest, ShowsTheHoveredCommentElseThePageNameDecodedAsGbk) {
  Move(10, 10);  // nothing hot
  EXPECT_EQ(CaptionDifferences(L"页面二"), 0);
  EXPECT_GT(CaptionDifferences(nullptr), 10);  // the name is really drawn

  POINT slot2 = SlotCentre(2);
  Move(slot2.x, slot2.y);
  EXPECT_EQ(LauncherWindowProbe::HotItem(*frame_), 5);
  EXPECT_EQ(CaptionDifferences(L"注释文字"), 0);

  POINT slot6 = SlotCentre(6);  // used, but without a comment
  Move(slot6.x, slot6.y);
  EXPECT_EQ(CaptionDifferences(L"页面二"), 0);

  POINT slot7 = SlotCentre(7);  // empty
  Move(slot7.x, slot7.y);
  EXPECT_EQ(LauncherWindowProbe::HotItem(*frame_), 10);
  EXPECT_EQ(CaptionDifferences(L"页面二"), 0);
}

TEST_F(CaptionTest, CompactLayoutDrawsNoCaption) {
  const Artwork& art = TheArtwork();
  ClickCharacter();
  ASSERT_EQ(LauncherWindowProbe::Compact(*frame_), 1);
  EXPECT_EQ(CountDifferences(Back(), 0, 0, art.character, 102, 0, 102, 113), 0);
  EXPECT_EQ(CountDifferences(Back(), 0, 113, art.buttons, 0, 0, 102, 19), 0);
}

TEST_F(CaptionTest, LongCaptionStaysInsideItsBox) {
  Page(1).SetName(
      "一个非常非常长的页面名称，它远远超过了说明框的宽度和高度，必须被截断而不能画到框外面去。"
      "Another long line of text that keeps going and going.");
  Page(1).ClearAll();  // no icons: the panel outside the box is blank
  frame_->RedrawAll();
  DrawSurface blank;
  RenderPanel(&blank, nullptr, 0);
  // Everything outside the box is the blank panel; inside, text was drawn.
  int outside = 0;
  RECT spread = {174, 132, -1, -1};  // where the stray pixels lie, for the message
  for (int y = 0; y < 132; ++y) {
    for (int x = 0; x < 174; ++x) {
      bool inBox = x >= 26 && x < 146 && y >= 15 && y < 47;
      if (!inBox && PixelAt(Back(), kPanelX + x, y) != PixelAt(blank, x, y)) {
        ++outside;
        spread = {std::min<LONG>(spread.left, x), std::min<LONG>(spread.top, y),
                  std::max<LONG>(spread.right, x), std::max<LONG>(spread.bottom, y)};
      }
    }
  }
  EXPECT_EQ(outside, 0) << "in " << spread.left << "," << spread.top << " .. " << spread.right
                        << "," << spread.bottom;
  EXPECT_GT(CountDifferences(Back(), kPanelX + 26, 15, blank, 26, 15, 120, 32), 50);
}

TEST_F(CaptionTest, AmpersandIsDrawnAsSuch) {
  Page(1).SetName("A&B && C");
  frame_->RedrawAll();
  EXPECT_EQ(CaptionDifferences(L"A&B && C"), 0);
  // Drawn as a mnemonic, the same text would look different: the check can fail.
  DrawSurface prefixed;
  RenderPanel(&prefixed, L"A&B && C", 0xAA10 & ~DT_NOPREFIX);
  EXPECT_GT(CountDifferences(Back(), kPanelX + 26, 15, prefixed, 26, 15, 120, 32), 0);
}

}  // namespace
