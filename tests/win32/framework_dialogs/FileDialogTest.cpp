// CFileDialog: the filter in the system's zero-separated form, the default
// extension, the parameters the system dialog receives, and the chosen path,
// through the hook and once through the real dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "framework/FileDialog.h"
#include "tests/win32/framework_dialogs/DialogTestSupport.h"

namespace {

// The bytes the system reads from lpstrFilter: up to and including the two zeros.
std::string FilterAsRead(const char* filter) {
  if (!filter) return "(null)";
  std::size_t n = 0;
  while (filter[n] || filter[n + 1]) ++n;
  return std::string(filter, n + 2);
}

struct FilterCase {
  const char* name;
  const char* filter;
  std::string expected;
};

class FilterConversion : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterConversion, BarsBecomeZerosEndingInTwo) {
  CFileDialog dialog(TRUE, "*.exe", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     GetParam().filter);
  EXPECT_EQ(FilterAsRead(dialog.m_ofn.lpstrFilter), GetParam().expected);
  EXPECT_EQ(dialog.m_ofn.nFilterIndex, 1u);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Filters, FilterConversion,
    ::testing::Values(
        // Shift-JIS labels, kept byte for byte. The second ends in 0xD9, a
        // lead byte in code page 936: the '|' after it must still separate.
        FilterCase{"shiftJis",
                   "\x83\x76\x83\x8D\x83\x4F\x83\x89\x83\x80|*.exe|"
                   "\x91\x53\x82\xC4\x82\xCC\xCC\xA7\xB2\xD9|*.*||",
                   "\x83\x76\x83\x8D\x83\x4F\x83\x89\x83\x80\0*.exe\0"
                   "\x91\x53\x82\xC4\x82\xCC\xCC\xA7\xB2\xD9\0*.*\0\0"s},
        FilterCase{"gbk", "程序|*.exe|所有文件|*.*||",
                   "\xB3\xCC\xD0\xF2\0*.exe\0\xCB\xF9\xD3\xD0\xCE\xC4\xBC\xFE\0*.*\0\0"s},
        FilterCase{"noClosingBars", "Text|*.txt", "Text\0*.txt\0\0"s},
        FilterCase{"none", nullptr, "(null)"}),
    [](const ::testing::TestParamInfo<FilterCase>& info) { return info.param.name; });

struct ExtensionCase {
  const char* given;
  const char* expected;
};

class DefaultExtension : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(DefaultExtension, IsHandedOverWithoutPatternOrDot) {
  CFileDialog dialog(TRUE, GetParam().given);
  if (!GetParam().expected) {
    EXPECT_EQ(dialog.m_ofn.lpstrDefExt, nullptr);
  } else {
    ASSERT_NE(dialog.m_ofn.lpstrDefExt, nullptr);
    EXPECT_STREQ(dialog.m_ofn.lpstrDefExt, GetParam().expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Extensions, DefaultExtension,
                         ::testing::Values(ExtensionCase{"*.exe", "exe"},
                                           ExtensionCase{".exe", "exe"},
                                           ExtensionCase{"exe", "exe"},
                                           ExtensionCase{nullptr, nullptr}));

std::function<BOOL(OPENFILENAMEA*)> g_answer;
BOOL AnswerFileDialog(OPENFILENAMEA* ofn) { return g_answer(ofn); }

class FileDialogHookTest : public ::testing::Test {
 protected:
  void SetUp() override { SetFileDialogHook(&AnswerFileDialog); }
  void TearDown() override {
    SetFileDialogHook(nullptr);
    g_answer = nullptr;
  }
};

TEST_F(FileDialogHookTest, TheDialogGetsTitleFlagsAndAnEmptyNameAndReturnsTheChoice) {
  CFileDialog dialog(TRUE, "*.exe", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     "程序|*.exe|所有文件|*.*||");
  dialog.m_ofn.lpstrTitle = "添加";
  OPENFILENAMEA seen = {};
  std::string initialName = "(unset)";
  g_answer = [&](OPENFILENAMEA* ofn) {
    seen = *ofn;
    initialName = ofn->lpstrFile;
    lstrcpynA(ofn->lpstrFile, "C:\\Games\\象棋.exe", static_cast<int>(ofn->nMaxFile));
    return TRUE;
  };
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_STREQ(seen.lpstrTitle, "\xCC\xED\xBC\xD3");
  EXPECT_EQ(seen.Flags & 0x1004u, 0x1004u);
  EXPECT_EQ(seen.hwndOwner, nullptr);
  EXPECT_EQ(seen.nMaxFile, static_cast<DWORD>(MAX_PATH));
  EXPECT_EQ(initialName, "");
  EXPECT_EQ(std::string(dialog.GetPathName()), "C:\\Games\\\xCF\xF3\xC6\xE5.exe");
}

TEST_F(FileDialogHookTest, CancelGivesIdCancel) {
  CFileDialog dialog(TRUE, "*.exe", "start.exe");
  std::string initialName;
  g_answer = [&](OPENFILENAMEA* ofn) {
    initialName = ofn->lpstrFile;
    return FALSE;
  };
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(initialName, "start.exe");
}

TEST_F(FileDialogHookTest, AnInitialNameTooLongForTheBufferIsDropped) {
  std::string longName(MAX_PATH, 'x');
  CFileDialog dialog(TRUE, nullptr, longName.c_str());
  EXPECT_STREQ(dialog.m_ofn.lpstrFile, "");
  std::string fits(MAX_PATH - 1, 'y');
  CFileDialog fitting(TRUE, nullptr, fits.c_str());
  EXPECT_EQ(std::string(fitting.m_ofn.lpstrFile), fits);
}

TEST_F(FileDialogHookTest, AnUnterminatedAnswerIsCutAtTheBufferEnd) {
  CFileDialog dialog(TRUE);
  g_answer = [&](OPENFILENAMEA* ofn) {
    std::fill(ofn->lpstrFile, ofn->lpstrFile + ofn->nMaxFile, 'z');
    return TRUE;
  };
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetPathName().GetLength(), MAX_PATH - 1);
}

TEST(RealFileDialog, ChoosingAnExistingFileReturnsItsFullPath) {
  // No hook: the system's own dialog, answered by typing a name into it
  // from a timer in its own loop.
  char self[MAX_PATH];
  ASSERT_GT(::GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
  CFileDialog dialog(TRUE, "*.exe", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     "程序|*.exe|所有文件|*.*||");
  dialog.m_ofn.lpstrTitle = "添加";
  bool found = false;
  WhenShownNamed("添加", [&](HWND dlg) {
    found = true;
    // The file name box of the system's dialog (cmb13, or edt1 in older ones).
    if (!::SetDlgItemTextA(dlg, 0x47C, self)) ::SetDlgItemTextA(dlg, 0x480, self);
    ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  INT_PTR result = dialog.DoModal();
  CancelLater();
  EXPECT_TRUE(found);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(lstrcmpiA(dialog.GetPathName(), self), 0) << dialog.GetPathName();
}

}  // namespace
