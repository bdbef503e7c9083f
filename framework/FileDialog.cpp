#include "framework/FileDialog.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/LateBound.h"
#include "framework/MessageBox.h"
#include "framework/ModalOwner.h"
#include "framework/SystemText.h"
#include "framework/VisualStyles.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {

FileDialogHook g_fileDialogHook = nullptr;
LateBound<decltype(::GetOpenFileNameW)> g_getOpenFileName("comdlg32.dll", "GetOpenFileNameW");
LateBound<decltype(::GetSaveFileNameW)> g_getSaveFileName("comdlg32.dll", "GetSaveFileNameW");

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

// A null text stays null for the system; others are converted.
const wchar_t* OrNull(const char* text, const std::wstring& wide) {
  return text ? wide.c_str() : nullptr;
}

// The length of a zero-separated list ending in two zeros, both included.
std::size_t ListLength(const char* list) {
  std::size_t n = 0;
  while (list[n] != '\0' || list[n + 1] != '\0') ++n;
  return n + 2;
}

// The system's wide dialog with the GBK parameters converted; the chosen
// name comes back in GBK. 1 chosen, 0 not, -1 chosen but refused: its name
// has a character GBK cannot hold (ofn then keeps the name it had).
int ShowWide(decltype(&::GetOpenFileNameW) show, OPENFILENAMEA* ofn) {
  std::wstring filter;
  if (ofn->lpstrFilter) filter = gbk::Widen(ofn->lpstrFilter, ListLength(ofn->lpstrFilter));
  std::wstring title = gbk::Widen(ofn->lpstrTitle), defaultExtension = gbk::Widen(ofn->lpstrDefExt),
               initialDir = gbk::Widen(ofn->lpstrInitialDir);
  std::vector<wchar_t> file(ofn->nMaxFile > 0 ? ofn->nMaxFile : 1, L'\0');
  std::wstring initialName = gbk::Widen(ofn->lpstrFile);
  if (initialName.size() < file.size()) {
    std::copy(initialName.begin(), initialName.end(), file.begin());
  }
  std::vector<wchar_t> fileTitle(ofn->nMaxFileTitle > 0 ? ofn->nMaxFileTitle : 1, L'\0');

  OPENFILENAMEW wide = {};
  wide.lStructSize = sizeof wide;
  wide.hwndOwner = ofn->hwndOwner;
  wide.hInstance = ofn->hInstance;
  wide.lpstrFilter = ofn->lpstrFilter ? filter.c_str() : nullptr;
  wide.nFilterIndex = ofn->nFilterIndex;
  wide.lpstrFile = file.data();
  wide.nMaxFile = static_cast<DWORD>(file.size());
  wide.lpstrFileTitle = ofn->lpstrFileTitle ? fileTitle.data() : nullptr;
  wide.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
  wide.lpstrInitialDir = OrNull(ofn->lpstrInitialDir, initialDir);
  wide.lpstrTitle = OrNull(ofn->lpstrTitle, title);
  wide.lpstrDefExt = OrNull(ofn->lpstrDefExt, defaultExtension);
  wide.Flags = ofn->Flags &
               ~static_cast<DWORD>(OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE);
  if (!show(&wide)) return 0;
  file.back() = L'\0';
  fileTitle.back() = L'\0';
  std::string name;
  if (!gbk::Narrow(file.data(), &name)) return -1;
  if (name.size() >= ofn->nMaxFile) return 0;  // as the system answers a buffer too small
  std::memcpy(ofn->lpstrFile, name.c_str(), name.size() + 1);
  if (ofn->lpstrFileTitle &&
      !gbk::NarrowInto(fileTitle.data(), ofn->lpstrFileTitle, ofn->nMaxFileTitle)) {
    ofn->lpstrFileTitle[0] = '\0';
  }
  ofn->nFilterIndex = wide.nFilterIndex;
  ofn->Flags =
      (ofn->Flags & (OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE)) | wide.Flags;
  return 1;
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
    ActivateVisualStyles();
    int shown = ShowWide(show, &m_ofn);
    // A name that would be stored with '?' in place of a character is
    // refused now rather than fail when it is used.
    if (shown < 0) AfxMessageBox(gbk::kNameWithoutGbkText, MB_ICONEXCLAMATION);
    chosen = shown > 0 ? TRUE : FALSE;
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
