#include "app/PageStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/SettingsFile.h"
#include "framework/LateShell.h"
#include "framework/ModuleState.h"
#include "tests/win32/app/ModelTestSupport.h"

namespace {

class PageStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    g_hInstance = GetModuleHandleA(nullptr);
    path_ = FreshTempPath(
        std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".ini");
    ASSERT_TRUE(g_settings.BindTo(path_.c_str(), "param"));
  }
  std::string path_;
};

std::string Key(const char* kind, int page, int slot) {
  return kind + std::to_string(page + 1) + "-" + std::to_string(slot + 1);
}

TEST_F(PageStoreTest, EmptyFileGivesDefaultPagesWrittenBackAsNamesAndEmptyTargets) {
  LaunchPage pages[kPageCount];
  LoadPages(pages);
  std::string expected = "[param]\r\n";
  for (int p = 0; p < kPageCount; ++p) {
    EXPECT_STREQ(DefaultPageName(p), pages[p].GetName());
    expected += "Page" + std::to_string(p + 1) + "=" + DefaultPageName(p) + "\r\n";
    for (int s = 0; s < kSlotCount; ++s) {
      EXPECT_EQ(0, pages[p].IsUsed(s));
      EXPECT_EQ(nullptr, pages[p].GetIcon(s));
      expected += Key("Exec", p, s) + "=\r\n";
    }
  }
  EXPECT_FALSE(FileExists(path_));  // loading writes nothing
  SavePages(pages);
  std::string text = ReadFileBytes(path_);
  EXPECT_EQ(expected, text);
  EXPECT_EQ(48, CountLinesStartingWith(text, "Exec"));
  EXPECT_EQ(0, CountLinesStartingWith(text, "Comment"));
  EXPECT_EQ(0, CountLinesStartingWith(text, "Icon"));
  // Names reach the file as GBK: "常用" is B3 A3 D3 C3.
  EXPECT_EQ(0u, text.find("[param]\r\nPage1=\xB3\xA3\xD3\xC3\r\n"));
}

TEST_F(PageStoreTest, AnEmptyTargetKeyLeavesTheSlotEmpty) {
  WriteFileBytes(path_,
                 "[param]\r\nPage2=\xB9\xA4\xD7\xF7\r\n"
                 "Exec2-3=\r\nComment2-3=stale\r\nIcon2-3=C:\\stale.exe\r\n"
                 "Exec2-4=C:\\tools\\run.exe\r\n");
  LaunchPage pages[kPageCount];
  LoadPages(pages);
  EXPECT_EQ(0, pages[1].IsUsed(2));
  EXPECT_EQ(nullptr, pages[1].GetComment(2));
  EXPECT_EQ(nullptr, pages[1].GetIconSource(2));
  EXPECT_EQ(nullptr, pages[1].GetIcon(2));
  // Without comment and icon keys a used slot gets empty strings, not null,
  // and the stock icon.
  EXPECT_STREQ("C:\\tools\\run.exe", pages[1].GetExec(3));
  EXPECT_STREQ("", pages[1].GetComment(3));
  EXPECT_STREQ("", pages[1].GetIconSource(3));
  EXPECT_EQ(StockSlotIcon(), pages[1].GetIcon(3));
  EXPECT_STREQ("\xB9\xA4\xD7\xF7", pages[1].GetName());

  // Saving leaves the empty slot's old comment and icon keys as they were.
  SavePages(pages);
  std::string text = ReadFileBytes(path_);
  EXPECT_NE(std::string::npos,
            text.find("Exec2-3=\r\nComment2-3=stale\r\nIcon2-3=C:\\stale.exe\r\n"));
}

TEST_F(PageStoreTest, SlotWithoutIconIsSavedWithoutIconKeyAndReturnsWithStockIcon) {
  {
    LaunchPage pages[kPageCount];
    LoadPages(pages);
    pages[0].SetFromFile(0, "C:\\nowhere\\missing.exe");
    SavePages(pages);
  }
  std::string text = ReadFileBytes(path_);
  EXPECT_EQ(0u,
            text.find("[param]\r\nPage1=\xB3\xA3\xD3\xC3\r\n"
                      "Comment1-1=missing\r\nExec1-1=C:\\nowhere\\missing.exe\r\nExec1-2=\r\n"));
  EXPECT_EQ(0, CountLinesStartingWith(text, "Icon"));

  LaunchPage pages[kPageCount];
  LoadPages(pages);
  EXPECT_STREQ("C:\\nowhere\\missing.exe", pages[0].GetExec(0));
  EXPECT_STREQ("missing", pages[0].GetComment(0));
  EXPECT_STREQ("", pages[0].GetIconSource(0));
  EXPECT_EQ(StockSlotIcon(), pages[0].GetIcon(0));
}

