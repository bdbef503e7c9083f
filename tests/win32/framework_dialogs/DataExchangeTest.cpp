// Modal dialogs of the framework under Wine: filling the controls, reading
// them back, the length check and its message, the ways a dialog closes,
// and the command rows of a dialog's message map.
#include <gtest/gtest.h>

#include <string>

#include "framework/AfxString.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include "tests/win32/framework_dialogs/DialogTestSupport.h"

namespace {

constexpr UINT kFormTemplate = 200;
constexpr int kText = 1000;
constexpr int kCheckA = 1001;
constexpr int kCheckB = 1002;
constexpr int kButton = 1003;

// "1000 文字以内で入力してください。" as the system's code page (936) has it.
const char kTooLongMessage[] = "1000 文字以内で入力してください。";

class TestForm : public CDialog {
 public:
  TestForm() : CDialog(kFormTemplate) {}
  CString m_text;
  BOOL m_a = 0;
  BOOL m_b = 0;
  int buttonClicks = 0;
  void OnButton() { ++buttonClicks; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, kText, m_text);
    DDV_MaxChars(pDX, m_text, 1000);
    DDX_Check(pDX, kCheckA, m_a);
    DDX_Check(pDX, kCheckB, m_b);
  }
  DECLARE_MESSAGE_MAP()
};
const MessageEntry TestForm::kMessageEntries[] = {
    {WM_COMMAND, kButton, &afx::OnMsg<&TestForm::OnButton>}, {0, 0, nullptr}};
DEFINE_MESSAGE_MAP(TestForm, CDialog)

class FrameworkDialogTest : public ::testing::Test {
 protected:
  void TearDown() override { CancelLater(); }
  BoxRecorder boxes_;
};

TEST_F(FrameworkDialogTest, FillingShowsTheMembersAndLimitsTheEditBox) {
  TestForm form;
  form.m_text = "页面 A";
  form.m_a = 1;
  std::string shown;
  LRESULT a = -1, b = -1, limit = 0;
  DialogScript script([&](CDialog*, HWND dlg) {
    shown = ControlText(::GetDlgItem(dlg, kText));
    a = ::SendDlgItemMessageA(dlg, kCheckA, BM_GETCHECK, 0, 0);
    b = ::SendDlgItemMessageA(dlg, kCheckB, BM_GETCHECK, 0, 0);
    limit = ::SendDlgItemMessageA(dlg, kText, EM_GETLIMITTEXT, 0, 0);
    Click(dlg, IDCANCEL);
  });
  EXPECT_EQ(form.DoModal(), IDCANCEL);
  EXPECT_EQ(shown, "\xD2\xB3\xC3\xE6 A");
  EXPECT_EQ(a, BST_CHECKED);
  EXPECT_EQ(b, BST_UNCHECKED);
  EXPECT_EQ(limit, 1000);
  EXPECT_EQ(form.GetSafeHwnd(), nullptr);
}

struct CheckCase {
  BOOL stored;
  LRESULT shown;   // the box's state once filled
  BOOL afterFill;  // the member once the controls are filled
};

class CheckExchange : public FrameworkDialogTest,
                      public ::testing::WithParamInterface<CheckCase> {};

