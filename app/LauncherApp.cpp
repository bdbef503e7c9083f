#include "app/LauncherApp.h"

#include <cstdlib>
#include <string>

#include "app/LaunchPage.h"
#include "app/PageStore.h"
#include "app/SettingsFile.h"
#include "archive/ResourceArchive.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/CommentDlg.h"
#include "framework/MessageBox.h"
#include "framework/ModuleState.h"
#include "framework/VisualStyles.h"
#include "imaging/DrawSurface.h"
#include "launcher/MainFrame.h"
#include "launcher/Placement.h"
#include "launcher/SystemDesktop.h"
#include "launcher/SystemDpi.h"
#include "resources/resource.h"

namespace {

constexpr char kSemaphoreName[] = "SEM_VELLORA_LAUNCHER";

}  // namespace

int g_bStarted = 0;

const MessageEntry CLauncherApp::kMessageEntries[] = {
    {WM_COMMAND, ID_APP_ABOUT, &afx::OnMsg<&CLauncherApp::OnAppAbout>}, {0, 0, nullptr}};
DEFINE_MESSAGE_MAP(CLauncherApp, CWinApp)

CLauncherApp::CLauncherApp() : CWinApp("dida") {}

CLauncherApp::~CLauncherApp() { delete[] m_pPages; }

CLauncherApp* TheApp() { return static_cast<CLauncherApp*>(AfxGetApp()); }

LaunchPage& CLauncherApp::CurrentPage() { return m_pPages[m_nChar]; }

HANDLE CreateSingleInstanceSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initialCount,
                                     LONG maximumCount, const char* name) {
  HANDLE semaphore = ::CreateSemaphoreA(attributes, initialCount, maximumCount, name);
  if (!semaphore) return nullptr;
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(semaphore);
    return nullptr;
  }
  return semaphore;
}

