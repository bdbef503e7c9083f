// The end of a session and closing the window while one of its dialogs is up.
#include "tests/win32/commands/CommandsTestSupport.h"

#include "app/SettingsFile.h"
#include "archive/ResourceArchive.h"
#include "resources/resource.h"

namespace {

void WriteText(const std::string& path, const std::string& text) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(f);
}

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

TEST_F(SessionEndTest, TheSaveIsCompleteBeforeTheAnswerAndNothingIsWrittenAfterIt) {
  RECT r = WindowRect();
  ASSERT_EQ(r.left, 333 - 174);  // the window itself starts at the panel

  EXPECT_EQ(::SendMessageA(hwnd_, WM_QUERYENDSESSION, 0, 0), TRUE);
  // Written before the answer: the system may end the process at any moment after it.
  EXPECT_EQ(FileText(iniPath_), Expected());
  // Another program may still veto the end: the launcher closes only when it comes.
  EXPECT_FALSE(CloseIsPosted(hwnd_));

  // Neither the end of the session, nor the close it brings, nor the exit writes again.
  ::DeleteFileA(iniPath_.c_str());
  ::SendMessageA(hwnd_, WM_ENDSESSION, TRUE, 0);
  DrainQueue();
  EXPECT_FALSE(::IsWindow(hwnd_));
  EXPECT_EQ(app_->m_nPosX, 333);
  EXPECT_EQ(app_->m_nPosY, 44);
  app_->ExitInstance();
  EXPECT_EQ(::GetFileAttributesA(iniPath_.c_str()), INVALID_FILE_ATTRIBUTES);
}

LRESULT CALLBACK RefuseEveryWindow(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) return 1;
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// A launcher window that cannot be made ends the start at once, instead of
// leaving an invisible process that holds the single-instance semaphore; and
// the exit after it writes nothing over the settings it never read.
TEST(StartUp, AWindowThatCannotBeMadeEndsTheStart) {
  CLauncherApp app;
  HHOOK hook = ::SetWindowsHookExA(WH_CBT, &RefuseEveryWindow, nullptr, ::GetCurrentThreadId());
  ASSERT_TRUE(hook);
  BOOL started = app.InitInstance();
  ::UnhookWindowsHookEx(hook);
  EXPECT_FALSE(started);
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  app.ExitInstance();
  EXPECT_EQ(::GetFileAttributesA(g_settings.GetPath()), INVALID_FILE_ATTRIBUTES)
      << g_settings.GetPath();
  g_bStarted = 0;
}

// Settings that cannot be written (a protected folder, here one that does not
// exist; a file the user made read-only) are lost for this run: an exit the
// user chose says so once, naming the file; the end of a session, with nobody
// to answer, says nothing; a logoff that another program vetoed is no end.
enum class Ending { kExit, kSessionEnd, kVetoedThenExit };

struct UnwritableCase {
  const char* name;
  Ending ending;
  bool readOnly;  // an existing read-only file instead of a missing folder
};