TEST_P(CheckExchange, OutOfRangeValuesShowClearAndResetTheMember) {
  TestForm form;
  form.m_a = GetParam().stored;
  LRESULT shown = -1;
  BOOL afterFill = -5;
  DialogScript script([&](CDialog*, HWND dlg) {
    shown = ::SendDlgItemMessageA(dlg, kCheckA, BM_GETCHECK, 0, 0);
    afterFill = form.m_a;
    Click(dlg, IDOK);
  });
  EXPECT_EQ(form.DoModal(), IDOK);
  EXPECT_EQ(shown, GetParam().shown);
  EXPECT_EQ(afterFill, GetParam().afterFill);
  // Reading back stores what the box showed.
  EXPECT_EQ(form.m_a, static_cast<BOOL>(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Values, CheckExchange,
                         ::testing::Values(CheckCase{0, BST_UNCHECKED, 0},
                                           CheckCase{1, BST_CHECKED, 1},
                                           CheckCase{3, BST_UNCHECKED, 0},
                                           CheckCase{-1, BST_UNCHECKED, 0},
                                           CheckCase{0x7FFFFFFF, BST_UNCHECKED, 0}));

TEST_F(FrameworkDialogTest, OkReadsTextAndCheckStatesBack) {
  TestForm form;
  form.m_text = "old";
  form.m_a = 0;
  form.m_b = 1;
  DialogScript script([&](CDialog*, HWND dlg) {
    ::SetDlgItemTextA(dlg, kText, "新的名称");
    Click(dlg, kCheckA);  // the automatic boxes toggle on a click
    Click(dlg, kCheckB);
    Click(dlg, IDOK);
  });
  EXPECT_EQ(form.DoModal(), IDOK);
  EXPECT_EQ(std::string(form.m_text), "\xD0\xC2\xB5\xC4\xC3\xFB\xB3\xC6");
  EXPECT_EQ(form.m_a, 1);
  EXPECT_EQ(form.m_b, 0);
  EXPECT_TRUE(boxes_.boxes.empty());
}

struct CloseCase {
  Close how;
  INT_PTR result;
  bool reads;  // whether the members take the controls' values
};

class ClosingDialog : public FrameworkDialogTest,
                      public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingDialog, OnlyOkAndEnterReadTheControls) {
  TestForm form;
  form.m_text = "before";
  DialogScript script([&](CDialog*, HWND dlg) {
    HWND edit = ::GetDlgItem(dlg, kText);
    ::SetWindowTextA(edit, "after");
    ::SendDlgItemMessageA(dlg, kCheckA, BM_SETCHECK, BST_CHECKED, 0);
    PostClose(dlg, edit, GetParam().how);
  });
  EXPECT_EQ(form.DoModal(), GetParam().result);
  EXPECT_EQ(std::string(form.m_text), GetParam().reads ? "after" : "before");
  EXPECT_EQ(form.m_a, GetParam().reads ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, ClosingDialog,
                         ::testing::Values(CloseCase{Close::kOkButton, IDOK, true},
                                           CloseCase{Close::kEnterKey, IDOK, true},
                                           CloseCase{Close::kCancelButton, IDCANCEL, false},
                                           CloseCase{Close::kEscapeKey, IDCANCEL, false},
                                           CloseCase{Close::kCloseBox, IDCANCEL, false}));

TEST_F(FrameworkDialogTest, ButtonRowRunsOnClicksOnly) {
  TestForm form;
  DialogScript script([&](CDialog*, HWND dlg) {
    HWND button = ::GetDlgItem(dlg, kButton);
    Click(dlg, kButton);
    Click(dlg, kButton);
    // Other notifications of the same control are not clicks.
    ::SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(kButton, BN_SETFOCUS),
                   reinterpret_cast<LPARAM>(button));
    ::SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(kButton, BN_DOUBLECLICKED),
                   reinterpret_cast<LPARAM>(button));
    EXPECT_TRUE(::IsWindow(dlg));
    Click(dlg, IDCANCEL);
  });
  EXPECT_EQ(form.DoModal(), IDCANCEL);
  EXPECT_EQ(form.buttonClicks, 2);
}

TEST_F(FrameworkDialogTest, MissingTemplateFailsWithoutRunning) {
  CDialog missing(4321);
  bool ran = false;
  DialogScript script([&](CDialog*, HWND) { ran = true; });
  EXPECT_EQ(missing.DoModal(), -1);
  EXPECT_FALSE(ran);
}

TEST(AfxFormatString1, ReplacesTheArgumentOnceWhereverItStands) {
  EXPECT_EQ(std::string(AfxFormatString1(AFX_IDP_PARSE_STRING_SIZE, "1000")), kTooLongMessage);
  // An argument that itself reads "%1" is not expanded again.
  std::string twice = std::string(AfxFormatString1(AFX_IDP_PARSE_STRING_SIZE, "%1%1"));
  EXPECT_EQ(twice.substr(0, 5), "%1%1 ");
  EXPECT_TRUE(AfxFormatString1(4321, "x").IsEmpty());
}

TEST(CString, LengthsAreInBytesAndNullReadsEmpty) {
  EXPECT_EQ(CString("a中b").GetLength(), 4);  // GBK: two bytes for the double-byte character
  EXPECT_TRUE(CString(nullptr).IsEmpty());
  CString text("中文");
  EXPECT_STREQ(static_cast<const char*>(text), "\xD6\xD0\xCE\xC4");
  text.Empty();
  EXPECT_EQ(text, "");
}

}  // namespace
