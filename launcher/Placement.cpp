#include "launcher/Placement.h"

#include <cstddef>
#include <cstdint>

namespace {

// Wide enough that no sum or product of two screen coordinates overflows:
// a position comes from a settings file and may be any 32-bit value.
using Wide = std::int64_t;

struct Box {
  Wide left, top, right, bottom;
};

Box BoxOf(const ScreenRect& r) { return {r.left, r.top, r.right, r.bottom}; }
Box BoxOf(int x, int y, int w, int h) { return {x, y, Wide{x} + w, Wide{y} + h}; }

bool IsEmpty(const Box& b) { return b.right <= b.left || b.bottom <= b.top; }

Wide Overlap(Wide lo1, Wide hi1, Wide lo2, Wide hi2) {
  Wide lo = lo1 > lo2 ? lo1 : lo2;
  Wide hi = hi1 < hi2 ? hi1 : hi2;
  return hi > lo ? hi - lo : 0;
}

// The gap between two intervals along one axis; 0 where they overlap.
Wide Gap(Wide lo1, Wide hi1, Wide lo2, Wide hi2) {
  if (hi1 <= lo2) return lo2 - hi1;
  if (hi2 <= lo1) return lo1 - hi2;
  return 0;
}

// How well a monitor holds a window: more shared area first, then less
// distance. Every product stays below 2^63 for 32-bit coordinates.
struct Fit {
  Wide shared;
  Wide distance;
  bool BetterThan(const Fit& other) const {
    if (shared != other.shared) return shared > other.shared;
    return distance < other.distance;
  }
};

Fit FitOf(const Box& monitor, const Box& window) {
  Wide w = Overlap(monitor.left, monitor.right, window.left, window.right);
  Wide h = Overlap(monitor.top, monitor.bottom, window.top, window.bottom);
  Wide dx = Gap(monitor.left, monitor.right, window.left, window.right);
  Wide dy = Gap(monitor.top, monitor.bottom, window.top, window.bottom);
  // A squared distance of two gaps up to 2^33 each would overflow: the
  // larger gap alone orders far windows well enough.
  Wide distance = (dx > dy ? dx : dy);
  return {w * h, distance};
}

// The monitors that can hold a window, the primary first (so a tie keeps
// it); the primary screen's size at the origin when the system listed none.
std::vector<Box> Areas(const Desktop& desktop) {
  std::vector<Box> areas;
  int count = static_cast<int>(desktop.monitors.size());
  if (desktop.primary >= 0 && desktop.primary < count)
    areas.push_back(BoxOf(desktop.monitors[static_cast<std::size_t>(desktop.primary)]));
  for (int i = 0; i < count; ++i) {
    if (i != desktop.primary) areas.push_back(BoxOf(desktop.monitors[static_cast<std::size_t>(i)]));
  }
  std::vector<Box> usable;
  for (const Box& area : areas) {
    if (!IsEmpty(area)) usable.push_back(area);
  }
  if (usable.empty()) usable.push_back({0, 0, desktop.screenWidth, desktop.screenHeight});
  return usable;
}

Box BestArea(const std::vector<Box>& areas, const Box& window) {
  Box best = areas.front();
  Fit bestFit = FitOf(best, window);
  for (const Box& area : areas) {
    Fit fit = FitOf(area, window);
    if (fit.BetterThan(bestFit)) {
      best = area;
      bestFit = fit;
    }
  }
  return best;
}

bool Contains(const Box& outer, const Box& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

ScreenRect RectOf(const Box& b) {
  return {static_cast<int>(b.left), static_cast<int>(b.top), static_cast<int>(b.right),
          static_cast<int>(b.bottom)};
}

}  // namespace

ScreenRect PrimaryArea(const Desktop& desktop) { return RectOf(Areas(desktop).front()); }

ScreenRect MonitorAreaOf(const Desktop& desktop, int x, int y, int w, int h) {
  return RectOf(BestArea(Areas(desktop), BoxOf(x, y, w, h)));
}

bool IsOnAMonitor(const Desktop& desktop, int x, int y, int w, int h) {
  Box window = BoxOf(x, y, w, h);
  for (const Box& area : Areas(desktop)) {
    if (Contains(area, window)) return true;
  }
  return false;
}

bool TouchesAMonitor(const Desktop& desktop, int x, int y, int w, int h) {
  Box window = BoxOf(x, y, w, h);
  return FitOf(BestArea(Areas(desktop), window), window).shared > 0;
}

ScreenPoint HoldOnMonitors(const Desktop& desktop, int x, int y, int w, int h) {
  if (IsOnAMonitor(desktop, x, y, w, h)) return {x, y};
  ScreenRect area = MonitorAreaOf(desktop, x, y, w, h);
  Wide left = x;
  Wide top = y;
  if (left < area.left) left = area.left;
  if (top < area.top) top = area.top;
  if (left >= Wide{area.right} - w) left = Wide{area.right} - w;
  if (top >= Wide{area.bottom} - h) top = Wide{area.bottom} - h;
  return {static_cast<int>(left), static_cast<int>(top)};
}

ScreenPoint CentredOnPrimary(const Desktop& desktop, int w, int h) {
  ScreenRect area = PrimaryArea(desktop);
  Wide width = Wide{area.right} - area.left;
  Wide height = Wide{area.bottom} - area.top;
  return {static_cast<int>(area.left + (width - w) / 2),
          static_cast<int>(area.top + (height - h) / 2)};
}
