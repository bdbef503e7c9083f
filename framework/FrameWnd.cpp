#include "framework/FrameWnd.h"

#include "framework/WinApp.h"

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

const MessageEntry CFrameWnd::kMessageEntries[] = {
    {WM_CREATE, 0, &afx::OnCreateMsg<&CFrameWnd::OnCreate>},
    {WM_CLOSE, 0, &afx::OnMsg<&CFrameWnd::OnClose>},
    {WM_QUERYENDSESSION, 0, &afx::OnBoolMsg<&CFrameWnd::OnQueryEndSession>},
    {0, 0, nullptr}};
DEFINE_MESSAGE_MAP(CFrameWnd, CWnd)

BOOL CFrameWnd::Create(const char* className, const char* title, DWORD style, const RECT& rect,
                       HWND parent, HMENU menu, DWORD exStyle) {
  return CreateEx(exStyle, className, title, style, rect, parent, menu);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!cs.lpszClass) {
    cs.lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  }
  cs.dwExStyle |= WS_EX_CLIENTEDGE;
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTW) { return 0; }

void CFrameWnd::OnClose() { DestroyWindow(); }

BOOL CFrameWnd::OnQueryEndSession() { return TRUE; }

void CFrameWnd::PostNcDestroy() {
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) {
    app->m_pMainWnd = nullptr;
    ::PostQuitMessage(0);
  }
}

BOOL CFrameWnd::OnCommandRoute(UINT id) {
  if (OnCmdMsg(id)) return TRUE;
  CWinApp* app = AfxGetApp();
  return app ? app->OnCmdMsg(id) : FALSE;
}
