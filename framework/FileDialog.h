#pragma once
// CFileDialog: the system's open (or save) file dialog. The filter is given in
// the framework's form, "label|pattern|label|pattern||", and handed to the
// system as zero-separated pairs ending in two zeros.
#include <windows.h>
// commdlg.h needs the types of windows.h.
#include <commdlg.h>

#include <string>

#include "framework/AfxString.h"

class CWnd;

class CFileDialog {
 public:
  CFileDialog(BOOL openFileDialog, const char* defaultExtension = nullptr,
              const char* fileName = nullptr, DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
              const char* filter = nullptr, CWnd* parent = nullptr);
  CFileDialog(const CFileDialog&) = delete;
  CFileDialog& operator=(const CFileDialog&) = delete;

  // The system's parameters; set lpstrTitle (or others) before DoModal.
  OPENFILENAMEA m_ofn;

  // IDOK when a file was chosen, IDCANCEL otherwise.
  INT_PTR DoModal();
  // The chosen file's full path.
  CString GetPathName() const { return CString(m_ofn.lpstrFile); }

 private:
  BOOL m_bOpenFileDialog;
  std::string m_strFilter;
  std::string m_strDefExt;
  char m_szFileName[MAX_PATH] = {};
  char m_szFileTitle[MAX_PATH] = {};
};

// Test seam: when set, DoModal calls the hook instead of the system dialog,
// with the owner disabled as the system dialog would leave it.
// The hook sees the parameters and may write a path into ofn->lpstrFile (at
// most ofn->nMaxFile bytes with its zero); TRUE means a file was chosen.
// Returns the previous hook; null restores the system dialog.
using FileDialogHook = BOOL (*)(OPENFILENAMEA* ofn);
FileDialogHook SetFileDialogHook(FileDialogHook hook);
