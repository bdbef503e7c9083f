#include "framework/Menu.h"

#include "framework/Wnd.h"

BOOL CMenu::CreatePopupMenu() {
  DestroyMenu();
  m_hMenu = ::CreatePopupMenu();
  return m_hMenu != nullptr;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text) {
  if (!m_hMenu) return FALSE;
  return ::AppendMenuA(m_hMenu, flags, id, text);
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect) {
  if (!m_hMenu || !owner) return FALSE;
  return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner->m_hWnd, rect);
}

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  BOOL destroyed = ::DestroyMenu(m_hMenu);
  m_hMenu = nullptr;
  return destroyed;
}
