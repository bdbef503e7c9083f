// Presses, moves, releases and timer ticks sent to the real window.
#include <cstdlib>

#include "tests/win32/launcher/LauncherTestSupport.h"

namespace {

struct HitCase {
  int x, y;
  int hotItem;  // after the press
  int page;     // page after the press, starting from page 2
};

// Each press starts from page 2 in the compact layout. Closing a shown
// window costs Wine seconds, so one window serves the whole table.
TEST_F(LauncherWindowTest, OnlyTheNarrowedButtonRectanglesReact) {
  const HitCase cases[] = {{3, 113, 0, 1},   {50, 129, 0, 1}, {51, 113, 1, 3},  {98, 129, 1, 3},
                           {2, 120, -1, 2},  {0, 113, -1, 2}, {99, 120, -1, 2}, {101, 125, -1, 2},
                           {20, 130, -1, 2}, {80, 131, -1, 2}};
  app_->m_nFixedPos = 1;  // a press that hits nothing must not start a drag here
  for (const HitCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "press at " << c.x << "," << c.y);
    app_->m_nChar = 2;
    frame_->DrawCompact();
    RECT before = WindowRect();
    Press(c.x, c.y);
    EXPECT_EQ(LauncherWindowProbe::HotItem(*frame_), c.hotItem);
    EXPECT_EQ(LauncherWindowProbe::HotState(*frame_), c.hotItem >= 0 ? 2 : 0);
    EXPECT_EQ(app_->m_nChar, c.page);
    RECT after = WindowRect();
    EXPECT_TRUE(::EqualRect(&before, &after));
    Release(c.x, c.y);
  }
}

TEST_F(LauncherWindowTest, PagingWrapsAndChangesTheCharacterInBothLayouts) {
  const Artwork& art = TheArtwork();
  for (int expanded = 0; expanded <= 1; ++expanded) {
    app_->m_nChar = 0;
    PlaceCompact(100, 20);  // opens to the right
    if (expanded) ClickCharacter();
    ASSERT_EQ(LauncherWindowProbe::Compact(*frame_), expanded ? 0 : 1);
    // Previous from 0, then next from 5 back to 0; then all the way round.
    const int sequence[][2] = {{10, 5}, {60, 0}, {60, 1}, {60, 2}, {60, 3}, {60, 4}, {60, 5}};
    for (const auto& step : sequence) {
      Press(step[0], 120);
      Release(step[0], 120);
      EXPECT_EQ(app_->m_nChar, step[1]);
      EXPECT_EQ(CountDifferences(Back(), 0, 0, art.character, 102 * step[1], 0, 102, 113), 0)
          << "page " << step[1] << (expanded ? " expanded" : " compact");
    }
  }
}

TEST_F(LauncherWindowTest, APressedButtonKeepsItsPressedRowUntilReleased) {
  const Artwork& art = TheArtwork();
  Move(20, 120);
  EXPECT_EQ(LauncherWindowProbe::HotItem(*frame_), 0);
  EXPECT_EQ(CountDifferences(Back(), 0, 113, art.buttons, 0, 19, 51, 19), 0);  // hover row

  Press(20, 120);
  EXPECT_EQ(CountDifferences(Back(), 0, 113, art.buttons, 0, 38, 51, 19), 0);   // pressed row
  EXPECT_EQ(CountDifferences(Back(), 51, 113, art.buttons, 51, 0, 51, 19), 0);  // other: normal

  Move(30, 125);  // still on the button: no repaint, the pressed row stays
  EXPECT_EQ(LauncherWindowProbe::HotState(*frame_), 1);
  EXPECT_EQ(CountDifferences(Back(), 0, 113, art.buttons, 0, 38, 51, 19), 0);

  Release(30, 125);  // a release always redraws
  EXPECT_EQ(LauncherWindowProbe::HotItem(*frame_), 0);
  EXPECT_EQ(CountDifferences(Back(), 0, 113, art.buttons, 0, 19, 51, 19), 0);

  Move(50, 50);
  EXPECT_EQ(LauncherWindowProbe::HotItem(*frame_), -1);
  EXPECT_EQ(CountDifferences(Back(), 0, 113, art.buttons, 0, 0, 102, 19), 0);

  // A release away from every item redraws the normal rows as well.
  Press(60, 120);
  Release(50, 50);
  EXPECT_EQ(LauncherWindowProbe::HotItem(*frame_), -1);
  EXPECT_EQ(CountDifferences(Back(), 0, 113, art.buttons, 0, 0, 102, 19), 0);
}

struct SlotCase {
  int panelX, panelY;
  int hotItem;
};

