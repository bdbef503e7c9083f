// Files dropped from the shell: real drop handles sent as WM_DROPFILES.
#include "tests/win32/commands/CommandsTestSupport.h"

#include "launcher/LauncherGeometry.h"
#include "resources/resource.h"

namespace {

std::string OwnPath() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, sizeof path);
  return path;
}

// The file name without folder and extension.
std::string TitleOf(const std::string& path) {
  std::size_t begin = path.find_last_of("\\/") + 1;
  std::size_t dot = path.find_last_of('.');
  return path.substr(begin,
                     dot == std::string::npos || dot < begin ? std::string::npos : dot - begin);
}

struct DropCase {
  const char* name;
  int side;  // 0 compact, 1 panel left, 2 panel right
  Spot spot;
  bool takes;
};

class DropTest : public CommandsTest, public ::testing::WithParamInterface<DropCase> {
 protected:
  // Every slot of every page as "target|comment".
  std::vector<std::string> Snapshot() {
    std::vector<std::string> all;
    for (int p = 0; p < 6; ++p) {
      for (int s = 0; s < 8; ++s) {
        const char* e = Page(p).GetExec(s);
        const char* c = Page(p).GetComment(s);
        all.push_back(std::string(e ? e : "-") + "|" + (c ? c : "-"));
      }
    }
    return all;
  }
};

