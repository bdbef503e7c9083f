#include "framework/Menu.h"

#include <cstring>

#include "framework/SystemText.h"
#include "framework/Wnd.h"

namespace {

MenuTrackObserver g_trackObserver = nullptr;

}  // namespace

MenuTrackObserver SetMenuTrackObserver(MenuTrackObserver observer) {
  MenuTrackObserver previous = g_trackObserver;
  g_trackObserver = observer;
  return previous;
}

BOOL CMenu::CreatePopupMenu() {
  DestroyMenu();
  m_hMenu = ::CreatePopupMenu();
  return m_hMenu != nullptr;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text) {
  if (!m_hMenu) return FALSE;
  // A bitmap or owner-drawn item's "text" is a handle or the owner's data.
  if ((flags & (MF_BITMAP | MF_OWNERDRAW)) != 0 || !text) {
    return ::AppendMenuW(m_hMenu, flags, id, reinterpret_cast<const wchar_t*>(text));
  }
  return ::AppendMenuW(m_hMenu, flags, id, gbk::Widen(text).c_str());
}

int CMenu::GetMenuString(UINT item, char* text, int size, UINT flags) const {
  wchar_t wide[1024] = {};
  int n = ::GetMenuStringW(m_hMenu, item, wide, 1024, flags);
  if (n <= 0 || !text || size <= 0) return 0;
  if (!gbk::NarrowInto(wide, text, static_cast<std::size_t>(size))) return 0;
  return static_cast<int>(std::strlen(text));
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect) {
  if (!m_hMenu || !owner) return FALSE;
  ::SetLastError(ERROR_SUCCESS);
  BOOL result = ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner->m_hWnd, rect);
  if (g_trackObserver) g_trackObserver(result, result ? ERROR_SUCCESS : ::GetLastError());
  return result;
}

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  BOOL destroyed = ::DestroyMenu(m_hMenu);
  m_hMenu = nullptr;
  return destroyed;
}
