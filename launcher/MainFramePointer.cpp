// CMainFrame: what lies under the pointer, presses and releases of the left
// button, and the timer that polls the pointer and drives the blink. The
// window never captures the mouse; the timer notices when the pointer leaves.
#include <cstdlib>

#include "app/LaunchPage.h"
#include "app/LauncherApp.h"
#include "imaging/DrawSurface.h"
#include "launcher/LauncherGeometry.h"
#include "launcher/MainFrame.h"
#include "launcher/Placement.h"
#include "launcher/SystemDesktop.h"
#include "launcher/SystemDpi.h"

int CMainFrame::SlotAt(int x, int y) const {
  int maskValue = panelPicture ? panelPicture->MaskAt(x, y) : 0;
  return ::SlotAt(metrics, x, y, maskValue);
}

bool CMainFrame::IsOnCharacter(bool compactFlag, int x, int y) const {
  if (!compactFlag && panelSide == kLayoutPanelLeft) x -= metrics.panelWidth;
  if (!InCharacterFrame(metrics, x, y) || !characterPicture) return false;
  return characterPicture->MaskAt(x + metrics.characterWidth * Page(), y) != 0;
}

bool CMainFrame::UpdateHot(bool compactFlag, int x, int y) {
  int previous = hotItem;
  hotItem = HotItemAt(metrics, compactFlag, panelSide, x, y,
                      [this](int px, int py) { return SlotAt(px, py); });
  hotState = hotItem == kHotNothing ? kHotIdle : kHotHover;
  // A pressed item that stays hot keeps showing its pressed row.
  if (hotItem == previous) return false;
  DrawControls(compactFlag);
  return true;
}

void CMainFrame::OnMouseMove(UINT, CPoint point) {
  if (UpdateHot(compact, point.x, point.y)) Show();
  Default();
}

void CMainFrame::OnLButtonDown(UINT, CPoint point) {
  CLauncherApp* app = TheApp();
  if (!TakesInput()) return;
  UpdateHot(compact, point.x, point.y);

  if (hotState == kHotHover) {
    hotState = kHotPressed;
    int page = Page();
    if (hotItem == kHotPreviousPage) {
      PlayClick();
      app->m_nChar = PreviousPage(page);
    } else if (hotItem == kHotNextPage) {
      PlayClick();
      app->m_nChar = NextPage(page);
    } else if (hotItem >= kHotFirstSlot && app->m_pPages) {
      int slot = hotItem - kHotFirstSlot;
      if (app->m_pPages[page].IsUsed(slot)) {
        PlayClick();
        // A target that fails is reported in a box, whose loop the end of
        // the session can reach: it may take this window with it.
        app->m_pPages[page].RunSlot(m_hWnd, slot);
        if (!GetSafeHwnd()) return;
      }
    }
    RedrawAll();
    Show();
    return;
  }

  RECT window;
  if (IsOnCharacter(compact, point.x, point.y)) {
    PlayClick();
    GetWindowRect(&window);
    if (compact) {
      ScreenRect monitor = MonitorAreaOf(ReadDesktop(), window.left, window.top,
                                         metrics.characterWidth, metrics.windowHeight);
      panelSide = PanelSideFor(metrics, window.left, monitor.left);
      charLeft = window.left;
      charTop = window.top;
      DrawExpanded();
    } else {
      charLeft = CharacterLeftFor(metrics, window.left, false, panelSide);
      charTop = window.top;
      DrawCompact();
    }
    Show();
    return;
  }

  // Anywhere else drags the window (the system's move loop runs until the
  // button is released, and the end of the session can reach it), unless
  // its position is locked.
  if (!app->m_nFixedPos) {
    dragging = true;
    SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, 0);
    if (!GetSafeHwnd()) return;
    dragging = false;
  }
  GetWindowRect(&window);
  charLeft = CharacterLeftFor(metrics, window.left, compact, panelSide);
  charTop = window.top;
  // On a monitor of another scale, drawn at that one (where the system has
  // not said so already while the window moved).
  if (ScaleTo(DpiOfWindow(m_hWnd))) {
    RedrawAll();
    Show();
  }
  // Dropped where no monitor shows any of it, no click could reach it again.
  KeepOnMonitors(Reach::kAnyPartOnAMonitor);
}

void CMainFrame::OnLButtonUp(UINT, CPoint point) {
  // Forces a change, so the released button returns to its hover or normal row.
  hotItem = kHotReleased;
  UpdateHot(compact, point.x, point.y);
  Show();
  Default();
}

void CMainFrame::OnTimer(UINT_PTR id) {
  KillTimer(id);
  if (id == kTimerId) {
    // Without a pointer position (a locked workstation, another desktop)
    // the hot item stays as it is until one can be had again.
    POINT cursor;
    bool changed = false;
    if (::GetCursorPos(&cursor)) {
      ScreenToClient(&cursor);
      changed = UpdateHot(compact, cursor.x, cursor.y);
    }
    BlinkTick tick = AdvanceBlink(&blink, &std::rand);
    if (tick.stepped) {
      RedrawAll();
      Show();
    } else if (changed) {
      Show();
    }
    // Idle time takes the current page's icons, one a tick, so that the
    // first opening of the panel finds them ready.
    CLauncherApp* app = TheApp();
    if (app->m_pPages) app->m_pPages[Page()].TakeNextIcon();
    timerInterval = tick.interval;
    SetTimer(kTimerId, timerInterval);
  } else if (id == kMonitorsTimerId) {
    // Not under the move loop's feet: once the drag ends.
    if (dragging) {
      SetTimer(kMonitorsTimerId, kMonitorsSettleTime);
    } else {
      KeepOnMonitors(Reach::kWholeOnAMonitor);
    }
  }
  Default();
}
