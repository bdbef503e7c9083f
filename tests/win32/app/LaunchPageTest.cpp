#include "app/LaunchPage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "framework/ModuleState.h"
#include "tests/win32/app/ModelTestSupport.h"

namespace {

class LaunchPageTest : public testing::Test {
 protected:
  void SetUp() override { g_hInstance = GetModuleHandleA(nullptr); }
  void TearDown() override { SetIconReleaseHook(nullptr); }
};

// Records every icon a slot releases and then really destroys it.
std::vector<HICON> g_released;
BOOL RecordAndDestroy(HICON icon) {
  g_released.push_back(icon);
  return DestroyIcon(icon);
}
BOOL RecordOnly(HICON icon) {
  g_released.push_back(icon);
  return TRUE;
}

// A 32-bit top-down surface of w x h pixels filled with one colour.
class Canvas {
 public:
  Canvas(int w, int h, DWORD fill) : w_(w) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ =
        CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    for (int i = 0; i < w * h; ++i) bits_[i] = fill;
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  DWORD At(int x, int y) const {
    GdiFlush();
    return bits_[y * w_ + x] & 0xFFFFFF;
  }

 private:
  int w_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  DWORD* bits_ = nullptr;
};

const DWORD kGreen = 0x00FF00, kRed = 0xFF0000, kBlue = 0x0000FF;

struct FillCase {
  const char* path;
  const char* comment;
};

std::ostream& operator<<(std::ostream& os, const FillCase& c) { return os << c.path; }

class FillFromMissingFileTest : public LaunchPageTest,
                                public testing::WithParamInterface<FillCase> {};

// None of these files exists, so the shell finds no icon: the slot is used
// all the same, with the stock icon and no icon source.
TEST_P(FillFromMissingFileTest, TakesCommentFromTheNameAndTheStockIcon) {
  LaunchPage page;
  EXPECT_EQ(1, page.SetFromFile(2, GetParam().path));
  EXPECT_EQ(1, page.IsUsed(2));
  EXPECT_STREQ(GetParam().comment, page.GetComment(2));
  EXPECT_STREQ(GetParam().path, page.GetExec(2));
  EXPECT_NE(GetParam().path, page.GetExec(2));  // a copy of its own
  EXPECT_EQ(nullptr, page.GetIconSource(2));
  EXPECT_EQ(StockSlotIcon(), page.GetIcon(2));
  EXPECT_EQ(0, page.IsUsed(1));
}

INSTANTIATE_TEST_SUITE_P(Paths, FillFromMissingFileTest,
                         testing::Values(FillCase{"C:\\Games\\Chess.exe", "Chess"},
                                         FillCase{"C:\\Games\\", ""},
                                         FillCase{"C:\\docs\\report.txt", "report"},
                                         FillCase{"C:\\docs\\archive.tar.gz", "archive.tar"},
                                         // GBK: the second byte of 0x81 0x5C is not a separator.
                                         FillCase{"C:\\docs\\\x81\x5C.exe", "\x81\x5C"}));

TEST_F(LaunchPageTest, FillFromAProgramTakesItsIconAndDrawsIt) {
  std::string module = ModulePath();
  LaunchPage page;
  page.SetFromFile(5, module.c_str());
  EXPECT_STREQ("app_model_test", page.GetComment(5));
  EXPECT_STREQ(module.c_str(), page.GetIconSource(5));
  ASSERT_NE(nullptr, page.GetIcon(5));
  EXPECT_NE(StockSlotIcon(), page.GetIcon(5));

  Canvas canvas(40, 40, kGreen);
  page.DrawSlotIcon(canvas.dc(), 4, 4, 5);
  EXPECT_EQ(kGreen, canvas.At(4 + 2, 4 + 2));  // the transparent corner
  EXPECT_EQ(kRed, canvas.At(4 + 12, 4 + 2));
  EXPECT_EQ(kRed, canvas.At(4 + 2, 4 + 12));
  EXPECT_EQ(kRed, canvas.At(4 + 15, 4 + 31));
  EXPECT_EQ(kBlue, canvas.At(4 + 16, 4 + 0));
  EXPECT_EQ(kBlue, canvas.At(4 + 31, 4 + 31));
  EXPECT_EQ(kGreen, canvas.At(3, 3));
  EXPECT_EQ(kGreen, canvas.At(36, 36));

  Canvas blank(40, 40, kGreen);
  page.DrawSlotIcon(blank.dc(), 4, 4, 4);  // an empty slot
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(kGreen, blank.At(x, y)) << x << "," << y;
}

TEST_F(LaunchPageTest, AtAnotherSizeIconsAreTakenAgainFromTheImageMadeForIt) {
  std::string module = ModulePath();
  LaunchPage page;
  page.SetIconSize(64);
  page.SetFromFile(5, module.c_str());
  Canvas large(72, 72, kGreen);
  page.DrawSlotIcon(large.dc(), 4, 4, 5);
  EXPECT_EQ(kBlue, large.At(4 + 10, 4 + 40));  // not the 32-pixel image blown up
  EXPECT_EQ(kRed, large.At(4 + 50, 4 + 40));
  EXPECT_EQ(kGreen, large.At(4 + 64, 4 + 64));

  page.SetIconSize(32);
  Canvas small(40, 40, kGreen);
  page.DrawSlotIcon(small.dc(), 4, 4, 5);
  EXPECT_EQ(kRed, small.At(4 + 12, 4 + 20));
  EXPECT_EQ(kBlue, small.At(4 + 31, 4 + 31));
  EXPECT_STREQ(module.c_str(), page.GetIconSource(5));
}

TEST_F(LaunchPageTest, ReleasesOwnIconsOnlyAndNeverTheStockOne) {
  SetIconReleaseHook(RecordAndDestroy);
  g_released.clear();
  std::string module = ModulePath();
  HICON stock = StockSlotIcon();
  HICON last = nullptr;
  {
    LaunchPage page;
    page.SetFromFile(0, "C:\\nowhere\\missing.exe");
    ASSERT_EQ(stock, page.GetIcon(0));
    page.ClearSlot(0);
    EXPECT_TRUE(g_released.empty());
    EXPECT_EQ(0, page.IsUsed(0));
    EXPECT_EQ(nullptr, page.GetIcon(0));
    EXPECT_EQ(nullptr, page.GetComment(0));

    page.SetFromFile(1, module.c_str());
    HICON own = page.GetIcon(1);
    page.SetFromFile(1, "C:\\nowhere\\missing.exe");  // refilling releases the old icon
    ASSERT_EQ(1u, g_released.size());
    EXPECT_EQ(own, g_released[0]);

    page.SetFromFile(2, module.c_str());
    page.SetFromFile(3, "C:\\nowhere\\other.exe");
    own = page.GetIcon(2);
    page.ClearAll();
    ASSERT_EQ(2u, g_released.size());
    EXPECT_EQ(own, g_released[1]);

    page.SetName("kept");
    page.SetFromFile(7, module.c_str());
    last = page.GetIcon(7);
    EXPECT_STREQ("kept", page.GetName());
    g_released.clear();
    // The destructor empties the slots as well.
  }
  ASSERT_EQ(1u, g_released.size());
  EXPECT_EQ(last, g_released[0]);

  // The stock icon is still whole and drawable.
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(stock, &info));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  Canvas canvas(32, 32, kGreen);
  EXPECT_TRUE(DrawIconEx(canvas.dc(), 0, 0, stock, 32, 32, 0, nullptr, DI_NORMAL));
}