BOOL CLauncherApp::InitInstance() {
  AfxEnableControlContainer();
  Enable3dControlsStatic();

  // The handle stays open for the life of the process: its existence is
  // what marks a running instance.
  if (!CreateSingleInstanceSemaphore(nullptr, 0, 1, kSemaphoreName)) return FALSE;

  std::srand(::GetTickCount());
  g_bStarted = 1;
  g_hInstance = AfxGetInstanceHandle();
  g_archive.Open(ArchiveMode_Embedded, nullptr, nullptr);
  g_settings.Bind("param");

  // Without its window the launcher would be an invisible process holding
  // the single-instance semaphore until the next logoff.
  CMainFrame* frame = CreateMainFrame();
  if (!frame) return FALSE;
  g_hMainWnd = frame->m_hWnd;
  DrawSurface::SetReferenceWindow(g_hMainWnd);

  // The first start centres the window on the primary monitor at that
  // monitor's scale; later ones take the scale of the monitor it was left on.
  Desktop desktop = ReadDesktop();
  ScreenRect primary = PrimaryArea(desktop);
  frame->ScaleTo(DpiOfMonitorAt(primary.left, primary.top));
  const LauncherMetrics* m = &frame->Metrics();
  ScreenPoint centre = CentredOnPrimary(desktop, m->characterWidth, m->windowHeight);
  m_nChar = g_settings.GetInt("Char", 0);
  // The page index picks one of six pages and character columns.
  if (m_nChar < 0 || m_nChar >= kPageCount) m_nChar = 0;
  m_nPosX = g_settings.GetInt("PosX", centre.x);
  m_nPosY = g_settings.GetInt("PosY", centre.y);
  frame->ScaleTo(DpiOfMonitorAt(m_nPosX, m_nPosY));
  // Where it was left, if that is still on a monitor; else held within the
  // nearest one.
  ScreenPoint at = HoldOnMonitors(desktop, m_nPosX, m_nPosY, m->characterWidth, m->windowHeight);
  m_nPosX = at.x;
  m_nPosY = at.y;
  frame->charLeft = m_nPosX;
  frame->charTop = m_nPosY;
  m_nTopMost = g_settings.GetInt("TopMost", 0);
  m_nFixedPos = g_settings.GetInt("FixedPos", 0);

  frame->MoveWindow(m_nPosX, m_nPosY, m->characterWidth, m->windowHeight, FALSE);
  frame->DrawCompact();
  frame->ShowWindow(SW_SHOW);
  frame->UpdateWindow();
  // The compact window shows nothing of the pages, so they are read once it
  // is on the screen; the handlers that use them run only from the message
  // loop, which starts after this.
  m_pPages = new LaunchPage[kPageCount];
  SetIconSize(frame->Metrics().iconSize);
  LoadPages();
  // The themed controls of the dialogs and boxes, which the main window has
  // no use for: resolved now rather than by the loader before the paint.
  ActivateVisualStyles();
  if (m_nTopMost) {
    ::SetWindowPos(g_hMainWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  frame->DragAcceptFiles(TRUE);
  frame->SetTimer(CMainFrame::kTimerId, kTickInterval);
  FinishStartUp();
  return TRUE;
}

CMainFrame* CLauncherApp::CreateMainFrame() {
  m_pFrame.reset(new CMainFrame);
  m_pMainWnd = m_pFrame.get();
  if (m_pFrame->CreateLauncher()) return m_pFrame.get();
  m_pMainWnd = nullptr;
  m_pFrame.reset();
  return nullptr;
}

void CLauncherApp::FinishStartUp() {
  m_bStartedUp = true;
  if (m_bCloseDeferred && m_pMainWnd) m_pMainWnd->PostMessage(WM_CLOSE);
}

BOOL CLauncherApp::WriteSettings() {
  if (!g_settings.BeginSave()) return FALSE;
  g_settings.WriteInt("Char", m_nChar);
  g_settings.WriteInt("PosX", m_nPosX);
  g_settings.WriteInt("PosY", m_nPosY);
  g_settings.WriteInt("TopMost", m_nTopMost);
  g_settings.WriteInt("FixedPos", m_nFixedPos);
  SavePages();
  return g_settings.CommitSave();
}

BOOL CLauncherApp::SaveOnce() {
  if (!g_bStarted || !m_bStartedUp || m_bSaved) return TRUE;
  m_bSaved = true;
  return WriteSettings();
}

void CLauncherApp::SaveForSessionEnd() {
  m_bSessionEnding = true;
  SaveOnce();
}

void CLauncherApp::SessionGoesOn() {
  m_bSessionEnding = false;
  m_bSaved = false;
}

void CLauncherApp::ReportUnsavedSettings() {
  // Said once, at an exit the user chose: the changes of this run are lost
  // (a protected folder, a read-only file), and the user should know where.
  if (g_settings.HasNoRoom()) {
    AfxMessageBox("程序所在的路径太长，设置无法读取和保存。", MB_OK);
    return;
  }
  std::string message = std::string("设置未能保存到以下文件：\n") + g_settings.GetPath();
  AfxMessageBox(message.c_str(), MB_OK);
}

int CLauncherApp::ExitInstance() {
  m_pFrame.reset();  // its window went with the message loop
  if (g_bStarted) {
    // Never a box when the session ends: nobody may be there to answer it.
    if (!SaveOnce() && !m_bSessionEnding) ReportUnsavedSettings();
    delete[] m_pPages;
    m_pPages = nullptr;
    g_archive.Close();
  }
  return CWinApp::ExitInstance();
}

void CLauncherApp::LoadPages() { ::LoadPages(m_pPages); }

void CLauncherApp::SavePages() {
  if (m_pPages) ::SavePages(m_pPages);
}

void CLauncherApp::SetIconSize(int pixels) {
  if (!m_pPages) return;
  for (int page = 0; page < kPageCount; ++page) m_pPages[page].SetIconSize(pixels);
}

void CLauncherApp::DrawPageIcons(DrawSurface* surface, const LauncherMetrics& metrics, int panelX,
                                 int page) {
  SetIconSize(metrics.iconSize);
  HDC hdc = surface->LockDC();
  if (!hdc) return;
  for (int i = 0; i < kSlotCount; ++i) {
    int x = 0, y = 0;
    SlotIconOrigin(metrics, panelX, i, &x, &y);
    m_pPages[page].DrawSlotIcon(hdc, x, y, i);
  }
  surface->UnlockDC(hdc);
}

int CLauncherApp::AddSlotFromFile(int page, int slot, const char* path, int /*length*/) {
  m_pPages[page].SetFromFile(slot, path);
  // The slot is filled whether or not the user confirms a comment.
  EditSlotComment(page, slot);
  return 1;
}

void CLauncherApp::EditSlotComment(int page, int slot) {
  CCommentDlg dialog;
  const char* comment = m_pPages[page].GetComment(slot);
  dialog.m_strComment = comment ? comment : "";
  if (dialog.DoModal() == IDOK && !dialog.m_strComment.IsEmpty()) {
    m_pPages[page].SetComment(slot, dialog.m_strComment);
  }
}

void CLauncherApp::OnAppAbout() {
  CAboutDlg dialog;
  dialog.DoModal();
}
