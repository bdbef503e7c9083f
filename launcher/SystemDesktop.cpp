#include "launcher/SystemDesktop.h"

#include <windows.h>

#include "framework/LateBound.h"

namespace {

// Bound late: older systems have no monitor functions at all.
LateBound<decltype(::EnumDisplayMonitors)> g_enumMonitors("user32.dll", "EnumDisplayMonitors");
LateBound<decltype(::GetMonitorInfoA)> g_monitorInfo("user32.dll", "GetMonitorInfoA");

// More than any desk holds; a system that lists more is not believed.
constexpr size_t kMaxMonitors = 64;

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto* desktop = reinterpret_cast<Desktop*>(data);
  if (desktop->monitors.size() >= kMaxMonitors) return FALSE;
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!g_monitorInfo.Get()(monitor, &info)) return TRUE;
  if (info.dwFlags & MONITORINFOF_PRIMARY)
    desktop->primary = static_cast<int>(desktop->monitors.size());
  const RECT& r = info.rcMonitor;
  desktop->monitors.push_back({r.left, r.top, r.right, r.bottom});
  return TRUE;
}

}  // namespace

Desktop ReadDesktop() {
  Desktop desktop;
  desktop.screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  desktop.screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  auto* enumerate = g_enumMonitors.Get();
  if (enumerate && g_monitorInfo.Get()) {
    // Room made here, so the callback, which the system calls, never
    // allocates.
    desktop.monitors.reserve(kMaxMonitors);
    enumerate(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&desktop));
  }
  return desktop;
}
