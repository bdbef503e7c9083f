// The right-button menu and the three slot commands, through real messages:
// which menu opens where, Add through the file and comment dialogs, Edit,
// and Delete with its question.
#include "tests/win32/commands/CommandsTestSupport.h"

#include "launcher/LauncherGeometry.h"
#include "resources/resource.h"

bool operator==(const MenuItem& a, const MenuItem& b) { return a.id == b.id && a.text == b.text; }

namespace {

const std::vector<MenuItem> kSlotMenu = {
    {ID_SLOT_ADD, kAddText}, {ID_SLOT_EDIT, kEditText}, {ID_SLOT_DELETE, kDeleteText}};
const std::vector<MenuItem> kWindowMenu = {
    {ID_PAGE_SETTINGS, kSettingsText}, {ID_APP_ABOUT, kAboutText}, {ID_APP_EXIT, kExitText}};

struct MenuCase {
  const char* name;
  int side;  // 0 compact, 1 panel left, 2 panel right
  Spot spot;
  bool slotMenu;
};

class MenuTest : public CommandsTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuTest, OpensAtThePointerWithTheItemsOfWhatIsUnderIt) {
  const MenuCase& c = GetParam();
  FillSlot(0, 2, "C:\\x.exe", "x");
  if (c.side) {
    OpenPanel(c.side);
  } else {
    PlaceCompact(300, 20);
  }
  POINT p = SpotPoint(c.spot);
  int paintsBefore = paints_;
  SeenMenu seen = RightClick(p, {VK_ESCAPE});
  ASSERT_TRUE(seen.found) << "no popup menu appeared";
  EXPECT_EQ(seen.items, c.slotMenu ? kSlotMenu : kWindowMenu);
  POINT screen = p;
  ::ClientToScreen(hwnd_, &screen);
  EXPECT_EQ(seen.rect.left, screen.x);
  EXPECT_EQ(seen.rect.top, screen.y);
  // Escape chose nothing: no command ran.
  EXPECT_TRUE(boxes_.empty());
  EXPECT_TRUE(dialogs_.empty());
  EXPECT_TRUE(fileDialogs_.empty());
  EXPECT_EQ(paints_ - paintsBefore, 0);
  EXPECT_TRUE(::IsWindow(hwnd_));
}

INSTANTIATE_TEST_SUITE_P(
    Spots, MenuTest,
    ::testing::Values(MenuCase{"usedSlotLeft", 1, Spot::kUsedSlot, true},
                      MenuCase{"emptySlotLeft", 1, Spot::kEmptySlot, true},
                      MenuCase{"usedSlotRight", 2, Spot::kUsedSlot, true},
                      MenuCase{"emptySlotRight", 2, Spot::kEmptySlot, true},
                      MenuCase{"panelBody", 1, Spot::kPanelBody, false},
                      MenuCase{"nextButtonOpen", 2, Spot::kNextButton, false},
                      MenuCase{"characterOpen", 1, Spot::kCharacter, false},
                      MenuCase{"compactCharacter", 0, Spot::kCharacter, false},
                      MenuCase{"compactButton", 0, Spot::kPreviousButton, false}),
    [](const ::testing::TestParamInfo<MenuCase>& info) { return info.param.name; });

// Makes and destroys a message-only window over and over until told to stop,
// as the sound library's own thread does around each click.
DWORD WINAPI ChurnWindows(void* stop) {
  while (!*static_cast<volatile LONG*>(stop)) {
    ::DestroyWindow(::CreateWindowExA(0, "Message", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr));
  }
  return 0;
}

