#include "framework/ModalOwner.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {

struct OwnedSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK FindEnabledOwned(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<OwnedSearch*>(param);
  if (::GetWindow(hwnd, GW_OWNER) != search->owner || !::IsWindowVisible(hwnd) ||
      !::IsWindowEnabled(hwnd)) {
    return TRUE;
  }
  search->found = hwnd;
  return FALSE;
}

// The enabled, visible popup that `owner` owns: the modal window that
// disabled it.
HWND ModalAbove(HWND owner) {
  OwnedSearch search = {owner, nullptr};
  ::EnumThreadWindows(::GetWindowThreadProcessId(owner, nullptr), &FindEnabledOwned,
                      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

HWND AfxGetModalOwner() {
  CWinApp* app = AfxGetApp();
  HWND main = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
  if (!main || !::IsWindow(main)) return nullptr;
  HWND owner = ::GetLastActivePopup(main);
  if (!owner) owner = main;
  // A disabled owner has a modal window above it, which may never have been
  // activated (no focus to take): the box belongs on top of that one.
  for (int depth = 0; depth < 16 && !::IsWindowEnabled(owner); ++depth) {
    HWND above = ModalAbove(owner);
    if (!above) break;
    owner = above;
  }
  return owner;
}

CModalOwnerScope::CModalOwnerScope(HWND owner)
    : m_hOwner(owner), m_bWasEnabled(owner && ::IsWindowEnabled(owner)) {
  if (m_bWasEnabled) ::EnableWindow(m_hOwner, FALSE);
}

CModalOwnerScope::~CModalOwnerScope() {
  if (m_bWasEnabled && ::IsWindow(m_hOwner)) ::EnableWindow(m_hOwner, TRUE);
}
