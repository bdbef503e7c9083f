// CMainFrame: the popup menu, the slot commands, files dropped from the shell,
// and the end of a session.
#include <windows.h>
// After windows.h, which they build on.
#include <shellapi.h>

#include "app/LaunchPage.h"
#include "app/LauncherApp.h"
#include "dialogs/PageSettingsDlg.h"
#include "framework/FileDialog.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "launcher/LauncherGeometry.h"
#include "launcher/MainFrame.h"
#include "resources/resource.h"

namespace {

// The open dialog's filter: programs first, then every file.
constexpr char kSlotFileFilter[] = "程序|*.exe|所有文件|*.*||";

}  // namespace

void CMainFrame::OnRButtonDown(UINT, CPoint point) {
  UpdateHot(compact, point.x, point.y);
  ClientToScreen(&point);

  CMenu menu;
  if (!menu.CreatePopupMenu()) return;
  if (hotItem >= 3) {
    contextSlot = hotItem - 3;
    menu.AppendMenu(MF_STRING, ID_SLOT_ADD, "添加");
    menu.AppendMenu(MF_STRING, ID_SLOT_EDIT, "编辑");
    menu.AppendMenu(MF_STRING, ID_SLOT_DELETE, "删除");
  } else {
    menu.AppendMenu(MF_STRING, ID_PAGE_SETTINGS, "设置");
    menu.AppendMenu(MF_STRING, ID_APP_ABOUT, "关于");
    menu.AppendMenu(MF_STRING, ID_APP_EXIT, "退出");
  }
  menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CMainFrame::OnSlotAdd() {
  if (contextSlot < 0) return;
  CLauncherApp* app = TheApp();
  int page = app->m_nChar;
  int slot = contextSlot;

  CFileDialog dialog(TRUE, "*.exe", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     kSlotFileFilter, nullptr);
  dialog.m_ofn.lpstrTitle = "添加";
  if (dialog.DoModal() != IDOK) return;
  app->AddSlotFromFile(page, slot, dialog.GetPathName(), -1);
  RedrawAll();
  Show();
}

void CMainFrame::OnSlotEdit() {
  if (contextSlot < 0) return;
  CLauncherApp* app = TheApp();
  if (!app->CurrentPage().IsUsed(contextSlot)) return;
  app->EditSlotComment(app->m_nChar, contextSlot);
  RedrawAll();
  Show();
}

void CMainFrame::OnSlotDelete() {
  if (contextSlot < 0) return;
  LaunchPage& page = TheApp()->CurrentPage();
  if (!page.IsUsed(contextSlot)) return;
  if (AfxMessageBox("已被删除。", MB_OKCANCEL) == IDOK) {
    page.ClearSlot(contextSlot);
    RedrawAll();
  }
  Show();
}

void CMainFrame::OnPageSettings() {
  CLauncherApp* app = TheApp();
  LaunchPage& page = app->CurrentPage();
  CPageSettingsDlg dialog;
  dialog.m_nPage = app->m_nChar;
  dialog.m_strName = page.GetName() ? page.GetName() : "";
  dialog.m_bTopMost = app->m_nTopMost;
  dialog.m_bFixedPos = app->m_nFixedPos;
  if (dialog.DoModal() != IDOK) return;

  int oldTopMost = app->m_nTopMost;
  page.SetName(dialog.m_strName);
  app->m_nTopMost = dialog.m_bTopMost;
  app->m_nFixedPos = dialog.m_bFixedPos;
  if (app->m_nTopMost != oldTopMost) {
    // Switched off, the window also drops behind all others.
    HWND order = app->m_nTopMost ? HWND_TOPMOST : HWND_BOTTOM;
    ::SetWindowPos(m_hWnd, order, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  }
  RedrawAll();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  UpdateWindow();
}

void CMainFrame::OnDropFiles(HDROP drop) {
  if (!compact) TakeDroppedFile(drop);
  ::DragFinish(drop);
}

void CMainFrame::TakeDroppedFile(HDROP drop) {
  ::SetForegroundWindow(m_hWnd);
  POINT point;
  ::DragQueryPoint(drop, &point);
  if (panelSide == 2) point.x -= kCharacterWidth;
  int slot = SlotAt(point.x, point.y);
  if (slot < 0) return;

  CLauncherApp* app = TheApp();
  UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    char path[MAX_PATH];
    UINT length = ::DragQueryFileA(drop, i, path, sizeof path);
    // A name that does not fit the buffer would arrive cut: skip it.
    if (length == 0 || length >= sizeof path) continue;
    if (app->AddSlotFromFile(app->m_nChar, slot, path, static_cast<int>(length))) {
      RedrawAll();
      Show();
      return;
    }
  }
}

BOOL CMainFrame::OnQueryEndSession() {
  if (!CFrameWnd::OnQueryEndSession()) return FALSE;
  PostMessage(WM_CLOSE);
  return TRUE;
}

void CMainFrame::OnEndSession(BOOL ending) {
  if (!ending) return;
  // The system may end the process as soon as this returns, before the
  // posted close arrives: save now (the exit save then does nothing).
  CLauncherApp* app = TheApp();
  app->m_nPosX = charLeft;
  app->m_nPosY = charTop;
  app->SaveSettings();
}
