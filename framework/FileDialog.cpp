#include "framework/FileDialog.h"

#include <cstring>

#include "framework/LateBound.h"
#include "framework/MessageBox.h"
#include "framework/ModalOwner.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {

FileDialogHook g_fileDialogHook = nullptr;
LateBound<decltype(::GetOpenFileNameA)> g_getOpenFileName("comdlg32.dll", "GetOpenFileNameA");
LateBound<decltype(::GetSaveFileNameA)> g_getSaveFileName("comdlg32.dll", "GetSaveFileNameA");

// "label|*.exe|label|*.*||" -> "label\0*.exe\0label\0*.*\0\0". Every '|'
// byte is a separator: the labels may be in another code page than the
// system's (a trail byte of the system's code page must not swallow one).
std::string SystemFilterFrom(const char* filter) {
  std::string result = filter ? filter : "";
  for (char& c : result) {
    if (c == '|') c = '\0';
  }
  // The system stops at two zeros in a row; make sure they are there even
  // when the caller's text did not end in "||".
  result.append(2, '\0');
  return result;
}

// The system appends the default extension as it stands, without a dot: a
// "*.exe" or ".exe" given in the pattern's form becomes "exe".
std::string ExtensionFrom(const char* extension) {
  if (!extension) return std::string();
  while (*extension == '*' || *extension == '.') ++extension;
  return extension;
}

}  // namespace

FileDialogHook SetFileDialogHook(FileDialogHook hook) {
  FileDialogHook previous = g_fileDialogHook;
  g_fileDialogHook = hook;
  return previous;
}

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName,
                         DWORD flags, const char* filter, CWnd* parent)
    : m_bOpenFileDialog(openFileDialog),
      m_strFilter(SystemFilterFrom(filter)),
      m_strDefExt(ExtensionFrom(defaultExtension)) {
  std::memset(&m_ofn, 0, sizeof m_ofn);
  m_ofn.lStructSize = sizeof m_ofn;
  m_ofn.hwndOwner = parent ? parent->m_hWnd : nullptr;
  m_ofn.hInstance = AfxGetInstanceHandle();
  m_ofn.lpstrFilter = filter ? m_strFilter.c_str() : nullptr;
  m_ofn.nFilterIndex = 1;
  // An initial name too long for the buffer is dropped, never cut to another name.
  if (fileName && std::strlen(fileName) < sizeof m_szFileName) {
    std::strcpy(m_szFileName, fileName);
  }
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = sizeof m_szFileName;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
  m_ofn.lpstrDefExt = defaultExtension ? m_strDefExt.c_str() : nullptr;
  m_ofn.Flags = flags | OFN_EXPLORER;
}

INT_PTR CFileDialog::DoModal() {
  // Without a parent the dialog belongs to the main window (or its active
  // dialog), which the system disables until the dialog ends.
  HWND parent = m_ofn.hwndOwner;
  if (!parent) m_ofn.hwndOwner = AfxGetModalOwner();
  BOOL chosen;
  if (g_fileDialogHook) {
    CModalOwnerScope disabled(m_ofn.hwndOwner);
    chosen = g_fileDialogHook(&m_ofn);
  } else if (auto* show = (m_bOpenFileDialog ? g_getOpenFileName : g_getSaveFileName).Get()) {
    chosen = show(&m_ofn);
  } else {
    AfxMessageBox("无法打开文件对话框：系统缺少 comdlg32.dll。", MB_ICONSTOP);
    chosen = FALSE;
  }
  m_ofn.hwndOwner = parent;
  // Whatever wrote the buffer, it stays a terminated string.
  if (m_ofn.lpstrFile && m_ofn.nMaxFile > 0) m_ofn.lpstrFile[m_ofn.nMaxFile - 1] = '\0';
  if (!chosen) return IDCANCEL;
  return IDOK;
}
