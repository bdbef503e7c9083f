#pragma once
// Who owns a modal dialog, file dialog or message box made without a parent:
// the main window, or the popup that window has active (one of its dialogs),
// so that a box raised by a dialog belongs to that dialog. The system's modal
// loops disable their owner until they end, so nothing but the topmost modal
// window takes the user's input, and a template's position counts from it.
#include <windows.h>

// The owner for a modal window about to be made; null before the main window
// exists (start-up) or after it has gone.
HWND AfxGetModalOwner();

// Disables `owner` for the life of the scope, as the system's modal loops do,
// where a test seam stands in for the system's box or dialog; enables it
// again only when it was enabled before and still exists.
class CModalOwnerScope {
 public:
  explicit CModalOwnerScope(HWND owner);
  ~CModalOwnerScope();
  CModalOwnerScope(const CModalOwnerScope&) = delete;
  CModalOwnerScope& operator=(const CModalOwnerScope&) = delete;

 private:
  HWND m_hOwner;
  bool m_bWasEnabled;
};