TEST_F(PageStoreTest, PagesRoundTripThroughTheFile) {
  std::string module = ModulePath();
  LaunchPage saved[kPageCount];
  LoadPages(saved);
  saved[0].SetName("\xD3\xCE\xCF\xB7 & more");  // GBK text
  saved[0].SetFromFile(0, module.c_str());
  saved[0].SetComment(0, "\xC6\xE5 chess");
  saved[0].SetFromFile(7, "C:\\nowhere\\gone.exe");
  saved[3].SetName("");
  saved[3].SetExec(4, "C:\\Program Files\\app.exe");
  saved[3].SetComment(4, "spaces = and ; signs");
  saved[3].SetIconSource(4, module.c_str());
  saved[5].SetFromFile(2, module.c_str());
  saved[5].SetName(nullptr);  // removes the key: the default comes back
  SavePages(saved);

  std::string text = ReadFileBytes(path_);
  EXPECT_EQ(0u,
            text.find("[param]\r\nPage1=\xD3\xCE\xCF\xB7 & more\r\nComment1-1=\xC6\xE5 chess\r\n"
                      "Icon1-1=" +
                      module + "\r\nExec1-1=" + module + "\r\nExec1-2=\r\n"));
  EXPECT_EQ(std::string::npos, text.find("Page6="));

  LaunchPage loaded[kPageCount];
  LoadPages(loaded);
  for (int p = 0; p < kPageCount; ++p) {
    const char* name = saved[p].GetName() ? saved[p].GetName() : DefaultPageName(p);
    EXPECT_STREQ(name, loaded[p].GetName()) << p;
    for (int s = 0; s < kSlotCount; ++s) {
      SCOPED_TRACE(Key("slot ", p, s));
      ASSERT_EQ(saved[p].IsUsed(s), loaded[p].IsUsed(s));
      if (!saved[p].IsUsed(s)) {
        EXPECT_EQ(nullptr, loaded[p].GetIcon(s));
        continue;
      }
      EXPECT_STREQ(saved[p].GetExec(s), loaded[p].GetExec(s));
      EXPECT_STREQ(saved[p].GetComment(s), loaded[p].GetComment(s));
      const char* source = saved[p].GetIconSource(s) ? saved[p].GetIconSource(s) : "";
      EXPECT_STREQ(source, loaded[p].GetIconSource(s));
      bool stock = source[0] == '\0';
      EXPECT_EQ(stock, loaded[p].GetIcon(s) == StockSlotIcon());
      EXPECT_NE(nullptr, loaded[p].GetIcon(s));
    }
  }
}

TEST_F(PageStoreTest, OverlongValuesAreCutAndGetTheStockIcon) {
  std::string target(2000, 't');
  WriteFileBytes(path_, "[param]\r\nExec1-1=" + target + "\r\nIcon1-1=" + ModulePath() +
                            std::string(400, ' ') + "x\r\n");
  LaunchPage pages[kPageCount];
  LoadPages(pages);
  EXPECT_EQ(std::string(1023, 't'), pages[0].GetExec(0));
  EXPECT_EQ(StockSlotIcon(), pages[0].GetIcon(0));
}

std::vector<HICON> g_released;
BOOL RecordAndDestroy(HICON icon) {
  g_released.push_back(icon);
  return DestroyIcon(icon);
}

// Slots read from the file take their icons only when first wanted; a slot
// emptied or refilled before that has nothing to release, and the pages
// release exactly the icons they took, each once.
TEST_F(PageStoreTest, IconsAreTakenWhenFirstWantedAndReleasedOnlyIfTaken) {
  const std::string module = ModulePath();
  std::string text = "[param]\r\n";
  for (int s = 1; s <= 5; ++s) {
    text += "Exec1-" + std::to_string(s) + "=C:\\t.exe\r\nIcon1-" + std::to_string(s) + "=" +
            (s < 5 ? module : "C:\\nowhere\\gone.exe") + "\r\n";
  }
  WriteFileBytes(path_, text);
  g_released.clear();
  SetIconReleaseHook(RecordAndDestroy);
  std::vector<HICON> taken;
  {
    LaunchPage pages[kPageCount];
    const long start = late::IconExtractions();
    LoadPages(pages);
    EXPECT_EQ(late::IconExtractions() - start, 0);

    pages[0].ClearSlot(0);                    // deleted before it was drawn
    pages[0].SetFromFile(2, module.c_str());  // a drop over a slot not drawn yet
    EXPECT_TRUE(g_released.empty());
    EXPECT_EQ(late::IconExtractions() - start, 1);
    taken.push_back(pages[0].GetIcon(2));

    taken.push_back(pages[0].GetIcon(1));
    EXPECT_EQ(pages[0].GetIcon(1), taken.back());  // taken once
    EXPECT_EQ(late::IconExtractions() - start, 2);
    EXPECT_TRUE(pages[0].TakeNextIcon());  // slot 3
    taken.push_back(pages[0].GetIcon(3));
    EXPECT_TRUE(pages[0].TakeNextIcon());  // slot 4: the stock icon
    EXPECT_EQ(pages[0].GetIcon(4), StockSlotIcon());
    EXPECT_FALSE(pages[0].TakeNextIcon());
    EXPECT_EQ(late::IconExtractions() - start, 4);
    for (HICON icon : taken) EXPECT_NE(icon, StockSlotIcon());
  }
  SetIconReleaseHook(nullptr);
  std::sort(taken.begin(), taken.end());
  std::sort(g_released.begin(), g_released.end());
  EXPECT_EQ(g_released, taken);
}

}  // namespace