TEST_F(LauncherWindowTest, SlotHolesFollowTheGridAndThePanelBodyIsNoSlot) {
  const SlotCase cases[] = {
      // Corners and insides of the holes: slot k is hot item 3 + k.
      {13, 50, 3},
      {46, 83, 3},
      {50, 50, 4},
      {100, 60, 5},
      {157, 83, 6},
      {13, 87, 7},
      {60, 100, 8},
      {110, 110, 9},
      {140, 120, 10},
      // The panel's body, including x 0..12 that the grid division maps to column 0.
      {5, 60, -1},
      {12, 83, -1},
      {0, 50, -1},
      {30, 40, -1},
      {47, 60, -1},
      {30, 84, -1},
      {165, 60, -1},
      {80, 10, -1}};
  for (int side : {1, 2}) {
    PlaceCompact(side == 1 ? 500 : 100, 20);
    ClickCharacter();
    ASSERT_EQ(LauncherWindowProbe::PanelSide(*frame_), side);
    int panelX = side == 1 ? 0 : 102;
    for (const SlotCase& c : cases) {
      Move(10 + (side == 1 ? 174 : 0), 10);  // nothing hot in between
      Move(panelX + c.panelX, c.panelY);
      EXPECT_EQ(LauncherWindowProbe::HotItem(*frame_), c.hotItem)
          << "side " << side << " at " << c.panelX << "," << c.panelY;
    }
    ClickCharacter();  // back to compact
  }
}

TEST_F(LauncherWindowTest, LockedWindowIgnoresPressesOnThePanelBodyAndGaps) {
  app_->m_nFixedPos = 1;
  PlaceCompact(500, 20);
  ClickCharacter();  // panel left
  RECT before = WindowRect();
  std::vector<std::uint32_t> pixels(Back().pixels, Back().pixels + Back().width * Back().height);
  POINT gap = CharacterGapPoint(0);
  for (POINT p : {POINT{5, 60}, POINT{80, 5}, POINT{174 + gap.x, gap.y}, POINT{174 + 1, 120}}) {
    Press(p.x, p.y);
    EXPECT_EQ(LauncherWindowProbe::Compact(*frame_), 0) << p.x << "," << p.y;
    RECT after = WindowRect();
    EXPECT_TRUE(::EqualRect(&before, &after)) << p.x << "," << p.y;
    EXPECT_EQ(frame_->charLeft, 500);
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), Back().pixels)) << p.x << "," << p.y;
  }
}

TEST_F(LauncherWindowTest, TimerTicksBlinkTwoBandsThenWaitThirtyToFortyNineTicks) {
  std::srand(12345);
  // The countdown starts at 30: thirty quiet ticks, then the blink.
  for (int i = 0; i < 30; ++i) {
    ::SendMessageA(hwnd_, WM_TIMER, 1, 0);
    ASSERT_EQ(LauncherWindowProbe::BlinkFrame(*frame_), 0) << i;
    ASSERT_EQ(LauncherWindowProbe::TimerInterval(*frame_), 100) << i;
  }
  struct Step {
    int frame, interval;
  } steps[] = {{2, 30}, {2, 100}, {1, 15}, {1, 100}, {0, 100}};
  for (const Step& s : steps) {
    ::SendMessageA(hwnd_, WM_TIMER, 1, 0);
    EXPECT_EQ(LauncherWindowProbe::BlinkFrame(*frame_), s.frame);
    EXPECT_EQ(LauncherWindowProbe::TimerInterval(*frame_), s.interval);
  }
  int countdown = LauncherWindowProbe::BlinkCountdown(*frame_);
  EXPECT_GE(countdown, 30);
  EXPECT_LE(countdown, 49);
  ::KillTimer(hwnd_, 1);
}

TEST_F(LauncherWindowTest, TheRealTimerKeepsTickingAndClearsAStaleHover) {
  Move(20, 120);  // hover the previous button; the pointer itself is far away
  ASSERT_EQ(LauncherWindowProbe::HotItem(*frame_), 0);
  ::SetCursorPos(900, 700);
  ::SetTimer(hwnd_, 1, 100, nullptr);
  // Re-armed tick after tick: five real ticks count the blink down by five.
  EXPECT_TRUE(PumpUntil([&] { return LauncherWindowProbe::BlinkCountdown(*frame_) <= 30 - 5; }))
      << "the timer stopped ticking";
  ::KillTimer(hwnd_, 1);
  EXPECT_EQ(LauncherWindowProbe::HotItem(*frame_), -1);
}

}  // namespace
