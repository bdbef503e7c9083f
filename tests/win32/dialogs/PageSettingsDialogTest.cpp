// The page settings dialog with the program's own template (130): the page
// name and the two flags in and out, and the page reset with its question
// and confirmation, acting on the application object's pages.
#include <gtest/gtest.h>

#include <string>

#include "app/LaunchPage.h"
#include "app/LauncherApp.h"
#include "dialogs/PageSettingsDlg.h"
#include "tests/win32/framework_dialogs/DialogTestSupport.h"

namespace {

// "根据日志文件里记录的数据重新设置此页。\n确定吗？" and "重新设置成功。" in GBK.
const char kResetQuestion[] =
    "\xB8\xF9\xBE\xDD\xC8\xD5\xD6\xBE\xCE\xC4\xBC\xFE\xC0\xEF\xBC\xC7\xC2\xBC\xB5\xC4\xCA\xFD"
    "\xBE\xDD\xD6\xD8\xD0\xC2\xC9\xE8\xD6\xC3\xB4\xCB\xD2\xB3\xA1\xA3\n\xC8\xB7\xB6\xA8\xC2\xF0"
    "\xA3\xBF";
const char kResetDone[] = "\xD6\xD8\xD0\xC2\xC9\xE8\xD6\xC3\xB3\xC9\xB9\xA6\xA1\xA3";

class PageSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_.m_pPages = new LaunchPage[kPageCount];
    for (int page = 0; page < kPageCount; ++page) {
      app_.m_pPages[page].SetName(("page" + std::to_string(page)).c_str());
      for (int slot = 0; slot < kSlotCount; slot += 3) {
        std::string target = "C:\\p" + std::to_string(page) + "\\s" + std::to_string(slot) + ".exe";
        app_.m_pPages[page].SetExec(slot, target.c_str());
        app_.m_pPages[page].SetComment(slot, "note");
      }
    }
  }
  void TearDown() override { CancelLater(); }

  int UsedSlots(int page) const {
    int used = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) used += app_.m_pPages[page].IsUsed(slot) ? 1 : 0;
    return used;
  }

  CLauncherApp app_;  // owns the pages; the dialog reaches them through TheApp()
  BoxRecorder boxes_;
};