class UnwritableSettings : public SessionEndTest,
                           public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(UnwritableSettings, AreReportedOnceAtAnExitTheUserChoseOnly) {
  const UnwritableCase& c = GetParam();
  const std::string old = "[param]\r\nPosX=1\r\n";
  std::string path = "C:\\no such folder\\dida.ini";
  if (c.readOnly) {
    path = iniPath_;
    WriteText(path, old);
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  }
  ASSERT_TRUE(g_settings.BindTo(path.c_str(), "param"));
  if (c.ending != Ending::kExit) {
    EXPECT_EQ(::SendMessageA(hwnd_, WM_QUERYENDSESSION, 0, 0), TRUE);
    ::SendMessageA(hwnd_, WM_ENDSESSION, c.ending == Ending::kSessionEnd, 0);
  }
  if (c.ending != Ending::kSessionEnd) ::SendMessageA(hwnd_, WM_COMMAND, ID_APP_EXIT, 0);
  DrainQueue();
  ASSERT_FALSE(::IsWindow(hwnd_));
  app_->ExitInstance();
  if (c.ending == Ending::kSessionEnd) {
    EXPECT_TRUE(boxes_.empty());
  } else {
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_NE(boxes_[0].text.find(path), std::string::npos) << boxes_[0].text;
    EXPECT_EQ(boxes_[0].caption, "dida");
  }
  if (c.readOnly) {
    EXPECT_EQ(FileText(path), old);
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Exits, UnwritableSettings,
    ::testing::Values(UnwritableCase{"exit", Ending::kExit, false},
                      UnwritableCase{"sessionEnd", Ending::kSessionEnd, false},
                      UnwritableCase{"vetoedThenExit", Ending::kVetoedThenExit, false},
                      UnwritableCase{"readOnlyExit", Ending::kExit, true}),
    [](const ::testing::TestParamInfo<UnwritableCase>& info) { return info.param.name; });

// The save's copy sits beside the file, named like it with ".new" in place of
// ".ini". One left read-only by an earlier run never blocks a save, and once
// the user clears the read-only flag of the file itself, the next save works.
TEST_F(SessionEndTest, ALeftoverCopyNeverBlocksASave) {
  const std::string copy = iniPath_.substr(0, iniPath_.size() - 4) + ".new";
  app_->m_nPosX = 333;  // as the close hands them back
  app_->m_nPosY = 44;
  WriteText(iniPath_, "[param]\r\nChar=0\r\n");
  WriteText(copy, "[param]\r\nChar=1\r\n");
  ASSERT_TRUE(::SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(::SetFileAttributesA(iniPath_.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(app_->WriteSettings());
  EXPECT_EQ(FileText(iniPath_), "[param]\r\nChar=0\r\n");

  ASSERT_TRUE(::SetFileAttributesA(iniPath_.c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(app_->WriteSettings());
  EXPECT_EQ(FileText(iniPath_), Expected());
  EXPECT_EQ(::GetFileAttributesA(iniPath_.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(::GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES);
  ::SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(copy.c_str());
}

// A settings path that fills nearly all of MAX_PATH: its copy's name fits too.
TEST_F(SessionEndTest, ASettingsPathOf257CharactersIsSaved) {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  const std::string base = std::string(temp) + "dida-long";
  const std::string folder = base + "\\" + std::string(257 - base.size() - 10, 'd');
  const std::string path = folder + "\\dida.ini";
  ASSERT_EQ(path.size(), 257u);
  ::CreateDirectoryA(base.c_str(), nullptr);
  ::CreateDirectoryA(folder.c_str(), nullptr);
  ::DeleteFileA(path.c_str());
  ASSERT_TRUE(g_settings.BindTo(path.c_str(), "param"));
  ::SendMessageA(hwnd_, WM_COMMAND, ID_APP_EXIT, 0);
  DrainQueue();
  app_->ExitInstance();
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(FileText(path), Expected());
  ::DeleteFileA(path.c_str());
  ::RemoveDirectoryA(folder.c_str());
  ::RemoveDirectoryA(base.c_str());
}

// The frame outlives its window, but nothing may touch it (but its cleared
// handle) after the message that destroyed the window.
enum class Closer { kExitCommand, kPostedClose, kAltF4, kSessionEnd };

class FrameClosedBy : public SessionEndTest, public ::testing::WithParamInterface<Closer> {};

TEST_P(FrameClosedBy, NothingTouchesTheFrameAfterItsWindowIsGone) {
  int poisonedBefore = PoisonedFrames();  // the cases share one process
  switch (GetParam()) {
    case Closer::kExitCommand:
      ::SendMessageA(hwnd_, WM_COMMAND, ID_APP_EXIT, 0);
      break;
    case Closer::kPostedClose:
      ::PostMessageA(hwnd_, WM_CLOSE, 0, 0);
      break;
    case Closer::kAltF4:
      ::SendMessageA(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case Closer::kSessionEnd:
      ::SendMessageA(hwnd_, WM_QUERYENDSESSION, 0, 0);
      ::SendMessageA(hwnd_, WM_ENDSESSION, TRUE, 0);
      break;
  }
  DrainQueue();
  ASSERT_FALSE(::IsWindow(hwnd_));
  ASSERT_EQ(PoisonedFrames(), poisonedBefore + 1);
  EXPECT_EQ(BytesWrittenAfterPoison(), 0);
}

INSTANTIATE_TEST_SUITE_P(Closers, FrameClosedBy,
                         ::testing::Values(Closer::kExitCommand, Closer::kPostedClose,
                                           Closer::kAltF4, Closer::kSessionEnd));

// A close that reaches the window while one of its dialogs is up (the end of
// the session, or an Exit sent from another program: the disabled window
// still receives both) destroys the window and the dialog it owns inside the
// dialog's loop. The command that opened the dialog must end without touching
// the frame, and nothing the dialog was showing counts.
enum class Opener { kDrop, kAdd, kEdit, kSettings };

struct CloseCase {
  const char* name;
  Opener opener;
  bool sessionEnd;  // closed by the end of the session instead of Exit
};

class ClosedDuringDialog : public SessionEndTest,
                           public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosedDuringDialog, TheCommandEndsWithoutItsWindow) {
  const CloseCase& c = GetParam();
  HWND hwnd = hwnd_;
  int poisonedBefore = PoisonedFrames();
  chosenFile_ = "C:\\Games\\Chess.exe";
  onDialog_ = [&](CDialog*, HWND dlg) {
    // The question and the end are sent (they save and post the close); Exit is posted, as
    // dida-remote does. Either close comes before the OK posted below.
    if (c.sessionEnd) {
      ::SendMessageA(hwnd, WM_QUERYENDSESSION, 0, 0);
      ::SendMessageA(hwnd, WM_ENDSESSION, TRUE, 0);
    } else {
      ::PostMessageA(hwnd, WM_COMMAND, ID_APP_EXIT, 0);
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
  EXPECT_FALSE(::IsWindow(dialogs_[0].dialog));
  EXPECT_EQ(PoisonedFrames(), poisonedBefore + 1);
  EXPECT_EQ(BytesWrittenAfterPoison(), 0);
  EXPECT_EQ(app_->m_nPosX, 333);
  if (c.opener == Opener::kSettings) {
    EXPECT_EQ(std::string(Page(2).GetName()), "P2");
  } else {
    // Filled before the comment dialog opened; the comment it proposed stays.
    EXPECT_EQ(std::string(Page(2).GetExec(3)), "C:\\Games\\Chess.exe");
    EXPECT_NE(std::string(Page(2).GetComment(3)), "kept");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Openers, ClosedDuringDialog,
    ::testing::Values(CloseCase{"dropExit", Opener::kDrop, false},
                      CloseCase{"dropSessionEnd", Opener::kDrop, true},
                      CloseCase{"addExit", Opener::kAdd, false},
                      CloseCase{"editSessionEnd", Opener::kEdit, true},
                      CloseCase{"settingsExit", Opener::kSettings, false},
                      CloseCase{"settingsSessionEnd", Opener::kSettings, true}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return info.param.name; });

}  // namespace
