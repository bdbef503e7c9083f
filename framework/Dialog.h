#pragma once
// CDialog: a modal dialog made from a dialog template resource. The
// framework's dialog procedure binds the object at WM_INITDIALOG and sends
// commands through the message map; OK reads the controls back through
// DoDataExchange and closes only when every check passes, Cancel (also
// Escape and the close box) closes without reading them.
#include <windows.h>

#include "framework/DataExchange.h"
#include "framework/Wnd.h"

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId);
  ~CDialog() override;

  // Runs the dialog, owned as framework/ModalOwner.h says; IDOK, IDCANCEL, 0
  // when its owner was destroyed meanwhile, or -1 when it could not be made.
  virtual INT_PTR DoModal();
  void EndDialog(int result);

  // Fills the controls (FALSE) or reads and checks them (TRUE); FALSE when a
  // check refused a value.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  UINT GetTemplateId() const { return m_nIDTemplate; }

  virtual BOOL OnInitDialog();

 protected:
  virtual void DoDataExchange(CDataExchange* pDX) {}
  virtual void OnOK();
  virtual void OnCancel();

  DECLARE_MESSAGE_MAP()

 private:
  friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
  INT_PTR DialogMessage(UINT message, WPARAM wParam, LPARAM lParam);

  UINT m_nIDTemplate;
};

// The framework's dialog procedure, used by every CDialog.
INT_PTR CALLBACK AfxDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// Test seam: called for every modal dialog once its controls are filled
// (after OnInitDialog), inside WM_INITDIALOG. The hook may set control texts,
// press buttons, post keys or timers; nothing else changes. Returns the
// previous hook; null removes it.
using DialogHook = void (*)(CDialog* dialog, HWND hDlg);
DialogHook SetDialogHook(DialogHook hook);
