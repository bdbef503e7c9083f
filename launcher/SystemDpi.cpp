#include "launcher/SystemDpi.h"

#include "common/DisplayScale.h"
#include "framework/LateBound.h"

namespace {

// MDT_EFFECTIVE_DPI of shellscalingapi.h, which older headers lack.
constexpr int kEffectiveDpi = 0;
using GetDpiForMonitorFn = HRESULT WINAPI(HMONITOR, int, UINT*, UINT*);

// Bound late: Windows 8.1 and 10 brought them; older systems have one DPI.
LateBound<GetDpiForMonitorFn> g_dpiForMonitor("shcore.dll", "GetDpiForMonitor");
using GetDpiForWindowFn = UINT WINAPI(HWND);
LateBound<GetDpiForWindowFn> g_dpiForWindow("user32.dll", "GetDpiForWindow");
LateBound<decltype(::MonitorFromPoint)> g_monitorFromPoint("user32.dll", "MonitorFromPoint");

int SystemDpi() {
  HDC screen = ::GetDC(nullptr);
  int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace

int DpiOfMonitorAt(int x, int y) {
  auto* fromPoint = g_monitorFromPoint.Get();
  auto* forMonitor = fromPoint ? g_dpiForMonitor.Get() : nullptr;
  if (forMonitor) {
    POINT point = {x, y};
    HMONITOR monitor = fromPoint(point, MONITOR_DEFAULTTONEAREST);
    UINT dpiX = 0, dpiY = 0;
    if (monitor && SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY)) && dpiX > 0)
      return static_cast<int>(dpiX);
  }
  return SystemDpi();
}

int DpiOfWindow(HWND window) {
  auto* forWindow = g_dpiForWindow.Get();
  UINT dpi = forWindow && window ? forWindow(window) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}
