// The Settings command: the dialog filled from the application object, the
// name and flags applied on OK, the window order, and the page reset.
#include "tests/win32/commands/CommandsTestSupport.h"

#include "resources/resource.h"

namespace {

// Whether `upper` comes before `lower` in the window order.
bool IsAbove(HWND upper, HWND lower) {
  for (HWND w = ::GetWindow(upper, GW_HWNDNEXT); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    if (SameForm(w) == SameForm(lower)) return true;
  }
  return false;
}

bool IsTopMost(HWND w) { return (::GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// A plain window of the test's own, to compare the window order with.
class OtherWindow {
 public:
  OtherWindow() {
    hwnd = ::CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 600, 400, 50, 50, nullptr,
                             nullptr, ::GetModuleHandleA(nullptr), nullptr);
  }
  ~OtherWindow() { ::DestroyWindow(hwnd); }
  HWND hwnd;
};

const std::vector<WPARAM> kPickSettings = {VK_DOWN, VK_RETURN};

TEST_F(CommandsTest, StoredTopMostOfThreeShowsAClearBoxAndOkSendsTheWindowToTheBottom) {
  PlaceCompact(300, 20);
  app_->m_nTopMost = 3;
  ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  OtherWindow other;
  ASSERT_TRUE(IsAbove(hwnd_, other.hwnd));
  LRESULT shown = -1;
  onDialog_ = [&](CDialog*, HWND dlg) {
    shown = ::SendDlgItemMessageA(dlg, IDC_TOPMOST, BM_GETCHECK, 0, 0);
    ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
  };
  RightClick(CharacterPoint(), kPickSettings);
  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_EQ(dialogs_[0].templateId, static_cast<UINT>(IDD_PAGE_SETTINGS));
  EXPECT_EQ(shown, BST_UNCHECKED);
  EXPECT_EQ(app_->m_nTopMost, 0);
  EXPECT_FALSE(IsTopMost(hwnd_));
  EXPECT_TRUE(IsAbove(other.hwnd, hwnd_));
}

struct OrderCase {
  const char* name;
  int topMost;
  bool launcherAbove;  // the launcher is above the other window at first
};

class UnchangedOrder : public CommandsTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(UnchangedOrder, OkWithoutAChangeLeavesTheWindowOrderAlone) {
  const OrderCase& c = GetParam();
  PlaceCompact(300, 20);
  app_->m_nTopMost = c.topMost;
  app_->m_nFixedPos = 1;
  OtherWindow other;
  // Both in the same band, so that any order call would show.
  HWND band = c.topMost ? HWND_TOPMOST : HWND_TOP;
  HWND lower = c.launcherAbove ? other.hwnd : hwnd_;
  HWND upper = c.launcherAbove ? hwnd_ : other.hwnd;
  ::SetWindowPos(lower, band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::SetWindowPos(upper, band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_TRUE(IsAbove(upper, lower));
  LRESULT topShown = -1, fixedShown = -1;
  // The order the OK starts from. Opening a dialog over a topmost owner now
  // and then reorders the band under Wine before the dialog's first message,
  // with no order call of ours: what the OK must keep is this order.
  bool upperAboveWhenShown = false;
  onDialog_ = [&](CDialog*, HWND dlg) {
    upperAboveWhenShown = IsAbove(upper, lower);
    topShown = ::SendDlgItemMessageA(dlg, IDC_TOPMOST, BM_GETCHECK, 0, 0);
    fixedShown = ::SendDlgItemMessageA(dlg, IDC_FIXEDPOS, BM_GETCHECK, 0, 0);
    ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
  };
  RightClick(CharacterPoint(), kPickSettings);
  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_EQ(topShown, c.topMost ? BST_CHECKED : BST_UNCHECKED);
  EXPECT_EQ(fixedShown, BST_CHECKED);
  EXPECT_EQ(app_->m_nTopMost, c.topMost);
  EXPECT_EQ(app_->m_nFixedPos, 1);
  EXPECT_EQ(IsAbove(upper, lower), upperAboveWhenShown);
  EXPECT_EQ(IsTopMost(hwnd_), c.topMost != 0);
}

INSTANTIATE_TEST_SUITE_P(Orders, UnchangedOrder,
                         ::testing::Values(OrderCase{"onBelow", 1, false},
                                           OrderCase{"offAbove", 0, true},
                                           OrderCase{"offBelow", 0, false}),
                         [](const ::testing::TestParamInfo<OrderCase>& info) {
                           return info.param.name;
                         });

TEST_F(CommandsTest, SwitchingAlwaysInFrontOnPutsTheWindowAboveOthers) {
  PlaceCompact(300, 20);
  OtherWindow other;
  ::SetWindowPos(other.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_TRUE(IsAbove(other.hwnd, hwnd_));
  onDialog_ = [&](CDialog*, HWND dlg) {
    ::SendMessageA(::GetDlgItem(dlg, IDC_TOPMOST), BM_CLICK, 0, 0);
    ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
  };
  RightClick(CharacterPoint(), kPickSettings);
  EXPECT_EQ(app_->m_nTopMost, 1);
  EXPECT_TRUE(IsTopMost(hwnd_));
  EXPECT_TRUE(IsAbove(hwnd_, other.hwnd));
}

TEST_F(CommandsTest, AnEmptiedNameLeavesTheCaptionEmptyAndIsWrittenEmpty) {
  OpenPanel(1);
  Page(0).SetName("\xB9\xA4\xBE\xDF");  // "工具"
  frame_->RedrawAll();
  ASSERT_EQ(CaptionDifferences(L"工具"), 0);
  std::string shownName;
  onDialog_ = [&](CDialog*, HWND dlg) {
    shownName = ControlText(::GetDlgItem(dlg, IDC_PAGE_NAME));
    SetTextAndOk(dlg, IDC_PAGE_NAME, "");
  };
  RightClick(PanelBodyPoint(), kPickSettings);
  EXPECT_EQ(shownName, "\xB9\xA4\xBE\xDF");
  ASSERT_NE(Page(0).GetName(), nullptr);
  EXPECT_EQ(std::string(Page(0).GetName()), "");
  EXPECT_EQ(CaptionDifferences(nullptr), 0);
  app_->SavePages();
  EXPECT_NE(FileText(iniPath_).find("[param]\r\nPage1=\r\n"), std::string::npos)
      << FileText(iniPath_);
}

TEST_F(CommandsTest, CancelAppliesNothing) {
  PlaceCompact(300, 20);
  Page(0).SetName("keep");
  onDialog_ = [&](CDialog*, HWND dlg) {
    ::SetDlgItemTextA(dlg, IDC_PAGE_NAME, "lost");
    ::SendMessageA(::GetDlgItem(dlg, IDC_FIXEDPOS), BM_CLICK, 0, 0);
    ::PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
  };
  RightClick(CharacterPoint(), kPickSettings);
  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_EQ(std::string(Page(0).GetName()), "keep");
  EXPECT_EQ(app_->m_nFixedPos, 0);
}

struct ResetCase {
  const char* name;
  int answer;    // to the reset's question
  size_t boxes;  // shown in all
  bool emptied;
};

class ResetTest : public CommandsTest, public ::testing::WithParamInterface<ResetCase> {};

TEST_P(ResetTest, ResetEmptiesThePageEvenWhenTheDialogIsCancelled) {
  const ResetCase& c = GetParam();
  app_->m_nChar = 3;
  PlaceCompact(300, 20);
  Page(3).SetName("three");
  for (int slot = 0; slot < 8; slot += 2) FillSlot(3, slot, "C:\\x.exe", "x");
  FillSlot(2, 1, "C:\\y.exe", "y");
  boxAnswers_ = {c.answer};
  onDialog_ = [&](CDialog*, HWND dlg) {
    ::SendMessageA(::GetDlgItem(dlg, IDC_RESET_PAGE), BM_CLICK, 0, 0);
    ::PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
  };
  RightClick(CharacterPoint(), kPickSettings);
  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_EQ(dialogs_[0].owner, hwnd_);
  EXPECT_FALSE(dialogs_[0].ownerEnabled);
  ASSERT_EQ(boxes_.size(), c.boxes);
  // The question (and the report) belong to the dialog, which cannot be
  // pressed again while they are up.
  for (const BoxCall& box : boxes_) {
    EXPECT_EQ(box.owner, dialogs_[0].dialog);
    EXPECT_FALSE(box.ownerEnabled);
  }
  EXPECT_TRUE(::IsWindowEnabled(hwnd_));
  for (int slot = 0; slot < 8; slot += 2) {
    EXPECT_EQ(Page(3).IsUsed(slot) == 0, c.emptied) << slot;
  }
  EXPECT_EQ(std::string(Page(3).GetName()), "three");
  EXPECT_TRUE(Page(2).IsUsed(1));  // another page is not touched
}

INSTANTIATE_TEST_SUITE_P(Answers, ResetTest,
                         ::testing::Values(ResetCase{"confirmed", IDOK, 2, true},
                                           ResetCase{"refused", IDCANCEL, 1, false}),
                         [](const ::testing::TestParamInfo<ResetCase>& info) {
                           return info.param.name;
                         });

}  // namespace