// Handles held on over fill/clear cycles of a real program file.
int OwnGdiObjects() { return -GdiHeadroom(); }  // up to a constant
int HeldOverCycles(int cycles, int (*held)()) {
  std::string module = ModulePath();
  LaunchPage page;
  // The first lookup sets up the shell's own state, which stays for the run.
  page.SetFromFile(0, module.c_str());
  page.ClearSlot(0);
  int before = held();
  for (int i = 0; i < cycles; ++i) {
    page.SetFromFile(i % 8, module.c_str());
    page.ClearSlot(i % 8);
  }
  return held() - before;
}

// The measure itself: icons that are never destroyed must show as
// handles held, or the leak checks below could not fail.
TEST_F(LaunchPageTest, HandleCountsSeeLeakedIcons) {
  SetIconReleaseHook(RecordOnly);
  int user = HeldOverCycles(200, OwnUserObjects);
  int gdi = HeldOverCycles(200, OwnGdiObjects);
  EXPECT_GE(user, 200);
  EXPECT_GE(gdi, 200);
  std::printf("handles held on after 200 leaking cycles: USER %d, GDI %d\n", user, gdi);
}

TEST_F(LaunchPageTest, FillAndClearCyclesLeakNoHandles) {
  int user = HeldOverCycles(500, OwnUserObjects);
  int gdi = HeldOverCycles(500, OwnGdiObjects);
  EXPECT_EQ(0, user);
  EXPECT_EQ(0, gdi);
  std::printf("handles held on after 500 cycles: USER %d, GDI %d\n", user, gdi);
}