TEST_F(PageSettingsTest, FillsNameAndFlagsAndReadsThemBackOnOk) {
  CPageSettingsDlg dialog;
  dialog.m_strName = "我的页";
  dialog.m_bTopMost = 1;
  dialog.m_bFixedPos = 0;
  std::string shownName, caption;
  LRESULT topMost = -1, fixedPos = -1;
  DialogScript script([&](CDialog*, HWND dlg) {
    caption = ControlText(dlg);
    shownName = ControlText(::GetDlgItem(dlg, IDC_PAGE_NAME));
    topMost = ::SendDlgItemMessageA(dlg, IDC_TOPMOST, BM_GETCHECK, 0, 0);
    fixedPos = ::SendDlgItemMessageA(dlg, IDC_FIXEDPOS, BM_GETCHECK, 0, 0);
    ::SetDlgItemTextA(dlg, IDC_PAGE_NAME, "工具");
    Click(dlg, IDC_TOPMOST);
    Click(dlg, IDC_FIXEDPOS);
    Click(dlg, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(caption, "\xC9\xE8\xD6\xC3");            // "设置"
  EXPECT_EQ(shownName, "\xCE\xD2\xB5\xC4\xD2\xB3");  // "我的页"
  EXPECT_EQ(topMost, BST_CHECKED);
  EXPECT_EQ(fixedPos, BST_UNCHECKED);
  EXPECT_EQ(std::string(dialog.m_strName), "\xB9\xA4\xBE\xDF");  // "工具"
  EXPECT_EQ(dialog.m_bTopMost, 0);
  EXPECT_EQ(dialog.m_bFixedPos, 1);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(PageSettingsTest, EscapeLeavesTheMembersAsTheyWere) {
  CPageSettingsDlg dialog;
  dialog.m_strName = "keep";
  dialog.m_bFixedPos = 1;
  DialogScript script([&](CDialog*, HWND dlg) {
    ::SetDlgItemTextA(dlg, IDC_PAGE_NAME, "");
    Click(dlg, IDC_FIXEDPOS);
    PostClose(dlg, ::GetDlgItem(dlg, IDC_PAGE_NAME), Close::kEscapeKey);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(std::string(dialog.m_strName), "keep");
  EXPECT_EQ(dialog.m_bFixedPos, 1);
}

TEST_F(PageSettingsTest, AnEmptyNameIsReadBackEmpty) {
  CPageSettingsDlg dialog;
  dialog.m_strName = "page";
  DialogScript script([&](CDialog*, HWND dlg) {
    ::SetDlgItemTextA(dlg, IDC_PAGE_NAME, "");
    Click(dlg, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(dialog.m_strName.IsEmpty());
}

TEST_F(PageSettingsTest, StoredFlagsOfThreeOrMoreShowClearAndReadBackOff) {
  CPageSettingsDlg dialog;
  dialog.m_bTopMost = 3;
  dialog.m_bFixedPos = 7;
  LRESULT topMost = -1, fixedPos = -1;
  DialogScript script([&](CDialog*, HWND dlg) {
    topMost = ::SendDlgItemMessageA(dlg, IDC_TOPMOST, BM_GETCHECK, 0, 0);
    fixedPos = ::SendDlgItemMessageA(dlg, IDC_FIXEDPOS, BM_GETCHECK, 0, 0);
    Click(dlg, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(topMost, BST_UNCHECKED);
  EXPECT_EQ(fixedPos, BST_UNCHECKED);
  EXPECT_EQ(dialog.m_bTopMost, 0);
  EXPECT_EQ(dialog.m_bFixedPos, 0);
}

TEST_F(PageSettingsTest, ResetAnsweredOkEmptiesThePageAndTheDialogStaysOpen) {
  ASSERT_EQ(UsedSlots(2), 3);
  CPageSettingsDlg dialog;
  dialog.m_nPage = 2;
  dialog.m_strName = "page2";
  bool stillOpen = false;
  DialogScript script([&](CDialog*, HWND dlg) {
    WhenShown(dlg, [&, dlg] {
      Click(dlg, IDC_RESET_PAGE);
      stillOpen = ::IsWindowVisible(dlg) != FALSE;
      Click(dlg, IDCANCEL);
    });
  });
  boxes_.answers = {IDOK, IDOK};
  // Cancel after the reset does not bring the slots back.
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(UsedSlots(2), 0);
  EXPECT_EQ(app_.m_pPages[2].GetComment(0), nullptr);
  EXPECT_STREQ(app_.m_pPages[2].GetName(), "page2");
  for (int page : {0, 1, 3, 4, 5}) EXPECT_EQ(UsedSlots(page), 3) << page;
  ASSERT_EQ(boxes_.boxes.size(), 2u);
  EXPECT_EQ(boxes_.boxes[0].text, kResetQuestion);
  EXPECT_EQ(boxes_.boxes[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));
  EXPECT_EQ(boxes_.boxes[0].caption, "dida");
  EXPECT_EQ(boxes_.boxes[1].text, kResetDone);
  EXPECT_EQ(boxes_.boxes[1].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
}

TEST_F(PageSettingsTest, ResetAnsweredCancelChangesNothingAndSaysNothingMore) {
  CPageSettingsDlg dialog;
  dialog.m_nPage = 4;
  DialogScript script([&](CDialog*, HWND dlg) {
    Click(dlg, IDC_RESET_PAGE);
    Click(dlg, IDOK);
  });
  boxes_.answers = {IDCANCEL};
  EXPECT_EQ(dialog.DoModal(), IDOK);
  for (int page = 0; page < kPageCount; ++page) EXPECT_EQ(UsedSlots(page), 3) << page;
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(boxes_.boxes[0].text, kResetQuestion);
}

class ResetOutsideThePages : public PageSettingsTest, public ::testing::WithParamInterface<int> {};

TEST_P(ResetOutsideThePages, NeitherAsksNorTouchesAnyPage) {
  CPageSettingsDlg dialog;
  dialog.m_nPage = GetParam();
  DialogScript script([&](CDialog*, HWND dlg) {
    Click(dlg, IDC_RESET_PAGE);
    Click(dlg, IDCANCEL);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(boxes_.boxes.empty());
  for (int page = 0; page < kPageCount; ++page) EXPECT_EQ(UsedSlots(page), 3) << page;
}

INSTANTIATE_TEST_SUITE_P(Pages, ResetOutsideThePages, ::testing::Values(-1, 6, 1000));

}  // namespace