TEST_P(DropTest, OnlyASlotOfTheOpenPanelTakesTheFirstFile) {
  const DropCase& c = GetParam();
  app_->m_nChar = 1;
  FillSlot(1, 2, "C:\\old.exe", "old");
  FillSlot(0, 5, "C:\\other.exe", "other");
  if (c.side) {
    OpenPanel(c.side);
  } else {
    PlaceCompact(300, 20);
  }
  int slot = c.spot == Spot::kUsedSlot ? 2 : 5;
  POINT p = SpotPoint(c.spot);
  if (!c.side) p = CharacterPoint();  // compact: anywhere on the window

  const std::string first = OwnPath();
  std::string proposed;
  onDialog_ = [&](CDialog*, HWND dlg) {
    proposed = ControlText(::GetDlgItem(dlg, IDC_COMMENT));
    ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
  };
  std::vector<std::string> before = Snapshot();
  HGLOBAL drop = MakeDrop(p, {first, "C:\\second.exe", "C:\\third.exe"});
  ASSERT_NE(drop, nullptr);
  ASSERT_FALSE(DropReleased(drop));
  int paintsBefore = paints_;
  ::SendMessageA(hwnd_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  EXPECT_TRUE(DropReleased(drop));
  DrainQueue();

  std::vector<std::string> after = Snapshot();
  if (!c.takes) {
    EXPECT_EQ(after, before);
    EXPECT_TRUE(dialogs_.empty());
    EXPECT_EQ(paints_, paintsBefore);
    return;
  }
  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_EQ(dialogs_[0].templateId, static_cast<UINT>(IDD_COMMENT));
  EXPECT_EQ(proposed, TitleOf(first));
  EXPECT_EQ(std::string(Page(1).GetExec(slot)), first);
  EXPECT_EQ(std::string(Page(1).GetComment(slot)), TitleOf(first));
  // Nothing else changed.
  after[8 + slot] = before[8 + slot];
  EXPECT_EQ(after, before);
  EXPECT_GT(IconCellDifferences(slot), 50);
  EXPECT_GT(paints_, paintsBefore);
}

INSTANTIATE_TEST_SUITE_P(Spots, DropTest,
                         ::testing::Values(DropCase{"usedSlotLeft", 1, Spot::kUsedSlot, true},
                                           DropCase{"emptySlotLeft", 1, Spot::kEmptySlot, true},
                                           DropCase{"usedSlotRight", 2, Spot::kUsedSlot, true},
                                           DropCase{"emptySlotRight", 2, Spot::kEmptySlot, true},
                                           DropCase{"panelBody", 1, Spot::kPanelBody, false},
                                           DropCase{"panelBodyRight", 2, Spot::kPanelBody, false},
                                           DropCase{"nextButton", 2, Spot::kNextButton, false},
                                           DropCase{"characterLeft", 1, Spot::kCharacter, false},
                                           DropCase{"characterRight", 2, Spot::kCharacter, false},
                                           DropCase{"compact", 0, Spot::kCharacter, false}),
                         [](const ::testing::TestParamInfo<DropCase>& info) {
                           return info.param.name;
                         });

// Names that do not fit the 260-byte buffer arrive cut; the slot must never
// take a cut name (a different file) or an unterminated one.
struct NameCase {
  const char* name;
  bool wide;
  std::vector<std::wstring> names;
  std::string taken;    // the target afterwards, GBK
  std::string comment;  // proposed and kept
};

std::wstring Long(const std::wstring& unit, int count) {
  std::wstring s;
  for (int i = 0; i < count; ++i) s += unit;
  return s;
}

std::string Narrow(const std::wstring& w) {
  std::string s(w.size() * 2 + 1, '\0');
  int n = ::WideCharToMultiByte(936, 0, w.c_str(), -1, &s[0], static_cast<int>(s.size()), nullptr,
                                nullptr);
  s.resize(n > 0 ? static_cast<std::size_t>(n - 1) : 0);
  return s;
}

class DroppedNames : public CommandsTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(DroppedNames, TheSlotTakesOnlyAWholeName) {
  const NameCase& c = GetParam();
  OpenPanel(1);
  std::string proposed;
  onDialog_ = [&](CDialog*, HWND dlg) {
    proposed = ControlText(::GetDlgItem(dlg, IDC_COMMENT));
    ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
  };
  HGLOBAL drop;
  if (c.wide) {
    drop = MakeWideDrop(SlotPoint(0), c.names);
  } else {
    std::vector<std::string> narrow;
    for (const auto& n : c.names) narrow.push_back(Narrow(n));
    drop = MakeDrop(SlotPoint(0), narrow);
  }
  ::SendMessageA(hwnd_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  EXPECT_TRUE(DropReleased(drop));
  ASSERT_TRUE(Page(0).IsUsed(0));
  EXPECT_EQ(std::string(Page(0).GetExec(0)), c.taken);
  EXPECT_EQ(std::string(Page(0).GetComment(0)), c.comment);
  EXPECT_EQ(proposed, c.comment);
  EXPECT_EQ(dialogs_.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Names, DroppedNames,
    ::testing::Values(NameCase{"narrowTooLong",
                               false,
                               {L"C:\\" + Long(L"a", 300) + L".exe", L"C:\\b.exe"},
                               "C:\\b.exe",
                               "b"},
                      // 150 characters: short enough as UTF-16, 300 bytes once in GBK.
                      NameCase{"wideTooLongInGbk",
                               true,
                               {L"C:\\" + Long(L"棋", 150) + L".exe", L"C:\\b.exe"},
                               "C:\\b.exe",
                               "b"},
                      NameCase{"wideChinese",
                               true,
                               {L"C:\\游戏\\象棋.exe"},
                               "C:\\\xD3\xCE\xCF\xB7\\\xCF\xF3\xC6\xE5.exe",
                               "\xCF\xF3\xC6\xE5"},
                      NameCase{"longest",
                               false,
                               {L"C:\\" + Long(L"d", 252) + L".exe"},
                               "C:\\" + std::string(252, 'd') + ".exe",
                               std::string(252, 'd')}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return info.param.name; });

// A name GBK cannot hold would be stored with '?' in its place and fail when
// started: the drop is refused with a message, and no slot changes, not even
// for the files after it.
class RefusedNames : public CommandsTest {};

TEST_F(RefusedNames, ANameWithoutGbkFormIsRefused) {
  OpenPanel(1);
  HGLOBAL drop = MakeWideDrop(SlotPoint(0), {L"C:\\\uD55C\uAD6D\\game.exe", L"C:\\b.exe"});
  ::SendMessageA(hwnd_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  EXPECT_TRUE(DropReleased(drop));
  EXPECT_FALSE(Page(0).IsUsed(0));
  EXPECT_TRUE(dialogs_.empty());
  ASSERT_EQ(boxes_.size(), 1u);
  // The message says it cannot be added ("不能添加").
  EXPECT_NE(boxes_[0].text.find("\xB2\xBB\xC4\xDC\xCC\xED\xBC\xD3"), std::string::npos)
      << boxes_[0].text;
}

}  // namespace
