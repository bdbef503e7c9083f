#include "dialogs/PageSettingsDlg.h"

#include "app/LaunchPage.h"
#include "app/LauncherApp.h"
#include "framework/MessageBox.h"

const MessageEntry CPageSettingsDlg::kMessageEntries[] = {
    {WM_COMMAND, IDC_RESET_PAGE, &afx::OnMsg<&CPageSettingsDlg::OnResetPage>}, {0, 0, nullptr}};
DEFINE_MESSAGE_MAP(CPageSettingsDlg, CDialog)

CPageSettingsDlg::CPageSettingsDlg() : CDialog(IDD) {}

CPageSettingsDlg::~CPageSettingsDlg() = default;

void CPageSettingsDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_PAGE_NAME, m_strName);
  DDX_Check(pDX, IDC_TOPMOST, m_bTopMost);
  DDX_Check(pDX, IDC_FIXEDPOS, m_bFixedPos);
}

void CPageSettingsDlg::OnResetPage() {
  // The page index comes from the caller: outside the six pages there is
  // nothing to empty, so nothing is asked or reported.
  CLauncherApp* app = TheApp();
  if (!app || !app->m_pPages || m_nPage < 0 || m_nPage >= kPageCount) return;
  const char* question = "根据日志文件里记录的数据重新设置此页。\n确定吗？";
  if (AfxMessageBox(question, MB_OKCANCEL) != IDOK) return;
  app->m_pPages[m_nPage].ClearAll();
  AfxMessageBox("重新设置成功。");
}
