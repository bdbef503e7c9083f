#pragma once
// CFrameWnd: a top-level window. Closing it destroys it; when it is the
// application's main window, that ends the message loop. The object stays
// with its owner, without a window, until the owner deletes it.
#include "framework/Wnd.h"

class CFrameWnd : public CWnd {
 public:
  static const CRect rectDefault;

  BOOL Create(const char* className, const char* title, DWORD style = WS_OVERLAPPEDWINDOW,
              const RECT& rect = rectDefault, HWND parent = nullptr, HMENU menu = nullptr,
              DWORD exStyle = 0);

  // Adds WS_EX_CLIENTEDGE, as frames of this framework always have.
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

 protected:
  int OnCreate(LPCREATESTRUCTW cs);
  void OnClose();
  BOOL OnQueryEndSession();
  void PostNcDestroy() override;
  // Commands go to this window's map first, then to the application object.
  BOOL OnCommandRoute(UINT id) override;

  DECLARE_MESSAGE_MAP()
};
