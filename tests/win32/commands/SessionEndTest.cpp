// The end of a session and closing the window while one of its dialogs is up.
#include "tests/win32/commands/CommandsTestSupport.h"

#include "archive/ResourceArchive.h"
#include "resources/resource.h"

namespace {

class SessionEndTest : public CommandsTest {
 protected:
  void SetUp() override {
    CommandsTest::SetUp();
    if (HasFatalFailure()) return;
    g_bStarted = 1;  // as after a start-up that passed the single-instance test
    app_->m_nChar = 2;
    app_->m_nTopMost = 0;
    app_->m_nFixedPos = 1;
    for (int p = 0; p < 6; ++p) Page(p).SetName(("P" + std::to_string(p)).c_str());
    FillSlot(2, 0, "C:\\a.exe", "a");
    FillSlot(5, 7, "C:\\b.exe", "\xC6\xE5");
    // Where the user left it: character area at (333, 44), panel open to the left.
    PlaceCompact(333, 44);
    ClickCharacter();
  }
  void TearDown() override {
    g_bStarted = 0;
    CommandsTest::TearDown();
    // The exit closed the archive; later tests in this process draw from it.
    g_archive.Open(ArchiveMode_Embedded, nullptr, nullptr);
  }

  // The settings file as the exit writes it for the state above.
  static std::string Expected() {
    std::string text = "[param]\r\nChar=2\r\nPosX=333\r\nPosY=44\r\nTopMost=0\r\nFixedPos=1\r\n";
    for (int p = 1; p <= 6; ++p) {
      text += "Page" + std::to_string(p) + "=P" + std::to_string(p - 1) + "\r\n";
      for (int s = 1; s <= 8; ++s) {
        std::string key = std::to_string(p) + "-" + std::to_string(s);
        if (p == 3 && s == 1) {
          text += "Comment3-1=a\r\nIcon3-1=\r\nExec3-1=C:\\a.exe\r\n";
        } else if (p == 6 && s == 8) {
          text += "Comment6-8=\xC6\xE5\r\nIcon6-8=\r\nExec6-8=C:\\b.exe\r\n";
        } else {
          text += "Exec" + key + "=\r\n";
        }
      }
    }
    return text;
  }
};

bool CloseIsPosted(HWND hwnd) {
  MSG msg;
  return ::PeekMessageA(&msg, hwnd, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) != 0;
}

TEST_F(SessionEndTest, EndingTheSessionSavesAtOnceAndOnlyOnce) {
  RECT r = WindowRect();
  ASSERT_EQ(r.left, 333 - 174);  // the window itself starts at the panel

  EXPECT_EQ(::SendMessageA(hwnd_, WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_TRUE(CloseIsPosted(hwnd_));
  EXPECT_EQ(FileText(iniPath_), "");  // asking is not ending: nothing written yet
  ::SendMessageA(hwnd_, WM_ENDSESSION, TRUE, 0);
  // Written before WM_ENDSESSION returned: the system may end the process now.
  EXPECT_EQ(FileText(iniPath_), Expected());

  // The posted close and the exit that follows do not write again.
  ::DeleteFileA(iniPath_.c_str());
  DrainQueue();
  EXPECT_FALSE(::IsWindow(hwnd_));
  EXPECT_EQ(app_->m_nPosX, 333);
  EXPECT_EQ(app_->m_nPosY, 44);
  app_->ExitInstance();
  EXPECT_EQ(::GetFileAttributesA(iniPath_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SessionEndTest, ASessionThatGoesOnWritesNothingUntilExit) {
  EXPECT_EQ(::SendMessageA(hwnd_, WM_QUERYENDSESSION, 0, 0), TRUE);
  ::SendMessageA(hwnd_, WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(::GetFileAttributesA(iniPath_.c_str()), INVALID_FILE_ATTRIBUTES);
  // The close already posted still ends the launcher, which saves at its exit.
  DrainQueue();
  EXPECT_FALSE(::IsWindow(hwnd_));
  EXPECT_EQ(::GetFileAttributesA(iniPath_.c_str()), INVALID_FILE_ATTRIBUTES);
  app_->ExitInstance();
  EXPECT_EQ(FileText(iniPath_), Expected());
}

// The dialogs run without an owner, so the launcher stays usable while one is
// up: Exit from its menu (or the end of the session) can destroy the window
// before the dialog returns. The command that opened the dialog must not
// touch the window afterwards; what the user confirmed still counts.
enum class Opener { kDrop, kAdd, kEdit, kSettings };

struct CloseCase {
  const char* name;
  Opener opener;
  bool sessionEnd;  // closed by the end of the session instead of Exit
};

class ClosedDuringDialog : public SessionEndTest,
                           public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosedDuringDialog, TheCommandFinishesWithoutItsWindow) {
  const CloseCase& c = GetParam();
  HWND hwnd = hwnd_;
  chosenFile_ = "C:\\Games\\Chess.exe";
  onDialog_ = [&](CDialog*, HWND dlg) {
    if (c.sessionEnd) {
      ::SendMessageA(hwnd, WM_QUERYENDSESSION, 0,
                     0);  // posts the close, handled by the dialog's loop
    } else {
      ::SendMessageA(hwnd, WM_COMMAND, ID_APP_EXIT, 0);
    }
    int id = dialogs_.back().templateId == IDD_COMMENT ? IDC_COMMENT : IDC_PAGE_NAME;
    SetTextAndOk(dlg, id, "kept");
  };
  POINT slot = SlotPoint(3);  // the panel is open to the left
  switch (c.opener) {
    case Opener::kDrop: {
      HGLOBAL drop = MakeDrop(slot, {"C:\\Games\\Chess.exe"});
      ::SendMessageA(hwnd_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
      EXPECT_TRUE(DropReleased(drop));
      break;
    }
    case Opener::kAdd:
      RightClick(slot, {VK_DOWN, VK_RETURN});
      break;
    case Opener::kEdit:
      FillSlot(2, 3, "C:\\Games\\Chess.exe", "old");
      RightClick(slot, {VK_DOWN, VK_DOWN, VK_RETURN});
      break;
    case Opener::kSettings:
      RightClick(PanelBodyPoint(), {VK_DOWN, VK_RETURN});
      break;
  }
  DrainQueue();
  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(app_->m_nPosX, 333);
  if (c.opener == Opener::kSettings) {
    EXPECT_EQ(std::string(Page(2).GetName()), "kept");
  } else {
    EXPECT_EQ(std::string(Page(2).GetExec(3)), "C:\\Games\\Chess.exe");
    EXPECT_EQ(std::string(Page(2).GetComment(3)), "kept");
  }
  // The exit after it saves what the user confirmed.
  app_->ExitInstance();
  std::string text = FileText(iniPath_);
  EXPECT_NE(text.find(c.opener == Opener::kSettings ? "Page3=kept\r\n" : "Comment3-4=kept\r\n"),
            std::string::npos)
      << text;
}

INSTANTIATE_TEST_SUITE_P(
    Openers, ClosedDuringDialog,
    ::testing::Values(CloseCase{"dropExit", Opener::kDrop, false},
                      CloseCase{"dropSessionEnd", Opener::kDrop, true},
                      CloseCase{"addExit", Opener::kAdd, false},
                      CloseCase{"editExit", Opener::kEdit, false},
                      CloseCase{"settingsExit", Opener::kSettings, false},
                      CloseCase{"settingsSessionEnd", Opener::kSettings, true}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return info.param.name; });

}  // namespace
