// GDI use stays flat over many page flips and panel toggles. Wine has no
// per-process GDI count, so the headroom is measured instead: how many 1 x 1
// regions can still be made before creation fails.
#include <cstdio>

#include "tests/win32/launcher/LauncherTestSupport.h"
#include "tests/win32/support/Handles.h"

namespace {

TEST_F(LauncherWindowTest, PageFlipsAndPanelTogglesLeakNoGdiObjects) {
  for (int slot = 0; slot < 8; slot += 3) FillSlot(0, slot, "C:\\x.exe", "x");
  PlaceCompact(100, 20);
  ClickCharacter();    // expanded: flips redraw icons and caption too
  Move(102 + 30, 67);  // a hovered slot: its comment is drawn at every flip
  // One round first, so that caches of the system are warm.
  Press(60, 120);
  Release(60, 120);
  ClickCharacter();
  ClickCharacter();

  int before = GdiHeadroom();
  ASSERT_GT(before, 1000);
  ASSERT_LT(before, 200000);
  for (int i = 0; i < 10000; ++i) {
    int x = (i % 2) ? 60 : 20;  // next, previous
    Press(x, 120);
    Release(x, 120);
  }
  for (int i = 0; i < 1000; ++i) ClickCharacter();
  EXPECT_EQ(LauncherWindowProbe::Layout(*frame_), 2);
  int after = GdiHeadroom();
  RecordProperty("headroom_before", before);
  RecordProperty("headroom_after", after);
  std::printf("GDI headroom: %d before, %d after\n", before, after);
  // A leak of one object per flip or toggle would cost thousands.
  EXPECT_LE(before - after, 16) << "before " << before << ", after " << after;
}

}  // namespace
