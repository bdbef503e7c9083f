// CMainFrame: the popup menu, the slot commands, files dropped from the shell,
// and the end of a session.
#include <windows.h>

#include <cstring>

#include "app/LaunchPage.h"
#include "app/LauncherApp.h"
#include "dialogs/PageSettingsDlg.h"
#include "framework/FileDialog.h"
#include "framework/LateShell.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "framework/SystemText.h"
#include "launcher/LauncherGeometry.h"
#include "launcher/MainFrame.h"
#include "resources/resource.h"

namespace {

// The open dialog's filter: programs first, then every file.
constexpr char kSlotFileFilter[] = "程序|*.exe|所有文件|*.*||";

}  // namespace

// The dialogs and boxes are owned by the window, which stays disabled while
// one is up; but the end of the session still reaches it, and its posted
// close destroys the window inside the dialog's loop. So a command that ran
// one goes on only while the window is still there.

void CMainFrame::OnRButtonDown(UINT, CPoint point) {
  if (!TakesInput() || contextMenuUp) return;
  UpdateHot(compact, point.x, point.y);
  ClientToScreen(&point);

  const bool overSlot = hotItem >= kHotFirstSlot;
  if (overSlot) contextSlot = hotItem - kHotFirstSlot;
  // A menu that lacks an item is not shown: a pick would land on another.
  // One the system no longer takes is given up, and the next press makes
  // a new one.
  if (!FillContextMenu(overSlot)) {
    contextMenu.DestroyMenu();
    return;
  }
  contextMenuUp = true;
  BOOL shown = contextMenu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
  // The end of the session can close the window inside the menu's loop.
  if (!GetSafeHwnd()) return;
  contextMenuUp = false;
  if (!shown) contextMenu.DestroyMenu();
}

bool CMainFrame::FillContextMenu(bool overSlot) {
  if (!contextMenu.GetSafeHmenu() && !contextMenu.CreatePopupMenu()) return false;
  while (contextMenu.GetMenuItemCount() > 0) {
    if (!contextMenu.DeleteMenu(0, MF_BYPOSITION)) return false;
  }
  struct Item {
    UINT id;
    const char* text;
  };
  static const Item kSlotItems[] = {
      {ID_SLOT_ADD, "添加"}, {ID_SLOT_EDIT, "编辑"}, {ID_SLOT_DELETE, "删除"}};
  static const Item kWindowItems[] = {
      {ID_PAGE_SETTINGS, "设置"}, {ID_APP_ABOUT, "关于"}, {ID_APP_EXIT, "退出"}};
  for (const Item& item : overSlot ? kSlotItems : kWindowItems) {
    if (!contextMenu.AppendMenu(MF_STRING, item.id, item.text)) return false;
  }
  return true;
}

void CMainFrame::OnSlotAdd() {
  if (contextSlot < 0) return;
  CLauncherApp* app = TheApp();
  int page = app->m_nChar;
  int slot = contextSlot;

  CFileDialog dialog(TRUE, "*.exe", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kSlotFileFilter,
                     nullptr);
  dialog.m_ofn.lpstrTitle = "添加";
  if (dialog.DoModal() != IDOK || !GetSafeHwnd()) return;
  app->AddSlotFromFile(page, slot, dialog.GetPathName(), -1);
  if (!GetSafeHwnd()) return;
  RedrawAll();
  Show();
}

void CMainFrame::OnSlotEdit() {
  if (contextSlot < 0) return;
  CLauncherApp* app = TheApp();
  if (!app->CurrentPage().IsUsed(contextSlot)) return;
  app->EditSlotComment(app->m_nChar, contextSlot);
  if (!GetSafeHwnd()) return;
  RedrawAll();
  Show();
}

void CMainFrame::OnSlotDelete() {
  if (contextSlot < 0) return;
  LaunchPage& page = TheApp()->CurrentPage();
  if (!page.IsUsed(contextSlot)) return;
  int slot = contextSlot;
  int answer = AfxMessageBox("已被删除。", MB_OKCANCEL);
  if (!GetSafeHwnd()) return;
  if (answer == IDOK) {
    page.ClearSlot(slot);
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
  // A dialog whose window went with the launcher's returns neither OK nor Cancel.
  if (dialog.DoModal() != IDOK || !GetSafeHwnd()) return;

  int oldTopMost = app->m_nTopMost;
  page.SetName(dialog.m_strName);
  app->m_nTopMost = dialog.m_bTopMost;
  app->m_nFixedPos = dialog.m_bFixedPos;
  if (app->m_nTopMost != oldTopMost) {
    if (app->m_nTopMost) {
      ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    } else {
      // Switched off, the window also drops behind all others. Wine keeps a
      // topmost window topmost at the bottom request, and activating it would
      // bring it straight back to the top: leave the band first, unactivated.
      const UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
      ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
      ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, flags);
    }
  }
  RedrawAll();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  UpdateWindow();
}

void CMainFrame::OnDropFiles(HDROP drop) {
  if (!compact && TakesInput()) TakeDroppedFile(drop);
  late::DragFinish(drop);
}

void CMainFrame::TakeDroppedFile(HDROP drop) {
  ::SetForegroundWindow(m_hWnd);
  POINT point;
  late::DragQueryPoint(drop, &point);
  if (panelSide == kLayoutPanelRight) point.x -= metrics.characterWidth;
  int slot = SlotAt(point.x, point.y);
  if (slot < 0) return;

  CLauncherApp* app = TheApp();
  UINT count = late::DroppedFileCount(drop);
  for (UINT i = 0; i < count; ++i) {
    // A name that reaches MAX_PATH bytes is skipped, never cut to another
    // file's name. One that GBK cannot hold would be stored with '?' in its
    // place and fail when started: the drop is refused and nothing changes.
    char path[MAX_PATH] = {};
    bool withoutGbk = false;
    UINT length = late::DroppedFile(drop, i, path, MAX_PATH, &withoutGbk);
    if (withoutGbk) {
      AfxMessageBox(gbk::kNameWithoutGbkText, MB_ICONEXCLAMATION);
      return;
    }
    if (length == 0) continue;
    if (app->AddSlotFromFile(app->m_nChar, slot, path, static_cast<int>(length))) {
      if (!GetSafeHwnd()) return;
      RedrawAll();
      Show();
      return;
    }
  }
}

BOOL CMainFrame::OnQueryEndSession() {
  if (!CFrameWnd::OnQueryEndSession()) return FALSE;
  // Once it has its answer the system may end the process at any moment, so
  // the settings are complete in their file before it gets one. Another
  // program may still refuse the end, so the launcher stays until it comes.
  SaveForSessionEnd();
  return TRUE;
}

void CMainFrame::OnEndSession(BOOL ending) {
  if (!ending) {
    // Refused by another program: the session goes on, and so does the launcher.
    TheApp()->SessionGoesOn();
    return;
  }
  // A session ended without being asked first still gets its save; the
  // close that follows writes nothing more.
  SaveForSessionEnd();
  PostMessage(WM_CLOSE);
}

void CMainFrame::SaveForSessionEnd() {
  CLauncherApp* app = TheApp();
  if (app->IsStartedUp()) HandBackPosition();
  app->SaveForSessionEnd();
}
