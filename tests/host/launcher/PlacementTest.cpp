// Where the launcher's window may stand on a desktop of several monitors.
#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>

#include "launcher/Placement.h"

namespace {

const ScreenRect kSmall = {0, 0, 1024, 768};
const ScreenRect kPrimary = {0, 0, 1920, 1080};
const ScreenRect kLeft = {-1280, 0, 0, 1024};
const ScreenRect kRight = {1920, 0, 3200, 720};  // shorter than the primary
const ScreenRect kAbove = {0, -1080, 1920, 0};
const ScreenRect kBelow = {-400, 1080, 1200, 1680};

Desktop Of(std::vector<ScreenRect> monitors, int primary = 0) {
  Desktop desktop;
  desktop.monitors = std::move(monitors);
  desktop.primary = primary;
  desktop.screenWidth = 1024;
  desktop.screenHeight = 768;
  return desktop;
}

struct HoldCase {
  std::string name;
  Desktop desktop;
  int x, y;
  int wantX, wantY;
};
void PrintTo(const HoldCase& c, std::ostream* os) { *os << c.name; }

class HoldTable : public ::testing::TestWithParam<HoldCase> {};

TEST_P(HoldTable, KeepsAWindowOnAMonitorAndHoldsAnyOtherOnItsOwn) {
  const HoldCase& c = GetParam();
  ScreenPoint at = HoldOnMonitors(c.desktop, c.x, c.y, 102, 132);
  EXPECT_EQ(at.x, c.wantX);
  EXPECT_EQ(at.y, c.wantY);
  // What it gives is a place it keeps: holding twice moves nothing more,
  // and a window that fits a monitor ends up wholly on one.
  ScreenPoint again = HoldOnMonitors(c.desktop, at.x, at.y, 102, 132);
  EXPECT_EQ(again.x, at.x);
  EXPECT_EQ(again.y, at.y);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, HoldTable,
    ::testing::Values(
        // One monitor at the origin: the bounds in the order left, top,
        // right, bottom, on the primary screen's rectangle.
        HoldCase{"one_inside", Of({kSmall}), 300, 200, 300, 200},
        HoldCase{"one_left_and_above", Of({kSmall}), -20, -5, 0, 0},
        HoldCase{"one_past_the_right", Of({kSmall}), 5000, 700, 922, 636},
        HoldCase{"one_at_the_last_column", Of({kSmall}), 922, 636, 922, 636},
        HoldCase{"one_smaller_than_the_window", Of({{0, 0, 80, 100}}), 10, 10, -22, -32},
        HoldCase{"one_extreme_values", Of({kSmall}), INT_MAX, INT_MIN, 922, 0},
        HoldCase{"one_listed_none", Of({}, -1), -20, 5000, 0, 636},
        HoldCase{"one_listed_empty", Of({{5, 5, 5, 900}}), -20, 5000, 0, 636},
        // Monitors around the primary keep what lies wholly on them.
        HoldCase{"left_of_primary", Of({kPrimary, kLeft}), -900, 100, -900, 100},
        HoldCase{"right_of_primary", Of({kPrimary, kRight}), 2500, 500, 2500, 500},
        HoldCase{"above_primary", Of({kPrimary, kAbove}), 100, -500, 100, -500},
        HoldCase{"below_primary", Of({kPrimary, kBelow}), -300, 1500, -300, 1500},
        HoldCase{"primary_listed_second", Of({kLeft, kPrimary}, 1), -900, 100, -900, 100},
        // A monitor that is gone: held within the nearest of the others.
        HoldCase{"left_monitor_removed", Of({kPrimary}), -900, 100, 0, 100},
        HoldCase{"far_left_of_the_left", Of({kPrimary, kLeft}), -9000, -50, -1280, 0},
        // Beside the shorter right monitor, below its bottom: the primary is
        // nearer (80 pixels to the side) than the right one (180 below).
        HoldCase{"in_the_gap_beside_a_short_monitor", Of({kPrimary, kRight}), 2000, 900, 1818, 900},
        // Across a border: onto the monitor that holds the larger part.
        HoldCase{"straddle_mostly_on_primary", Of({kPrimary, kLeft}), -50, 300, 0, 300},
        HoldCase{"straddle_mostly_on_left", Of({kPrimary, kLeft}), -60, 300, -102, 300},
        HoldCase{"straddle_even_goes_to_primary", Of({kLeft, kPrimary}, 1), -51, 300, 0, 300},
        // Overlapping (cloned) monitors: on either is on a monitor.
        HoldCase{"overlapping_inside_the_larger", Of({kSmall, {0, 0, 1280, 1024}}), 1100, 850, 1100,
                 850}));

TEST(Desktop, TheMonitorOfAWindowAndWhetherItIsReachable) {
  Desktop desktop = Of({kPrimary, kLeft, kRight});
  ScreenRect own = MonitorAreaOf(desktop, -900, 100, 102, 132);
  EXPECT_EQ(own.left, kLeft.left);
  own = MonitorAreaOf(desktop, 2500, 100, 102, 132);
  EXPECT_EQ(own.left, kRight.left);
  EXPECT_TRUE(TouchesAMonitor(desktop, -101, 0, 102, 132));
  EXPECT_FALSE(TouchesAMonitor(desktop, 3200, 0, 102, 132));
  EXPECT_FALSE(TouchesAMonitor(desktop, 2000, 720, 102, 132));
  EXPECT_FALSE(TouchesAMonitor(desktop, INT_MAX, INT_MAX, 102, 132));
  EXPECT_TRUE(IsOnAMonitor(desktop, 1818, 948, 102, 132));
  EXPECT_FALSE(IsOnAMonitor(desktop, 1819, 948, 102, 132));
}

TEST(Desktop, DefaultsCentreTheWindowOnThePrimary) {
  ScreenPoint at = CentredOnPrimary(Of({kSmall}), 102, 132);
  EXPECT_EQ(at.x, 461);
  EXPECT_EQ(at.y, 318);
  at = CentredOnPrimary(Of({kLeft, kPrimary}, 1), 102, 132);
  EXPECT_EQ(at.x, 909);
  EXPECT_EQ(at.y, 474);
  // Halves truncate toward zero, as on a screen narrower than the window.
  at = CentredOnPrimary(Of({{0, 0, 81, 100}}), 102, 132);
  EXPECT_EQ(at.x, -10);
  EXPECT_EQ(at.y, -16);
  at = CentredOnPrimary(Of({}, -1), 102, 132);
  EXPECT_EQ(at.x, 461);
}

}  // namespace
