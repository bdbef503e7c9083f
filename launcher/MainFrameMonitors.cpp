// CMainFrame: staying on the monitors while they change. The system says
// so in bursts (a monitor unplugged, the resolution or the taskbar changed),
// so the window waits until they have been still for a moment.
#include <windows.h>

#include "launcher/LauncherGeometry.h"
#include "launcher/MainFrame.h"
#include "launcher/Placement.h"
#include "launcher/SystemDesktop.h"

void CMainFrame::OnDisplayChange() { SetTimer(kMonitorsTimerId, kMonitorsSettleTime); }

void CMainFrame::OnSettingChange(UINT_PTR what) {
  if (what == SPI_SETWORKAREA) OnDisplayChange();
}

void CMainFrame::OnDpiChanged(UINT_PTR dpis) {
  // The system's suggested rectangle is ignored: the character's top-left
  // corner stays where the person put it, the window grows or shrinks from
  // there.
  RECT window;
  if (::GetWindowRect(m_hWnd, &window)) {
    charLeft = CharacterLeftFor(metrics, window.left, compact, panelSide);
    charTop = window.top;
  }
  ScaleTo(LOWORD(dpis));
  RedrawAll();
  Show();
  // Not under the move loop's feet: its end keeps the window on a monitor.
  if (!dragging) KeepOnMonitors(Reach::kWholeOnAMonitor);
}

void CMainFrame::KeepOnMonitors(Reach reach) {
  RECT window;
  if (!::GetWindowRect(m_hWnd, &window)) return;
  Desktop desktop = ReadDesktop();
  LayoutGeometry g = GeometryOf(metrics, layout);
  if (reach == Reach::kAnyPartOnAMonitor &&
      TouchesAMonitor(desktop, window.left - g.leftOfCharacter, window.top, metrics.characterWidth,
                      metrics.windowHeight)) {
    return;
  }
  // The whole window, so an open panel stays open and whole beside it.
  ScreenPoint at = HoldOnMonitors(desktop, window.left, window.top, g.width, g.height);
  // Taken from where the window is even when it stays: the system may have
  // moved it itself when a monitor went.
  charLeft = at.x - g.leftOfCharacter;
  charTop = at.y;
  if (at.x != window.left || at.y != window.top) MoveForLayout(layout);
}
