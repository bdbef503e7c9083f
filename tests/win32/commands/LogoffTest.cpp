// The end of a session as the system brings it, from another process, to the
// real dida.exe in every state it can be in: WM_QUERYENDSESSION, then
// WM_ENDSESSION(TRUE) (sent by dida-remote). When the first returns, the
// settings file must already be complete; the launcher must not crash. And a
// watcher reading the file during many saves never sees anything but a whole
// old or new text.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/LaunchPage.h"
#include "app/LauncherApp.h"
#include "app/SettingsFile.h"
#include "launcher/LauncherGeometry.h"
#include "resources/resource.h"
#include "tests/win32/launcher/LauncherTestSupport.h"
#include "tests/win32/support/Handles.h"

// Every length at 100 %.
static const LauncherMetrics k100 = MetricsAt(kBasePercent);

namespace {

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

std::string FreshFolder(const std::string& name) {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  std::string dir = std::string(temp) + "dida-logoff-" + name;
  ::CreateDirectoryA(dir.c_str(), nullptr);
  for (const char* file :
       {"\\dida.ini", "\\dida.new", "\\snapshot", "\\stop", "\\out", "\\outready"}) {
    ::DeleteFileA((dir + file).c_str());
  }
  return dir;
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const std::string& path, const std::string& text) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(f);
}

// Runs a program of ours to its end (at most 60 s); its standard output.
std::string RunTool(const std::string& commandLine, DWORD* exitCode) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  ::CreatePipe(&read, &write, &inherit, 0);
  ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = write;
  si.hStdError = write;
  PROCESS_INFORMATION pi = {};
  std::string line = commandLine;
  if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    ::CloseHandle(read);
    ::CloseHandle(write);
    *exitCode = 999;
    return "";
  }
  ::CloseHandle(write);
  std::string out;
  char buffer[256];
  DWORD got = 0;
  while (::ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
  ::WaitForSingleObject(pi.hProcess, 60000);
  ::GetExitCodeProcess(pi.hProcess, exitCode);
  ::CloseHandle(read);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return out;
}

std::string Remote() { return "\"" + ProgramFolder() + "dida-remote.exe\""; }

// Polls `done` every 50 ms for up to `ms` (a minute: under load a Wine
// process can take many seconds to start or to answer).
bool WaitFor(const std::function<bool()>& done, int ms = 60000) {
  for (int waited = 0; waited < ms; waited += 50) {
    if (done()) return true;
    ::Sleep(50);
  }
  return done();
}

// The settings the launcher is started with: complete, in the order a save
// writes them, with one used slot (a target that does not exist) and a
// section of someone else's that a save keeps.
std::string SettingsText(int posX, int posY) {
  std::string text = "[param]\r\nChar=0\r\nPosX=" + std::to_string(posX) +
                     "\r\nPosY=" + std::to_string(posY) + "\r\nTopMost=0\r\nFixedPos=0\r\n";
  for (int p = 1; p <= 6; ++p) {
    text += "Page" + std::to_string(p) + "=P" + std::to_string(p) + "\r\n";
    for (int s = 1; s <= 8; ++s) {
      std::string key = std::to_string(p) + "-" + std::to_string(s);
      if (p == 1 && s == 1) text += "Comment1-1=gone\r\nIcon1-1=\r\n";
      text += "Exec" + key + (p == 1 && s == 1 ? "=C:\\nothere\\gone.exe\r\n" : "=\r\n");
    }
  }
  return text + "[other]\r\nkeep=1\r\n";
}

// The launcher's other windows, as its thread has them.
struct ThreadWindows {
  std::vector<HWND> all;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
  reinterpret_cast<ThreadWindows*>(param)->all.push_back(hwnd);
  return TRUE;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  return name;
}

enum class State {
  kIdle,
  kAfterDrag,
  kSettings,
  kComment,
  kFileDialog,
  kAbout,
  kDeleteBox,
  kLaunchError,
  kResetBox,
  kStartupMissingEntry,
};

struct LogoffCase {
  const char* name;
  State state;
};

