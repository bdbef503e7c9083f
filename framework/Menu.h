#pragma once
// CMenu: owns one menu handle and destroys it with the object.
#include <windows.h>

class CWnd;

// Told what each TrackPopupMenu returned and, when it failed, the system's
// error: a test's way to say why a menu never came up.
using MenuTrackObserver = void (*)(BOOL result, DWORD error);
// Installs observer (null removes it) and returns the previous one.
MenuTrackObserver SetMenuTrackObserver(MenuTrackObserver observer);

class CMenu {
 public:
  CMenu() = default;
  ~CMenu() { DestroyMenu(); }
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  HMENU m_hMenu = nullptr;
  HMENU GetSafeHmenu() const { return m_hMenu; }

  // A new empty popup menu; any menu held before is destroyed first.
  BOOL CreatePopupMenu();
  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);
  // Shows the menu at a screen point; a chosen item reaches owner as
  // WM_COMMAND (unless flags ask for TPM_RETURNCMD, which returns it).
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect = nullptr);
  BOOL DestroyMenu();
  BOOL DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }

  int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
  UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
  // The item's text in GBK; 0 when it has none or it does not fit size.
  int GetMenuString(UINT item, char* text, int size, UINT flags) const;
};
