#pragma once
// Dialog data exchange: DoDataExchange runs one list of DDX_/DDV_ calls in
// both directions, filling the controls from the members (m_bSaveAndValidate
// FALSE) or reading and checking them back (TRUE). The first failed check
// marks the exchange failed; every later call then does nothing, so the
// members after the failed control keep their values.
#include <windows.h>

#include "framework/AfxString.h"

class CDialog;

class CDataExchange {
 public:
  CDataExchange(CDialog* dialog, BOOL saveAndValidate);

  BOOL m_bSaveAndValidate;
  CDialog* m_pDlgWnd;

  // The control a check applies to; the next DDV_ call acts on it.
  HWND PrepareCtrl(int id);
  HWND PrepareEditCtrl(int id);

  // A check refused the value: focus goes back to the last control (its text
  // selected when it is an edit box) and the exchange is marked failed.
  void Fail();
  bool Failed() const { return m_failed; }

  HWND m_hWndLastControl = nullptr;
  BOOL m_bEditLastControl = FALSE;

 private:
  bool m_failed = false;
};

// Edit box text <-> string.
void DDX_Text(CDataExchange* pDX, int id, CString& value);
// Check box state <-> BOOL. Filling shows a value outside 0..2 as a clear box
// and resets the member to 0; reading stores the box's check state.
void DDX_Check(CDataExchange* pDX, int id, BOOL& value);
// Filling limits the last edit box to maxChars characters; reading refuses a
// text of more than maxChars bytes with the framework's message.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int maxChars);

// The string resource id of this module, with every "%1" replaced by arg;
// empty when the resource is missing.
CString AfxFormatString1(UINT id, const char* arg);