class LogoffTest : public ::testing::TestWithParam<LogoffCase> {
 protected:
  void SetUp() override {
    dir_ = FreshFolder(GetParam().name);
    exe_ = dir_ + "\\dida.exe";
    ini_ = dir_ + "\\dida.ini";
    ASSERT_TRUE(::CopyFileA((ProgramFolder() + "dida.exe").c_str(), exe_.c_str(), FALSE));
    WriteText(ini_, SettingsText(5000, 200));  // held on the 1024-pixel screen at 922
  }
  void TearDown() override {
    if (pi_.hProcess) {
      if (::WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT)
        ::TerminateProcess(pi_.hProcess, 9);
      ::CloseHandle(pi_.hThread);
      ::CloseHandle(pi_.hProcess);
    }
  }

  void Start() {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string line = "\"" + exe_ + "\"";
    ASSERT_TRUE(::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                                 dir_.c_str(), &si, &pi_));
  }

  std::vector<HWND> Windows() const {
    ThreadWindows found;
    ::EnumThreadWindows(pi_.dwThreadId, &CollectWindow, reinterpret_cast<LPARAM>(&found));
    return found.all;
  }

  // The launcher's window, once it is there (visible, unless `hidden`).
  HWND Launcher(bool hidden = false) {
    HWND found = nullptr;
    WaitFor([&] {
      for (HWND w : Windows()) {
        char title[16] = {};
        ::GetWindowTextA(w, title, sizeof title);
        if (std::string(title) == "dida" && ClassOf(w) != "#32770" &&
            (hidden || ::IsWindowVisible(w))) {
          found = w;
        }
      }
      return found != nullptr;
    });
    return found;
  }

  // The visible window of `className` the launcher's thread shows, other than `besides`.
  HWND Shown(const char* className, HWND besides = nullptr, int ms = 60000) {
    HWND found = nullptr;
    WaitFor(
        [&] {
          for (HWND w : Windows()) {
            if (w != besides && ::IsWindowVisible(w) && ClassOf(w) == className) found = w;
          }
          return found != nullptr;
        },
        ms);
    return found;
  }

  void Click(HWND hwnd, UINT down, POINT p) {
    ::PostMessageA(hwnd, down, down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON,
                   MAKELPARAM(p.x, p.y));
  }

  // Opens the panel (to the left: the window is at the right edge) and picks
  // item `item` of the menu over slot 0.
  void SlotMenu(HWND launcher, int item) {
    POINT body = CharacterBodyPoint(0);
    Click(launcher, WM_LBUTTONDOWN, body);
    ::PostMessageA(launcher, WM_LBUTTONUP, 0, MAKELPARAM(body.x, body.y));
    ASSERT_TRUE(WaitFor([&] { return WidthOf(launcher) == kCharacterWidth + kPanelWidth; }));
    Click(launcher, WM_RBUTTONDOWN, SlotZero());
    HWND menu = Shown("#32768");
    ASSERT_TRUE(menu) << "no popup menu";
    for (int i = 0; i <= item; ++i) ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 1);
    ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 1);
  }

  static int WidthOf(HWND hwnd) {
    RECT r;
    ::GetWindowRect(hwnd, &r);
    return r.right - r.left;
  }

  // A client point over slot 0 of the panel open to the left.
  static POINT SlotZero() {
    const DrawSurface& panel = TheArtwork().panel;
    for (int y = kIconY; y < kIconY + 32; ++y) {
      for (int x = kIconX; x < kIconX + 32; ++x) {
        if (::SlotAt(k100, x, y, panel.MaskAt(x, y)) == 0) return {x, y};
      }
    }
    return {-1, -1};
  }

  // Drags the window by the outer pixels of its button row with real input.
  void Drag(HWND launcher, int dx, int dy) {
    RECT r;
    ::GetWindowRect(launcher, &r);
    POINT from = {r.left + 1, r.top + 120};
    auto moveTo = [](int x, int y, DWORD flags) {
      ::SetCursorPos(x, y);
      INPUT in = {};
      in.type = INPUT_MOUSE;
      in.mi.dwFlags = flags;
      ::SendInput(1, &in, sizeof in);
      ::Sleep(60);
    };
    moveTo(from.x, from.y, MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= 5; ++i) moveTo(from.x + dx * i / 5, from.y + dy * i / 5, MOUSEEVENTF_MOVE);
    moveTo(from.x + dx, from.y + dy, MOUSEEVENTF_LEFTUP);
  }

  // Drags the window by (dx, dy) and waits until it has followed (its new
  // rectangle in `after`); fails when it did not, or when it is gone.
  ::testing::AssertionResult DragBy(HWND launcher, int dx, int dy, RECT* after) {
    RECT before;
    ::GetWindowRect(launcher, &before);
    Drag(launcher, dx, dy);
    if (WaitFor([&] {
          ::GetWindowRect(launcher, after);
          return ::IsWindow(launcher) && after->left == before.left + dx &&
                 after->top == before.top + dy;
        })) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the window is gone or did not follow the drag";
  }

  std::string dir_, exe_, ini_;
  PROCESS_INFORMATION pi_ = {};
};

