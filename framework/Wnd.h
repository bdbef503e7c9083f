#pragma once
// CWnd: a C++ object bound to one window. The binding is made once, at
// WM_NCCREATE, by the one window procedure of the framework (AfxWndProc),
// which then dispatches every message through the object's message map.
#include <windows.h>

#include "framework/CmdTarget.h"
#include "framework/Geometry.h"

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  // Null once the window is gone. A handler that ran a nested loop (a dialog,
  // a box, a menu, the system's move loop) asks this before going on: a close
  // or the end of the session inside the loop may have destroyed the window.
  HWND GetSafeHwnd() const { return m_hWnd; }

  // Creates the window after letting PreCreateWindow adjust the parameters.
  BOOL CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style,
                const RECT& rect, HWND parent, HMENU menu, void* param = nullptr);
  virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
  BOOL DestroyWindow();

  // The object bound to a window by the framework, or null.
  static CWnd* FromHandle(HWND hWnd);

  // Dispatch: the map's handler for the message, else Default().
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The system's handling of the message now being dispatched.
  LRESULT Default();
  // Called after the window is gone (WM_NCDESTROY). The object outlives its
  // window: whoever made it deletes it, never the object itself.
  virtual void PostNcDestroy() {}

  // Thin wrappers in the framework's style.
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  BOOL ShowWindow(int show) { return ::ShowWindow(m_hWnd, show); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
  void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
  void ClientToScreen(POINT* pt) const { ::ClientToScreen(m_hWnd, pt); }
  void ScreenToClient(POINT* pt) const { ::ScreenToClient(m_hWnd, pt); }
  void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
  BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
  void DragAcceptFiles(BOOL accept = TRUE);
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
  }

 protected:
  // WM_COMMAND: this window's map, then the routing of OnCommandRoute.
  virtual BOOL OnCommandRoute(UINT id);
};

// The framework's window procedure; every class registered by the framework uses it.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers (once) a window class with these attributes and the framework's
// window procedure; returns its name, valid for the life of the process.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr,
                                HBRUSH background = nullptr, HICON icon = nullptr);
