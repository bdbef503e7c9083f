#include "dialogs/CommentDlg.h"

CCommentDlg::CCommentDlg() : CDialog(IDD) {}

CCommentDlg::~CCommentDlg() = default;

void CCommentDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_COMMENT, m_strComment);
  DDV_MaxChars(pDX, m_strComment, kMaxCommentBytes);
}