TEST_P(LogoffTest, TheSettingsAreCompleteWhenTheQuestionIsAnsweredAndNothingCrashes) {
  const State state = GetParam().state;
  int posX = 922, posY = 200;  // where start-up holds the window
  HWND owner = nullptr;        // the modal window's expected owner, if one is up
  HWND modal = nullptr;
  if (state == State::kStartupMissingEntry) {
    // A data resource whose entries all lie outside it: every picture is missing.
    HANDLE update = ::BeginUpdateResourceA(exe_.c_str(), FALSE);
    ASSERT_TRUE(update);
    char data[] = "[ARCHIVE]";
    ASSERT_TRUE(::UpdateResourceA(update, ARCHIVE_RESOURCE_TYPE, MAKEINTRESOURCEA(IDR_ARCHIVE_DATA),
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), data, 9));
    ASSERT_TRUE(::EndUpdateResourceA(update, FALSE));
  }
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND launcher = Launcher(state == State::kStartupMissingEntry);
  ASSERT_TRUE(launcher) << "no launcher window";

  switch (state) {
    case State::kIdle:
      break;
    case State::kAfterDrag: {
      RECT after;
      ASSERT_TRUE(DragBy(launcher, -200, 100, &after));
      posX = after.left;
      posY = after.top;
      break;
    }
    case State::kSettings:
      ::PostMessageA(launcher, WM_COMMAND, ID_PAGE_SETTINGS, 0);
      modal = Shown("#32770");
      owner = launcher;
      break;
    case State::kAbout:
      ::PostMessageA(launcher, WM_COMMAND, ID_APP_ABOUT, 0);
      modal = Shown("#32770");
      owner = launcher;
      break;
    case State::kComment:
    case State::kFileDialog:
    case State::kDeleteBox:
      ASSERT_NO_FATAL_FAILURE(SlotMenu(launcher, state == State::kFileDialog ? 0
                                                 : state == State::kComment  ? 1
                                                                             : 2));
      modal = Shown("#32770");
      owner = launcher;
      break;
    case State::kLaunchError: {
      POINT body = CharacterBodyPoint(0);
      Click(launcher, WM_LBUTTONDOWN, body);
      ::PostMessageA(launcher, WM_LBUTTONUP, 0, MAKELPARAM(body.x, body.y));
      ASSERT_TRUE(WaitFor([&] { return WidthOf(launcher) == kCharacterWidth + kPanelWidth; }));
      Click(launcher, WM_LBUTTONDOWN, SlotZero());
      modal = Shown("#32770");
      owner = launcher;
      break;
    }
    case State::kResetBox: {
      ::PostMessageA(launcher, WM_COMMAND, ID_PAGE_SETTINGS, 0);
      HWND settings = Shown("#32770");
      ASSERT_TRUE(settings);
      ::PostMessageA(::GetDlgItem(settings, IDC_RESET_PAGE), BM_CLICK, 0, 0);
      modal = Shown("#32770", settings);
      owner = settings;
      break;
    }
    case State::kStartupMissingEntry:
      modal = Shown("#32770");
      break;
  }
  if (state != State::kIdle && state != State::kAfterDrag) {
    ASSERT_TRUE(modal) << "the dialog or box did not appear";
    EXPECT_EQ(SameForm(::GetWindow(modal, GW_OWNER)), SameForm(owner));
    if (owner) {
      EXPECT_FALSE(::IsWindowEnabled(owner));
      EXPECT_FALSE(::IsWindowEnabled(launcher));
    }
  }

  DWORD exitCode = 0;
  std::string snapshot = dir_ + "\\snapshot";
  std::string answer =
      RunTool(Remote() + " logoff \"" + ini_ + "\" \"" + snapshot + "\"", &exitCode);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(answer.substr(0, 1), "1") << answer;
  // Start-up had read nothing yet when the question came: the file is the user's, untouched.
  std::string expected = SettingsText(posX, posY);
  bool starting = state == State::kStartupMissingEntry;
  EXPECT_EQ(FileText(snapshot), starting ? SettingsText(5000, 200) : expected);

  if (starting) {
    // Its remaining boxes still wait (the system would end the process here
    // instead); answered, start-up finishes and the close it held back runs.
    // Under Wine each box takes about two seconds to go, so they get time.
    WaitFor(
        [&] {
          for (HWND w : Windows()) {
            if (ClassOf(w) == "#32770" && ::IsWindowVisible(w))
              ::PostMessageA(w, WM_COMMAND, IDOK, 0);
          }
          return ::WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0;
        },
        60000);
  }
  // The posted close ends the launcher cleanly, and nothing more is written.
  ASSERT_EQ(::WaitForSingleObject(pi_.hProcess, 60000), WAIT_OBJECT_0) << "still running";
  DWORD launcherExit = 1;
  ::GetExitCodeProcess(pi_.hProcess, &launcherExit);
  EXPECT_EQ(launcherExit, 0u);
  EXPECT_EQ(FileText(ini_), expected);
  EXPECT_EQ(::GetFileAttributesA((dir_ + "\\dida.new").c_str()), INVALID_FILE_ATTRIBUTES);
}

