#include "framework/Wnd.h"

#include <shellapi.h>

#include <cstdio>
#include <map>
#include <string>

#include "framework/ModuleState.h"

namespace {

// The object being created: bound at its first message, WM_NCCREATE, so that
// CreateWindowEx's parameter stays free for the caller.
CWnd* g_creating = nullptr;

std::map<HWND, CWnd*>& Bindings() {
  static std::map<HWND, CWnd*> bindings;
  return bindings;
}

}  // namespace

CWnd::~CWnd() {
  if (m_hWnd) {
    HWND hWnd = m_hWnd;
    Bindings().erase(hWnd);
    m_hWnd = nullptr;
    ::DestroyWindow(hWnd);
  }
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  auto it = Bindings().find(hWnd);
  return it == Bindings().end() ? nullptr : it->second;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA&) { return TRUE; }

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style,
                    const RECT& rect, HWND parent, HMENU menu, void* param) {
  CREATESTRUCTA cs = {};
  cs.dwExStyle = exStyle;
  cs.lpszClass = className;
  cs.lpszName = title;
  cs.style = static_cast<LONG>(style);
  cs.x = rect.left;
  cs.y = rect.top;
  if (rect.left == CW_USEDEFAULT) {
    // The default rectangle: the system chooses position and size.
    cs.cx = CW_USEDEFAULT;
    cs.cy = CW_USEDEFAULT;
  } else {
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
  }
  cs.hwndParent = parent;
  cs.hMenu = menu;
  cs.hInstance = g_hInstance ? g_hInstance : ::GetModuleHandleA(nullptr);
  cs.lpCreateParams = param;
  if (!PreCreateWindow(cs)) return FALSE;

  g_creating = this;
  HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName,
                                static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx, cs.cy,
                                cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  g_creating = nullptr;
  return hWnd != nullptr;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::DragAcceptFiles(BOOL accept) { ::DragAcceptFiles(m_hWnd, accept); }

LRESULT CWnd::Default() {
  return ::DefWindowProcA(m_hWnd, m_currentMessage, m_currentWParam, m_currentLParam);
}

BOOL CWnd::OnCommandRoute(UINT id) { return OnCmdMsg(id); }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && lParam == 0) {
    if (OnCommandRoute(LOWORD(wParam))) return 0;
    return Default();
  }
  if (message != WM_COMMAND) {
    if (const MessageEntry* entry = FindEntry(message, 0)) {
      return entry->call(*this, wParam, lParam);
    }
  }
  return Default();
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  // Handlers may run nested loops (dialogs, menus, message boxes): keep the
  // outer message for the Default() of the outer handler.
  UINT savedMessage = m_currentMessage;
  WPARAM savedWParam = m_currentWParam;
  LPARAM savedLParam = m_currentLParam;
  m_currentMessage = message;
  m_currentWParam = wParam;
  m_currentLParam = lParam;
  LRESULT result = WindowProc(message, wParam, lParam);
  m_currentMessage = savedMessage;
  m_currentWParam = savedWParam;
  m_currentLParam = savedLParam;
  return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = CWnd::FromHandle(hWnd);
  if (!wnd && g_creating && message == WM_NCCREATE) {
    wnd = g_creating;
    g_creating = nullptr;
    wnd->m_hWnd = hWnd;
    Bindings()[hWnd] = wnd;
  }
  if (!wnd) return ::DefWindowProcA(hWnd, message, wParam, lParam);

  LRESULT result = 0;
  try {
    result = wnd->Dispatch(message, wParam, lParam);
  } catch (...) {
    // No exception may unwind into the system's code.
    result = ::DefWindowProcA(hWnd, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    Bindings().erase(hWnd);
    wnd->m_hWnd = nullptr;
    wnd->PostNcDestroy();
  }
  return result;
}

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  static std::string names[64];
  static int used = 0;

  char name[96];
  std::snprintf(name, sizeof name, "Afx:%p:%x:%p:%p:%p",
                static_cast<void*>(g_hInstance), classStyle, static_cast<void*>(cursor),
                static_cast<void*>(background), static_cast<void*>(icon));
  for (int i = 0; i < used; ++i) {
    if (names[i] == name) return names[i].c_str();
  }
  if (used == 64) return nullptr;

  WNDCLASSA wc = {};
  wc.style = classStyle;
  wc.lpfnWndProc = AfxWndProc;
  wc.hInstance = g_hInstance ? g_hInstance : ::GetModuleHandleA(nullptr);
  wc.hIcon = icon;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  names[used] = name;
  return names[used++].c_str();
}