// A target too long for the icon buffer keeps its full text; its icon is not
// looked up through a cut copy, which may name another file: cut after the
// program's name, trailing blanks would resolve to the program itself.
TEST_F(LaunchPageTest, OverlongTargetKeepsItsTextAndGetsTheStockIcon) {
  std::string module = ModulePath();
  std::string target = module + std::string(300 - module.size(), ' ');
  LaunchPage page;
  page.SetFromFile(0, target.c_str());
  EXPECT_EQ(target, page.GetExec(0));
  EXPECT_EQ(StockSlotIcon(), page.GetIcon(0));
  EXPECT_EQ(nullptr, page.GetIconSource(0));
  EXPECT_EQ(StockSlotIcon(), page.LoadSlotIcon(0, target.c_str()));
}

TEST_F(LaunchPageTest, LoadSlotIconLeavesTheIconSourceAlone) {
  std::string module = ModulePath();
  LaunchPage page;
  page.SetExec(4, "C:\\target.exe");
  page.SetIconSource(4, "");
  EXPECT_EQ(StockSlotIcon(), page.LoadSlotIcon(4, ""));
  EXPECT_EQ(StockSlotIcon(), page.LoadSlotIcon(4, "C:\\nowhere\\gone.ico"));
  HICON own = page.LoadSlotIcon(4, module.c_str());
  EXPECT_NE(StockSlotIcon(), own);
  EXPECT_EQ(own, page.GetIcon(4));
  EXPECT_STREQ("", page.GetIconSource(4));

  // Loading over an icon of its own releases that one first.
  SetIconReleaseHook(RecordAndDestroy);
  g_released.clear();
  page.LoadSlotIcon(4, "");
  ASSERT_EQ(1u, g_released.size());
  EXPECT_EQ(own, g_released[0]);
}

TEST_F(LaunchPageTest, SlotIndicesOutOfRangeTouchNothing) {
  LaunchPage page;
  const int bad[] = {-1, 8, 1000};
  for (int slot : bad) {
    EXPECT_EQ(0, page.SetFromFile(slot, "C:\\Games\\Chess.exe"));
    page.SetExec(slot, "x");
    EXPECT_EQ(0, page.IsUsed(slot));
    EXPECT_EQ(nullptr, page.GetExec(slot));
    EXPECT_EQ(nullptr, page.LoadSlotIcon(slot, "x"));
    page.ClearSlot(slot);
  }
  for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_EQ(0, page.IsUsed(slot));
}

}  // namespace
