#pragma once
// Where the launcher's window may stand on the desktop, as plain numbers:
// the desktop is the list of monitors the system reports, each a rectangle
// in screen pixels (the primary's top-left corner is the origin, others may
// lie at negative coordinates). Nothing here asks the system anything.

#include <vector>

// left and top inclusive, right and bottom exclusive.
struct ScreenRect {
  int left, top, right, bottom;
};

struct ScreenPoint {
  int x, y;
};

struct Desktop {
  std::vector<ScreenRect> monitors;  // as the system lists them; may be empty
  int primary = -1;                  // index into monitors, or -1 when none is marked
  // The primary screen's size, for a system that lists no monitor.
  int screenWidth = 0;
  int screenHeight = 0;
};

// Every function below takes the desktop's usable monitors (those with a
// non-empty rectangle); when there is none, the primary screen's size at the
// origin stands for the one monitor.

// The primary monitor's rectangle: the marked one, else the first.
ScreenRect PrimaryArea(const Desktop& desktop);

// The monitor a w x h window at (x, y) belongs to: the one holding the
// largest part of it, else the nearest one; ties go to the primary, then to
// the earlier in the list.
ScreenRect MonitorAreaOf(const Desktop& desktop, int x, int y, int w, int h);

// Whether the w x h window at (x, y) lies wholly inside one monitor.
bool IsOnAMonitor(const Desktop& desktop, int x, int y, int w, int h);

// Whether any part of it lies on some monitor.
bool TouchesAMonitor(const Desktop& desktop, int x, int y, int w, int h);

// Holds a w x h window at (x, y) within a monitor: a window wholly on one
// stays exactly where it is; any other is held within the monitor it
// belongs to, bound by bound in the order left, top, right, bottom, so on a
// monitor smaller than the window the right and bottom bounds win.
ScreenPoint HoldOnMonitors(const Desktop& desktop, int x, int y, int w, int h);

// The top-left corner that centres a w x h window on the primary monitor
// (halves truncated toward zero).
ScreenPoint CentredOnPrimary(const Desktop& desktop, int w, int h);
