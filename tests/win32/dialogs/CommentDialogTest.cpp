// The comment dialog with the program's own template (131) and string table:
// the proposed comment, the ways it closes, and the 1000-byte limit with the
// framework's message.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/CommentDlg.h"
#include "tests/win32/framework_dialogs/DialogTestSupport.h"

namespace {

class CommentDialogTest : public ::testing::Test {
 protected:
  void TearDown() override { CancelLater(); }
  BoxRecorder boxes_;
};

TEST_F(CommentDialogTest, TheProposedCommentIsShownInTheLimitedEditBox) {
  CCommentDlg dialog;
  dialog.m_strComment = "Chess";
  std::string shown, caption;
  LRESULT limit = 0;
  HWND focus = nullptr, edit = nullptr;
  DialogScript script([&](CDialog*, HWND dlg) {
    edit = ::GetDlgItem(dlg, IDC_COMMENT);
    shown = ControlText(edit);
    caption = ControlText(dlg);
    limit = ::SendMessageA(edit, EM_GETLIMITTEXT, 0, 0);
    WhenShown(dlg, [&, dlg] {
      focus = ::GetFocus();
      Click(dlg, IDOK);
    });
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(shown, "Chess");
  EXPECT_EQ(caption, "\xC6\xC0\xBC\xDB");  // "评价"
  EXPECT_EQ(limit, 1000);
  EXPECT_EQ(focus, edit);  // the edit box is the first tab stop
  EXPECT_EQ(std::string(dialog.m_strComment), "Chess");
  EXPECT_TRUE(boxes_.boxes.empty());
}

struct CloseCase {
  const char* name;
  Close how;
  INT_PTR result;
  const char* comment;  // the member afterwards
};

class ClosingComment : public CommentDialogTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingComment, OnlyEnterTakesTheNewText) {
  CCommentDlg dialog;
  dialog.m_strComment = "Chess";
  DialogScript script([&](CDialog*, HWND dlg) {
    HWND edit = ::GetDlgItem(dlg, IDC_COMMENT);
    ::SetWindowTextA(edit, "国际象棋");
    // The template has no Cancel button: the close box still cancels.
    PostClose(dlg, edit, GetParam().how);
  });
  EXPECT_EQ(dialog.DoModal(), GetParam().result);
  EXPECT_EQ(std::string(dialog.m_strComment), GetParam().comment);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ClosingComment,
    ::testing::Values(CloseCase{"enter", Close::kEnterKey, IDOK,
                                "\xB9\xFA\xBC\xCA\xCF\xF3\xC6\xE5"},
                      CloseCase{"escape", Close::kEscapeKey, IDCANCEL, "Chess"},
                      CloseCase{"closeBox", Close::kCloseBox, IDCANCEL, "Chess"}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return info.param.name; });

struct LengthCase {
  const char* name;
  std::string text;
  bool accepted;
};

class CommentLength : public CommentDialogTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(CommentLength, MoreThanOneThousandBytesIsRefusedWithTheFrameworksMessage) {
  const std::string& text = GetParam().text;
  CCommentDlg dialog;
  dialog.m_strComment = "Chess";
  bool stillOpen = false;
  HWND focus = nullptr, edit = nullptr;
  DWORD selStart = 1, selEnd = 0;
  int textChars = -1;
  DialogScript script([&](CDialog*, HWND dlg) {
    edit = ::GetDlgItem(dlg, IDC_COMMENT);
    ::SetWindowTextA(edit, text.c_str());
    WhenShown(dlg, [&, dlg] {
      ::SetFocus(::GetDlgItem(dlg, IDOK));
      Click(dlg, IDOK);
      if (!::IsWindowVisible(dlg)) return;
      stillOpen = true;
      focus = ::GetFocus();
      ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                     reinterpret_cast<LPARAM>(&selEnd));
      textChars = ::GetWindowTextLengthW(edit);
      PostClose(dlg, edit, Close::kEscapeKey);
    });
  });
  INT_PTR result = dialog.DoModal();
  if (GetParam().accepted) {
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(stillOpen);
    EXPECT_EQ(std::string(dialog.m_strComment), text);
    EXPECT_TRUE(boxes_.boxes.empty());
    return;
  }
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_TRUE(stillOpen);
  // Focus is back in the edit box with the whole text selected.
  EXPECT_EQ(focus, edit);
  EXPECT_EQ(selStart, 0u);
  EXPECT_EQ(selEnd, static_cast<DWORD>(textChars));
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  // "1000 文字以内で入力してください。" from string 61716, in code page 936.
  EXPECT_EQ(boxes_.boxes[0].text,
            "1000 \xCE\xC4\xD7\xD6\xD2\xD4\xC4\xDA\xA4\xC7\xC8\xEB\xC1\xA6\xA4\xB7\xA4\xC6\xA4\xAF"
            "\xA4\xC0\xA4\xB5\xA4\xA4\xA1\xA3");
  EXPECT_EQ(boxes_.boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(boxes_.boxes[0].caption, "dida");
}

const std::string kHan = "棋";  // two bytes in GBK

INSTANTIATE_TEST_SUITE_P(
    Texts, CommentLength,
    ::testing::Values(LengthCase{"double500", Repeat(kHan, 500), true},
                      LengthCase{"mixed1000", "ab" + Repeat(kHan, 499), true},
                      LengthCase{"double500plus1", Repeat(kHan, 500) + "x", false},
                      LengthCase{"ascii1001", Repeat("x", 1001), false}),
    [](const ::testing::TestParamInfo<LengthCase>& info) { return info.param.name; });

TEST_F(CommentDialogTest, RealLoopTypedTextAndEnter) {
  // No dialog hook: found on the screen by its caption, typed into with
  // characters and confirmed with the Enter key, all in DialogBoxParam's loop.
  CCommentDlg dialog;
  bool found = false;
  WhenShownNamed("评价", [&](HWND dlg) {
    found = true;
    HWND edit = ::GetDlgItem(dlg, IDC_COMMENT);
    for (char c : std::string("go")) ::PostMessageA(edit, WM_CHAR, static_cast<BYTE>(c), 1);
    PostClose(dlg, edit, Close::kEnterKey);
  });
  dialog.m_strComment = "";
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(found);
  EXPECT_EQ(std::string(dialog.m_strComment), "go");
}

}  // namespace
