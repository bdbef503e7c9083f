#pragma once
// CCommentDlg: asks for the comment of a slot (edit box 1000, at most 1000
// bytes). The caller fills m_strComment and reads it back after IDOK.
#include "framework/Dialog.h"
#include "resources/resource.h"

class CCommentDlg : public CDialog {
 public:
  enum { IDD = IDD_COMMENT };
  static constexpr int kMaxCommentBytes = 1000;

  CCommentDlg();
  ~CCommentDlg() override;

  CString m_strComment;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
};
