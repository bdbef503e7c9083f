#pragma once
// CWnd: a C++ object bound to one window. The binding is made once, at
// WM_NCCREATE, by the one window procedure of the framework (AfxWndProc),
// which then dispatches every message through the object's message map.
#include <windows.h>

#include "framework/CmdTarget.h"
#include "framework/Geometry.h"

class CWndGuard;

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
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
  // Called after the window is gone (WM_NCDESTROY); the object may delete itself.
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

 private:
  friend class CWndGuard;

  CWndGuard* m_pGuards = nullptr;  // the guards watching this object
};

// Whether a window object is still there after a nested message loop (a
// dialog, a message box, a menu, the system's move loop) has run: any message
// inside it, a close or the end of the session, may have destroyed the
// window and deleted the object. Make one on the stack before the loop and
// test it after; a handler touches its object again only while it holds.
class CWndGuard {
 public:
  explicit CWndGuard(CWnd* wnd);
  ~CWndGuard();
  CWndGuard(const CWndGuard&) = delete;
  CWndGuard& operator=(const CWndGuard&) = delete;

  // The object still exists and still has the window it had when the guard
  // was made (or, made before the window, any window).
  bool Alive() const;
  explicit operator bool() const { return Alive(); }
  // The object still exists, with or without its window.
  bool ObjectAlive() const { return m_pWnd != nullptr; }

 private:
  friend class CWnd;

  CWnd* m_pWnd;
  HWND m_hWnd;
  CWndGuard* m_pNext;
};

// The framework's window procedure; every class registered by the framework uses it.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers (once) a window class with these attributes and the framework's
// window procedure; returns its name, valid for the life of the process.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr,
                                HBRUSH background = nullptr, HICON icon = nullptr);
