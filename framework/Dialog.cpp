#include "framework/Dialog.h"

#include "framework/ModalOwner.h"
#include "framework/VisualStyles.h"
#include "framework/WinApp.h"

namespace {
DialogHook g_dialogHook = nullptr;
}

DialogHook SetDialogHook(DialogHook hook) {
  DialogHook previous = g_dialogHook;
  g_dialogHook = hook;
  return previous;
}

const MessageEntry CDialog::kMessageEntries[] = {
    {WM_COMMAND, IDOK, &afx::OnMsg<&CDialog::OnOK>},
    {WM_COMMAND, IDCANCEL, &afx::OnMsg<&CDialog::OnCancel>},
    {0, 0, nullptr}};
DEFINE_MESSAGE_MAP(CDialog, CWnd)

CDialog::CDialog(UINT templateId) : m_nIDTemplate(templateId) {}

CDialog::~CDialog() {
  // The window of a modal dialog is gone once DoModal returns; nothing for
  // CWnd's destructor to destroy.
  m_hWnd = nullptr;
}

INT_PTR CDialog::DoModal() {
  if (m_hWnd) return -1;  // already running
  ActivateVisualStyles();
  // Owned, so the owner is disabled while the dialog is up; a close or the end
  // of the session that destroys the owner takes the dialog with it, and the
  // result is then 0.
  INT_PTR result =
      ::DialogBoxParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), AfxGetModalOwner(),
                        &AfxDlgProc, reinterpret_cast<LPARAM>(this));
  m_hWnd = nullptr;
  return result;
}

void CDialog::EndDialog(int result) {
  if (m_hWnd) ::EndDialog(m_hWnd, result);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return dx.Failed() ? FALSE : TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;  // the system gives focus to the first tab stop
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;  // refused: the dialog stays open
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

INT_PTR CDialog::DialogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    INT_PTR focus = OnInitDialog();
    if (g_dialogHook) g_dialogHook(this, m_hWnd);
    return focus;
  }
  const MessageEntry* entry = nullptr;
  if (message == WM_COMMAND) {
    // Clicks, menu commands and accelerators; other control notifications
    // (edit changes, focus) are left to the system.
    UINT code = HIWORD(wParam);
    if (code == BN_CLICKED || (code == 1 && lParam == 0)) {
      entry = FindEntry(WM_COMMAND, LOWORD(wParam));
    }
  } else {
    entry = FindEntry(message, 0);
  }
  if (!entry) return FALSE;
  LRESULT result = entry->call(*this, wParam, lParam);
  ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CALLBACK AfxDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog* dialog = nullptr;
  if (message == WM_INITDIALOG) {
    dialog = reinterpret_cast<CDialog*>(lParam);
    if (!dialog) return FALSE;  // a template run without its object
    dialog->m_hWnd = hDlg;
    ::SetWindowLongPtrW(hDlg, DWLP_USER, lParam);
  } else {
    dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hDlg, DWLP_USER));
  }
  if (!dialog) return FALSE;  // messages before WM_INITDIALOG

  INT_PTR handled = FALSE;
  try {
    handled = dialog->DialogMessage(message, wParam, lParam);
  } catch (...) {
    // No exception may unwind into the system's dialog manager.
    handled = FALSE;
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hDlg, DWLP_USER, 0);
    dialog->m_hWnd = nullptr;
  }
  return handled;
}