// Under Wine a USER handle made while another thread of the process destroys
// a window can be lost at birth; every right press still opens its menu.
TEST_F(CommandsTest, EveryRightPressOpensItsMenuWhileAnotherThreadDestroysWindows) {
  PlaceCompact(300, 20);
  volatile LONG stop = 0;
  HANDLE churn = ::CreateThread(nullptr, 0, &ChurnWindows, const_cast<LONG*>(&stop), 0, nullptr);
  ASSERT_TRUE(churn);
  for (int press = 0; press < 2000; ++press) {
    SeenMenu seen = RightClick(CharacterPoint(), {VK_ESCAPE});
    if (!seen.found) {
      ADD_FAILURE() << "press " << press << ": no menu came up (" << seen.Story() << ")";
      break;
    }
  }
  ::InterlockedExchange(const_cast<LONG*>(&stop), 1);
  ::WaitForSingleObject(churn, INFINITE);
  ::CloseHandle(churn);
}

TEST_F(CommandsTest, EditAndDeleteOnAnEmptySlotDoNothing) {
  OpenPanel(1);
  FillSlot(0, 1, "C:\\x.exe", "x");
  for (int item : {1, 2}) {  // Edit, Delete
    int paintsBefore = paints_;
    SeenMenu seen = RightClick(SlotPoint(6), Pick(item));
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(boxes_.empty()) << item;
    EXPECT_TRUE(dialogs_.empty()) << item;
    EXPECT_EQ(paints_ - paintsBefore, 0) << item;
    EXPECT_FALSE(Page(0).IsUsed(6));
    EXPECT_EQ(Page(0).GetComment(6), nullptr);
  }
  // The same items over the used slot do reach it.
  boxAnswers_ = {IDCANCEL};
  RightClick(SlotPoint(1), Pick(2));
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_TRUE(Page(0).IsUsed(1));
}

// ---- Add: the file dialog, then the comment dialog --------------------------------

const std::string kHan = "\xC6\xE5";  // "棋", two bytes in GBK
// "1000 文字以内で入力してください。" (string 61716), as the GBK build holds it.
const char kTooLong[] =
    "1000 \xCE\xC4\xD7\xD6\xD2\xD4\xC4\xDA\xA4\xC7\xC8\xEB\xC1\xA6\xA4\xB7\xA4\xC6\xA4\xAF"
    "\xA4\xC0\xA4\xB5\xA4\xA4\xA1\xA3";

std::string Repeat(const std::string& unit, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += unit;
  return text;
}

enum class Answer { kOk, kEscape };

struct AddCase {
  const char* name;
  std::string typed;  // text put into the comment box
  Answer answer;
  std::string comment;  // the slot's comment afterwards
  bool refused;         // the length check refused the text first
};

class AddTest : public CommandsTest, public ::testing::WithParamInterface<AddCase> {};

