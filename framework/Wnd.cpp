#include "framework/Wnd.h"

#include <cstdio>
#include <map>
#include <string>

#include "framework/ModuleState.h"
#include "framework/SystemText.h"

namespace {

// The object being created: bound at its first message, WM_NCCREATE, so that
// CreateWindowEx's parameter stays free for the caller.
CWnd* g_creating = nullptr;

std::map<HWND, CWnd*>& Bindings() {
  static std::map<HWND, CWnd*> bindings;
  return bindings;
}

// The message being dispatched, innermost first. It lives on the stack of
// AfxWndProc, not in the window object: once a message has destroyed the
// window, nothing but its cleared handle is read from the object.
struct CurrentMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
const CurrentMessage* g_current = nullptr;

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
  // A class given as an atom passes as it is; names and the title are GBK.
  std::wstring wideClass = IS_INTRESOURCE(cs.lpszClass) ? std::wstring() : gbk::Widen(cs.lpszClass);
  const wchar_t* classArgument = IS_INTRESOURCE(cs.lpszClass)
                                     ? reinterpret_cast<const wchar_t*>(cs.lpszClass)
                                     : wideClass.c_str();
  HWND hWnd = ::CreateWindowExW(cs.dwExStyle, classArgument, gbk::Widen(cs.lpszName).c_str(),
                                static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx, cs.cy,
                                cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  g_creating = nullptr;
  return hWnd != nullptr;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

// What the shell's DragAcceptFiles does, without loading the shell at start-up.
void CWnd::DragAcceptFiles(BOOL accept) {
  LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
  style =
      accept ? (style | WS_EX_ACCEPTFILES) : (style & ~static_cast<LONG_PTR>(WS_EX_ACCEPTFILES));
  ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, style);
}

LRESULT CWnd::Default() {
  if (!g_current) return 0;
  return ::DefWindowProcW(m_hWnd, g_current->message, g_current->wParam, g_current->lParam);
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

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = CWnd::FromHandle(hWnd);
  if (!wnd && g_creating && message == WM_NCCREATE) {
    wnd = g_creating;
    g_creating = nullptr;
    wnd->m_hWnd = hWnd;
    Bindings()[hWnd] = wnd;
  }
  if (!wnd) return ::DefWindowProcW(hWnd, message, wParam, lParam);

  // Handlers may run nested loops (dialogs, menus, message boxes): the outer
  // message comes back into force when this one is done.
  CurrentMessage current = {message, wParam, lParam};
  const CurrentMessage* outer = g_current;
  g_current = &current;
  LRESULT result = 0;
  try {
    result = wnd->WindowProc(message, wParam, lParam);
  } catch (...) {
    // No exception may unwind into the system's code.
    result = ::DefWindowProcW(hWnd, message, wParam, lParam);
  }
  g_current = outer;
  // Only WM_NCDESTROY, the window's last message, unbinds the object.
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
  std::snprintf(name, sizeof name, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(g_hInstance),
                classStyle, static_cast<void*>(cursor), static_cast<void*>(background),
                static_cast<void*>(icon));
  for (int i = 0; i < used; ++i) {
    if (names[i] == name) return names[i].c_str();
  }
  if (used == 64) return nullptr;

  std::wstring wideName = gbk::Widen(name);
  WNDCLASSW wc = {};
  wc.style = classStyle;
  wc.lpfnWndProc = AfxWndProc;
  wc.hInstance = g_hInstance ? g_hInstance : ::GetModuleHandleA(nullptr);
  wc.hIcon = icon;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = wideName.c_str();
  if (!::RegisterClassW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  names[used] = name;
  return names[used++].c_str();
}
