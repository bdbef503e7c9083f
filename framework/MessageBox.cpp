#include "framework/MessageBox.h"

#include "framework/ModalOwner.h"
#include "framework/SystemText.h"
#include "framework/VisualStyles.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {
MessageBoxHook g_hook = nullptr;
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  if (g_hook) {
    // The real box disables its owner until it ends; so does its stand-in.
    CModalOwnerScope disabled(owner);
    return g_hook(owner, text, caption, type);
  }
  ActivateVisualStyles();
  return ::MessageBoxW(owner, gbk::Widen(text).c_str(), gbk::Widen(caption).c_str(), type);
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
  MessageBoxHook previous = g_hook;
  g_hook = hook;
  return previous;
}

int AfxMessageBox(const char* text, UINT type, UINT) {
  UINT buttons = type & MB_TYPEMASK;
  if ((type & MB_ICONMASK) == 0 && (buttons == MB_OK || buttons == MB_OKCANCEL)) {
    type |= MB_ICONEXCLAMATION;
  }
  CWinApp* app = AfxGetApp();
  HWND owner = AfxGetModalOwner();
  const char* caption = app ? app->m_pszAppName : "dida";
  return ShowMessageBox(owner, text, caption, type);
}