TEST_P(AddTest, FillsTheSlotFromTheChosenFileThenAsksForItsComment) {
  const AddCase& c = GetParam();
  OpenPanel(2);
  app_->m_nChar = 0;
  FillSlot(0, 4, "C:\\old.exe", "old");
  chosenFile_ = "C:\\Games\\Chess.exe";
  std::string proposed;
  onDialog_ = [&](CDialog*, HWND dlg) {
    proposed = ControlText(::GetDlgItem(dlg, IDC_COMMENT));
    ::SetDlgItemTextA(dlg, IDC_COMMENT, c.typed.c_str());
    if (c.answer == Answer::kOk || c.refused) {
      ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDOK)));
    }
    // Refused, the dialog stays open: Escape closes it then.
    if (c.answer == Answer::kEscape || c.refused) {
      ::PostMessageA(::GetDlgItem(dlg, IDC_COMMENT), WM_KEYDOWN, VK_ESCAPE, 1);
    }
  };
  int paintsBefore = paints_;
  RightClick(SlotPoint(4), Pick(0));

  ASSERT_EQ(fileDialogs_.size(), 1u);
  const FileDialogCall& f = fileDialogs_[0];
  EXPECT_EQ(f.title, kAddText);
  EXPECT_EQ(f.flags & ~static_cast<DWORD>(OFN_EXPLORER),
            static_cast<DWORD>(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST));
  // "程序" *.exe, then "所有文件" *.*, in GBK; the first is selected.
  EXPECT_EQ(f.filter,
            std::string("\xB3\xCC\xD0\xF2\0*.exe\0\xCB\xF9\xD3\xD0\xCE\xC4\xBC\xFE\0*.*\0\0", 25));
  EXPECT_EQ(f.filterIndex, 1u);
  EXPECT_EQ(f.defaultExtension, "exe");
  // Both dialogs belong to the launcher, which takes no input while they are up.
  EXPECT_EQ(f.owner, hwnd_);
  EXPECT_FALSE(f.ownerEnabled);

  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_EQ(dialogs_[0].templateId, static_cast<UINT>(IDD_COMMENT));
  EXPECT_EQ(dialogs_[0].owner, hwnd_);
  EXPECT_FALSE(dialogs_[0].ownerEnabled);
  EXPECT_EQ(proposed, "Chess");
  EXPECT_EQ(std::string(Page(0).GetExec(4)), "C:\\Games\\Chess.exe");
  EXPECT_EQ(std::string(Page(0).GetComment(4)), c.comment);
  if (c.refused) {
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, kTooLong);
    EXPECT_EQ(boxes_[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    // The dialog's own box belongs to the dialog.
    EXPECT_EQ(boxes_[0].owner, dialogs_[0].dialog);
    EXPECT_FALSE(boxes_[0].ownerEnabled);
  } else {
    EXPECT_TRUE(boxes_.empty());
  }
  EXPECT_TRUE(::IsWindowEnabled(hwnd_));
  // Redrawn and shown: the slot's icon is in the back buffer.
  EXPECT_GT(IconCellDifferences(4), 50);
  EXPECT_GT(paints_, paintsBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Comments, AddTest,
    ::testing::Values(AddCase{"okUnchanged", "Chess", Answer::kOk, "Chess", false},
                      AddCase{"escapeKeepsFileName", "Other", Answer::kEscape, "Chess", false},
                      AddCase{"emptiedKeepsOld", "", Answer::kOk, "Chess", false},
                      AddCase{"newText", "\xB9\xFA\xBC\xCA\xCF\xF3\xC6\xE5", Answer::kOk,
                              "\xB9\xFA\xBC\xCA\xCF\xF3\xC6\xE5", false},
                      AddCase{"bytes1000", "ab" + Repeat(kHan, 499), Answer::kOk,
                              "ab" + Repeat(kHan, 499), false},
                      AddCase{"bytes1001", "abc" + Repeat(kHan, 499), Answer::kOk, "Chess", true}),
    [](const ::testing::TestParamInfo<AddCase>& info) { return info.param.name; });

TEST_F(CommandsTest, AddCancelledInTheFileDialogChangesNothing) {
  OpenPanel(1);
  FillSlot(0, 0, "C:\\old.exe", "old");
  int paintsBefore = paints_;
  RightClick(SlotPoint(0), Pick(0));
  EXPECT_EQ(fileDialogs_.size(), 1u);
  EXPECT_TRUE(dialogs_.empty());
  EXPECT_EQ(std::string(Page(0).GetExec(0)), "C:\\old.exe");
  EXPECT_EQ(std::string(Page(0).GetComment(0)), "old");
  EXPECT_EQ(paints_, paintsBefore);
}

TEST_F(CommandsTest, EditChangesTheCommentShownWhileThePointerRestsOnTheSlot) {
  OpenPanel(1);
  FillSlot(0, 7, "C:\\x.exe", "old");
  std::string proposed;
  onDialog_ = [&](CDialog*, HWND dlg) {
    proposed = ControlText(::GetDlgItem(dlg, IDC_COMMENT));
    SetTextAndOk(dlg, IDC_COMMENT, "\xD0\xC2\xD7\xA2\xCA\xCD");  // "新注释"
  };
  RightClick(SlotPoint(7), Pick(1));
  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_EQ(proposed, "old");
  EXPECT_EQ(std::string(Page(0).GetComment(7)), "\xD0\xC2\xD7\xA2\xCA\xCD");
  EXPECT_EQ(std::string(Page(0).GetExec(7)), "C:\\x.exe");
  EXPECT_EQ(CaptionDifferences(L"新注释"), 0);
  EXPECT_TRUE(fileDialogs_.empty());
}

// ---- Delete ---------------------------------------------------------------------

class DeleteTest : public CommandsTest, public ::testing::WithParamInterface<int> {};

TEST_P(DeleteTest, AsksFirstAndOnOkEmptiesTheSlot) {
  const int answer = GetParam();
  OpenPanel(2);
  Page(0).SetName("\xB9\xA4\xBE\xDF");  // "工具"
  FillSlot(0, 3, "C:\\x.exe", "x");
  frame_->RedrawAll();
  ASSERT_GT(IconCellDifferences(3), 50);  // the icon is there to be removed

  boxAnswers_ = {answer};
  int paintsBefore = paints_;
  RightClick(SlotPoint(3), Pick(2));
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, kDeleteQuestion);
  EXPECT_EQ(boxes_[0].caption, "dida");
  EXPECT_EQ(boxes_[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));
  EXPECT_EQ(boxes_[0].owner, hwnd_);
  EXPECT_FALSE(boxes_[0].ownerEnabled);
  EXPECT_TRUE(::IsWindowEnabled(hwnd_));
  EXPECT_GT(paints_, paintsBefore);  // shown again, whichever the answer
  if (answer == IDOK) {
    EXPECT_FALSE(Page(0).IsUsed(3));
    EXPECT_EQ(Page(0).GetComment(3), nullptr);
    EXPECT_EQ(IconCellDifferences(3), 0);
    // The pointer still rests on the slot: the caption falls back to the page name.
    EXPECT_EQ(CaptionDifferences(L"工具"), 0);
  } else {
    EXPECT_EQ(std::string(Page(0).GetExec(3)), "C:\\x.exe");
    EXPECT_GT(IconCellDifferences(3), 50);
    EXPECT_EQ(CaptionDifferences(L"x"), 0);
  }
  EXPECT_TRUE(dialogs_.empty());
}

