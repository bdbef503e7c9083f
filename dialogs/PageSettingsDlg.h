#pragma once
// CPageSettingsDlg: the name of one page and the two window flags, plus a
// button that empties the page after asking. The caller fills the members
// before DoModal and applies them after IDOK; the reset acts at once.
#include "framework/Dialog.h"
#include "resources/resource.h"

class CPageSettingsDlg : public CDialog {
 public:
  enum { IDD = IDD_PAGE_SETTINGS };

  CPageSettingsDlg();
  ~CPageSettingsDlg() override;

  int m_nPage = 0;  // the page the reset button empties (0..5)
  CString m_strName;
  BOOL m_bTopMost = 0;
  BOOL m_bFixedPos = 0;

  void OnResetPage();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;

  DECLARE_MESSAGE_MAP()
};
