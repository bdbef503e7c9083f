// Starting a slot's target with a press on the slot: the target runs in its
// own folder; targets that cannot be started are reported and stay in place.
#include <cstdio>
#include <string>

#include "tests/win32/launcher/LauncherTestSupport.h"

namespace {

const char kDeleted[] =
    "\xD5\xE2\xB8\xF6\xC2\xB7\xBE\xB6\xCE\xDE\xD0\xA7\xA3\xAC\xCE\xC4\xBC\xFE"
    "\xBB\xF2\xCE\xC4\xBC\xFE\xBC\xD0\xBF\xC9\xC4\xDC\xD2\xD1\xB1\xBB\xC9\xBE"
    "\xB3\xFD\xA1\xA3";  // "这个路径无效，文件或文件夹可能已被删除。" in GBK
const char kUnavailable[] = "\xB5\xB1\xC7\xB0\xB2\xBB\xBF\xC9\xD3\xC3\xA1\xA3";  // "当前不可用。"

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

// A fresh folder under the temporary folder, named after the test.
std::string MakeFolder(const char* name) {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  std::string folder =
      std::string(temp) + "dida-launch-" + std::to_string(::GetCurrentProcessId()) + "-" + name;
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::string ReadFile(const std::string& path) {
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[512];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
  }
  return text;
}

class LaunchTest : public LauncherWindowTest {
 protected:
  void SetUp() override {
    LauncherWindowTest::SetUp();
    app_->m_nChar = 3;
    PlaceCompact(100, 20);
    ClickCharacter();  // the panel opens to the right, at client x 102
    ASSERT_EQ(LauncherWindowProbe::Layout(*frame_), 2);
  }
  void PressSlot(int slot) {
    int x = 102 + 13 + 37 * (slot % 4) + 17;
    int y = 50 + 37 * (slot / 4) + 17;
    Press(x, y);
    Release(x, y);
  }
};

TEST_F(LaunchTest, AProgramStartsWithItsOwnFolderAsWorkingDirectory) {
  std::string folder = MakeFolder("program");
  std::string target = folder + "\\launch_probe.exe";
  ASSERT_TRUE(::CopyFileA((ProgramFolder() + "launch_probe.exe").c_str(), target.c_str(), FALSE));
  std::string marker = MakeFolder("marker") + "\\cwd.txt";
  ::DeleteFileA(marker.c_str());
  ::SetEnvironmentVariableA("DIDA_LAUNCH_MARKER", marker.c_str());
  ::SetCurrentDirectoryA("C:\\");  // somewhere else than the target's folder

  FillSlot(3, 6, target.c_str(), "probe");
  PressSlot(6);
  EXPECT_TRUE(g_shownBoxes.empty());

  std::string written;
  for (int i = 0; i < 1200 && written.empty(); ++i) {  // a minute: a new process is slow under load
    ::Sleep(50);
    written = ReadFile(marker);
  }
  ASSERT_FALSE(written.empty()) << "the target did not run";
  // The probe writes its working directory; the folder is given with its trailing separator.
  EXPECT_EQ(::lstrcmpiA(written.c_str(), folder.c_str()), 0) << written << " vs " << folder;
  EXPECT_STREQ(Page(3).GetExec(6), target.c_str());
}

TEST_F(LaunchTest, MissingTargetsAndDocumentsWithoutProgramAreReportedAndKept) {
  std::string folder = MakeFolder("missing");
  std::string gone = folder + "\\gone.exe";  // the folder exists, the file does not
  std::string noFolder = folder + "\\no such folder\\x.exe";
  std::string document = folder + "\\notes.zzqx";  // a type nothing opens
  if (FILE* f = std::fopen(document.c_str(), "wb")) {
    std::fputs("text", f);
    std::fclose(f);
  }
  FillSlot(3, 0, gone.c_str(), "gone");
  FillSlot(3, 1, noFolder.c_str(), "no folder");
  FillSlot(3, 2, document.c_str(), "document");

  const struct {
    int slot;
    const char* message;
    const std::string* target;
  } cases[] = {{0, kDeleted, &gone}, {1, kDeleted, &noFolder}, {2, kUnavailable, &document}};
  for (const auto& c : cases) {
    g_shownBoxes.clear();
    PressSlot(c.slot);
    ASSERT_EQ(g_shownBoxes.size(), 1u) << "slot " << c.slot;
    EXPECT_EQ(g_shownBoxes[0].text, c.message) << "slot " << c.slot;
    EXPECT_EQ(g_shownBoxes[0].caption, "dida");
    EXPECT_EQ(g_shownBoxes[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_TRUE(Page(3).IsUsed(c.slot));
    EXPECT_STREQ(Page(3).GetExec(c.slot), c.target->c_str());
  }
  // The same press again reports again.
  g_shownBoxes.clear();
  PressSlot(0);
  EXPECT_EQ(g_shownBoxes.size(), 1u);
}

TEST_F(LaunchTest, AnEmptySlotStartsNothingButCountsAsPressed) {
  int x = 102 + 13 + 37 * 3 + 17, y = 50 + 37 + 17;  // slot 7
  Press(x, y);
  EXPECT_EQ(LauncherWindowProbe::HotItem(*frame_), 10);
  EXPECT_EQ(LauncherWindowProbe::HotState(*frame_), 2);
  EXPECT_TRUE(g_shownBoxes.empty());
  Release(x, y);
  EXPECT_EQ(LauncherWindowProbe::HotState(*frame_), 1);
}

}  // namespace