INSTANTIATE_TEST_SUITE_P(Answers, DeleteTest, ::testing::Values(IDOK, IDCANCEL),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param == IDOK ? "ok" : "cancel";
                         });

// While slot k's comment is being edited, the menu's Delete for the same slot
// must not get through: OK would then write a comment into an emptied slot.
// The launcher is disabled under its dialog and acts on no press.
TEST_F(CommandsTest, NoSlotCanBeDeletedWhileItsCommentIsEdited) {
  OpenPanel(1);
  FillSlot(0, 3, "C:\\x.exe", "old");
  POINT slot = SlotPoint(3);
  onDialog_ = [&](CDialog*, HWND dlg) {
    // Right press over the same slot; a menu, if one came up, would pick
    // Delete, and its question would be answered OK.
    PressRight(slot, Pick(2), nullptr);
    SetTextAndOk(dlg, IDC_COMMENT, "new");
  };
  RightClick(slot, Pick(1));  // Edit
  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_TRUE(boxes_.empty());  // no delete question was asked
  ASSERT_TRUE(Page(0).IsUsed(3));
  EXPECT_EQ(std::string(Page(0).GetComment(3)), "new");
}

TEST_F(CommandsTest, AboutOpensTheAboutBox) {
  PlaceCompact(300, 20);
  RightClick(CharacterPoint(), Pick(1));
  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_EQ(dialogs_[0].templateId, static_cast<UINT>(IDD_ABOUTBOX));
  EXPECT_EQ(dialogs_[0].owner, hwnd_);
  EXPECT_FALSE(dialogs_[0].ownerEnabled);
  EXPECT_TRUE(::IsWindowEnabled(hwnd_));
}

TEST_F(CommandsTest, ExitFromTheMenuClosesTheWindowAndHandsBackItsPosition) {
  PlaceCompact(321, 45);
  ClickCharacter();  // the window's left edge is now the panel's, 174 further left
  RightClick(CharacterPoint(), Pick(2));
  EXPECT_FALSE(::IsWindow(hwnd_));
  EXPECT_EQ(app_->m_nPosX, 321);
  EXPECT_EQ(app_->m_nPosY, 45);
}

}  // namespace
