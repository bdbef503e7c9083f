#include "framework/DataExchange.h"

#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "framework/SystemText.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

CDataExchange::CDataExchange(CDialog* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

HWND CDataExchange::PrepareCtrl(int id) {
  m_hWndLastControl = m_pDlgWnd->GetDlgItem(id);
  m_bEditLastControl = FALSE;
  return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
  HWND control = PrepareCtrl(id);
  m_bEditLastControl = TRUE;
  return control;
}

void CDataExchange::Fail() {
  if (m_hWndLastControl) {
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
  }
  m_failed = true;
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
  if (pDX->Failed()) return;
  HWND edit = pDX->PrepareEditCtrl(id);
  if (!edit) return;
  if (!pDX->m_bSaveAndValidate) {
    ::SetWindowTextW(edit, gbk::Widen(value).c_str());
    return;
  }
  // The length is an upper bound; the copy says how many it wrote.
  int length = ::GetWindowTextLengthW(edit);
  std::vector<wchar_t> text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
  int copied = ::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
  text[copied > 0 ? static_cast<std::size_t>(copied) : 0] = L'\0';
  std::string narrow;
  if (!gbk::Narrow(text.data(), &narrow)) {
    AfxMessageBox("输入的文字中有无法保存的字符，请修改。", MB_ICONEXCLAMATION);
    pDX->Fail();
    return;
  }
  value = CString(narrow.c_str(), static_cast<int>(narrow.size()));
}

void DDX_Check(CDataExchange* pDX, int id, BOOL& value) {
  if (pDX->Failed()) return;
  HWND box = pDX->PrepareCtrl(id);
  if (!box) return;
  if (!pDX->m_bSaveAndValidate) {
    if (value < 0 || value > 2) value = 0;  // not a check state: shown clear
    ::SendMessageA(box, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  } else {
    value = static_cast<BOOL>(::SendMessageA(box, BM_GETCHECK, 0, 0));
  }
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int maxChars) {
  if (pDX->Failed()) return;
  if (!pDX->m_bSaveAndValidate) {
    if (pDX->m_hWndLastControl && pDX->m_bEditLastControl) {
      ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
    }
    return;
  }
  if (value.GetLength() <= maxChars) return;
  char limit[16];
  wsprintfA(limit, "%d", maxChars);
  CString prompt = AfxFormatString1(AFX_IDP_PARSE_STRING_SIZE, limit);
  AfxMessageBox(prompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_STRING_SIZE);
  pDX->Fail();
}

CString AfxFormatString1(UINT id, const char* arg) {
  // The table holds UTF-16: LoadStringW with a zero size lends the text and its length.
  const wchar_t* table = nullptr;
  int length = ::LoadStringW(AfxGetInstanceHandle(), id, reinterpret_cast<wchar_t*>(&table), 0);
  std::wstring wide(table && length > 0 ? table : L"",
                    table && length > 0 ? static_cast<std::size_t>(length) : 0);
  std::string text;
  if (!gbk::Narrow(wide.c_str(), &text)) text.clear();
  std::string replacement = arg ? arg : "";
  // Scan on from after each replacement, so an argument holding "%1" is not expanded again.
  for (std::size_t at = text.find("%1"); at != std::string::npos; at = text.find("%1", at)) {
    text.replace(at, 2, replacement);
    at += replacement.size();
  }
  return CString(text.c_str());
}