INSTANTIATE_TEST_SUITE_P(
    States, LogoffTest,
    ::testing::Values(
        LogoffCase{"idle", State::kIdle}, LogoffCase{"afterDrag", State::kAfterDrag},
        LogoffCase{"settings", State::kSettings}, LogoffCase{"comment", State::kComment},
        LogoffCase{"fileDialog", State::kFileDialog}, LogoffCase{"about", State::kAbout},
        LogoffCase{"deleteBox", State::kDeleteBox}, LogoffCase{"launchError", State::kLaunchError},
        LogoffCase{"resetBox", State::kResetBox},
        LogoffCase{"startupMissingEntry", State::kStartupMissingEntry}),
    [](const ::testing::TestParamInfo<LogoffCase>& info) { return info.param.name; });

// Another program (a virus scanner, an indexer, a backup) holds the settings
// file open, sharing reading and writing but not deletion, so the save's copy
// cannot take its place: the launcher writes the same keys into the file itself.
class HeldSettingsFile : public LogoffTest {};

TEST_P(HeldSettingsFile, StillGetsTheNewPosition) {
  const bool logoff = std::string(GetParam().name) == "heldLogoff";
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND launcher = Launcher();
  ASSERT_TRUE(launcher) << "no launcher window";
  RECT after;
  ASSERT_TRUE(DragBy(launcher, -200, 100, &after));

  HANDLE held = ::CreateFileA(ini_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  DWORD exitCode = 999;
  if (logoff) {
    std::string answer =
        RunTool(Remote() + " logoff \"" + ini_ + "\" \"" + dir_ + "\\snapshot\"", &exitCode);
    EXPECT_EQ(answer.substr(0, 1), "1") << answer;
  } else {
    RunTool(Remote() + " command " + std::to_string(ID_APP_EXIT), &exitCode);
  }
  EXPECT_EQ(exitCode, 0u);
  const bool ended = ::WaitForSingleObject(pi_.hProcess, 60000) == WAIT_OBJECT_0;
  ::CloseHandle(held);
  ASSERT_TRUE(ended) << "still running";
  const std::string expected = SettingsText(after.left, after.top);
  if (logoff) {
    EXPECT_EQ(FileText(dir_ + "\\snapshot"), expected);
  }
  EXPECT_EQ(FileText(ini_), expected);
  EXPECT_EQ(::GetFileAttributesA((dir_ + "\\dida.new").c_str()), INVALID_FILE_ATTRIBUTES);
}

INSTANTIATE_TEST_SUITE_P(Exits, HeldSettingsFile,
                         ::testing::Values(LogoffCase{"heldExit", State::kIdle},
                                           LogoffCase{"heldLogoff", State::kIdle}),
                         [](const ::testing::TestParamInfo<LogoffCase>& info) {
                           return info.param.name;
                         });

// Another program vetoes the logoff after the launcher agreed to it: the
// launcher saved before its answer, and it stays; what the user does next
// reaches the file at the next Exit.
class VetoedLogoff : public LogoffTest {};

TEST_P(VetoedLogoff, LeavesTheLauncherRunningAndSavingAgain) {
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND launcher = Launcher();
  ASSERT_TRUE(launcher) << "no launcher window";
  DWORD_PTR answer = 0;
  ASSERT_TRUE(
      ::SendMessageTimeoutA(launcher, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 60000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  EXPECT_EQ(FileText(ini_), SettingsText(922, 200));
  ASSERT_TRUE(
      ::SendMessageTimeoutA(launcher, WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, 60000, &answer));

  // The drag's input comes after anything the launcher posted itself.
  RECT after;
  ASSERT_TRUE(DragBy(launcher, -200, 100, &after));
  ::PostMessageA(launcher, WM_COMMAND, ID_APP_EXIT, 0);
  ASSERT_EQ(::WaitForSingleObject(pi_.hProcess, 60000), WAIT_OBJECT_0) << "still running";
  EXPECT_EQ(FileText(ini_), SettingsText(after.left, after.top));
}

INSTANTIATE_TEST_SUITE_P(Once, VetoedLogoff, ::testing::Values(LogoffCase{"vetoed", State::kIdle}),
                         [](const ::testing::TestParamInfo<LogoffCase>& info) {
                           return info.param.name;
                         });

struct Saves {
  CLauncherApp* app;
  std::string ready;  // made by the watcher once it has read the file
  std::string stop;
  int failed;
};

DWORD WINAPI SaveTwoHundredTimes(LPVOID param) {
  auto* s = static_cast<Saves*>(param);
  WaitFor([&] { return ::GetFileAttributesA(s->ready.c_str()) != INVALID_FILE_ATTRIBUTES; });
  for (int i = 0; i < 200; ++i) {
    s->app->m_nChar = i % 2;
    if (!s->app->WriteSettings()) ++s->failed;
  }
  WriteText(s->stop, "");
  return 0;
}

// 200 saves alternating between two texts while dida-remote reads the file
// in a tight loop: every read must be one of the two whole texts.
TEST(AtomicSave, AWatcherSeesOnlyTheWholeOldOrNewText) {
  std::string dir = FreshFolder("watch");
  std::string ini = dir + "\\dida.ini";
  WriteText(ini, "[other]\r\nkeep=1\r\n");
  ASSERT_TRUE(g_settings.BindTo(ini.c_str(), "param"));
  CLauncherApp app;
  app.m_pPages = new LaunchPage[kPageCount];
  for (int p = 0; p < kPageCount; ++p) app.m_pPages[p].SetName(DefaultPageName(p));
  std::string texts[2];
  for (int k = 0; k < 2; ++k) {
    app.m_nChar = k;
    ASSERT_TRUE(app.WriteSettings());
    texts[k] = FileText(ini);
  }
  ASSERT_NE(texts[0], texts[1]);
  ASSERT_NE(texts[1].find("[other]\r\nkeep=1\r\n"), std::string::npos);

  // The watcher runs beside the saves; it stops when the stop file appears.
  std::string stop = dir + "\\stop";
  std::string out = dir + "\\out";
  std::string line = Remote() + " watch \"" + ini + "\" \"" + stop + "\" \"" + out + "\"";
  DWORD watcherExit = 999;
  std::string report;
  Saves saves = {&app, out + "ready", stop, 0};
  HANDLE saver = ::CreateThread(nullptr, 0, &SaveTwoHundredTimes, &saves, 0, nullptr);
  report = RunTool(line, &watcherExit);
  ::WaitForSingleObject(saver, 60000);
  ::CloseHandle(saver);
  EXPECT_EQ(saves.failed, 0);
  ASSERT_EQ(watcherExit, 0u) << report;

  long reads = 0, missing = 0;
  unsigned seen = 0;
  ASSERT_EQ(std::sscanf(report.c_str(), "reads %ld missing %ld texts %u", &reads, &missing, &seen),
            3)
      << report;
  std::printf("watcher: %s", report.c_str());
  EXPECT_GT(reads, 200);
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(seen, 2u);  // both texts, and nothing else
  for (unsigned i = 0; i < seen; ++i) {
    std::string text = FileText(out + std::to_string(i));
    EXPECT_TRUE(text == texts[0] || text == texts[1]) << "read " << text.size() << " bytes:\n"
                                                      << text;
  }
}

}  // namespace
