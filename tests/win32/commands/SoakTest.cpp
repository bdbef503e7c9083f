// A thousand rounds of what a person does with the launcher, through real
// messages: add by drop, edit, delete, change the page name, turn the page.
// At the end the pages are exactly what the rounds made them, and no GDI or
// USER handle has been lost on the way.
#include "tests/win32/commands/CommandsTestSupport.h"

#include <mmsystem.h>

#include <cstdio>

#include "launcher/LauncherGeometry.h"
#include "resources/resource.h"

namespace {

constexpr int kRounds = 1000;
// Wine's own objects (those of the sound being played, say) come and go by a
// few handles; a handle lost per round would show as a thousand.
constexpr int kSlack = 8;

// With no click sound playing, so its objects are not counted: the room
// left for GDI handles, and the USER objects held.
void Measure(int* gdi, int* user) {
  ::sndPlaySoundA(nullptr, 0);
  *gdi = GdiHeadroom();
  *user = OwnUserObjects();
}

struct ModelSlot {
  bool used = false;
  std::string comment;
};

TEST_F(CommandsTest, SoakThousandRoundsKeepThePagesRightAndLeakNoHandles) {
  DWORD start = ::GetTickCount();
  char own[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, own, sizeof own);
  OpenPanel(1);

  ModelSlot model[6][8];
  std::string names[6];
  int page = 0;
  std::string nextComment, nextName;
  onDialog_ = [&](CDialog* dialog, HWND dlg) {
    if (dialog->GetTemplateId() == IDD_COMMENT) {
      SetTextAndOk(dlg, IDC_COMMENT, nextComment);
    } else {
      SetTextAndOk(dlg, IDC_PAGE_NAME, nextName);
    }
  };

  // Item `item` of the menu at `point`; the menu must have come up.
  auto pick = [&](POINT point, int item, const char* what, int round) {
    SeenMenu seen = RightClick(point, Pick(item));
    EXPECT_TRUE(seen.found) << "round " << round << ", " << what << ": no menu came up ("
                            << seen.Story() << ")";
    EXPECT_FALSE(seen.cancelled) << "round " << round << ", " << what << ": the menu was cancelled";
  };

  int gdiBefore = 0, userBefore = 0;
  std::string iconSource;
  for (int r = 0; r < kRounds; ++r) {
    dialogs_.clear();
    boxes_.clear();
    const int add = r % 8;
    const int del = (3 * r + 1) % 8;
    const std::string tag = std::to_string(r);

    nextComment = "c" + tag;
    HGLOBAL drop = MakeDrop(SlotPoint(add), {own, "C:\\ignored.exe"});
    ::SendMessageA(hwnd_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    ASSERT_TRUE(DropReleased(drop)) << "round " << r;
    model[page][add] = {true, nextComment};
    if (r == 0 && Page(0).GetIconSource(add)) iconSource = Page(0).GetIconSource(add);

    nextComment = "e" + tag;
    pick(SlotPoint(add), 1, "edit", r);
    ASSERT_EQ(dialogs_.size(), 2u) << "round " << r << ": no comment dialog after Edit";
    model[page][add].comment = nextComment;

    const bool deletes = model[page][del].used;
    pick(SlotPoint(del), 2, "delete", r);
    model[page][del] = ModelSlot();

    nextName = "n" + tag;
    pick(PanelBodyPoint(), 0, "settings", r);
    names[page] = nextName;

    POINT next = ButtonPoint(kHotNextPage);
    Press(next.x, next.y);
    Release(next.x, next.y);
    page = (page + 1) % 6;

    ASSERT_EQ(dialogs_.size(), 3u) << "round " << r;
    ASSERT_EQ(boxes_.size(), deletes ? 1u : 0u) << "round " << r;
    ASSERT_EQ(app_->m_nChar, page) << "round " << r;
    if (r == 0) {
      // After one round every cache the rounds use is warm: count from here,
      // with no slot holding an icon (an icon is one USER and some GDI handles).
      for (int p = 0; p < 6; ++p) {
        Page(p).ClearAll();
        for (ModelSlot& s : model[p]) s = ModelSlot();
      }
      Measure(&gdiBefore, &userBefore);
    }
  }

  app_->SavePages();
  // Under a loaded Wine the shell now and then gives no icon for a file it
  // gave one for before; such a slot is saved without one, as it should be.
  int withoutIcon = 0;
  std::string expected = "[param]\r\n";
  for (int p = 0; p < 6; ++p) {
    std::string pk = std::to_string(p + 1);
    expected += "Page" + pk + "=" + names[p] + "\r\n";
    for (int s = 0; s < 8; ++s) {
      std::string key = pk + "-" + std::to_string(s + 1);
      if (model[p][s].used) {
        expected += "Comment" + key + "=" + model[p][s].comment + "\r\n";
        if (Page(p).GetIconSource(s)) {
          expected += "Icon" + key + "=" + iconSource + "\r\n";
        } else {
          ++withoutIcon;
        }
        expected += "Exec" + key + "=" + own + "\r\n";
      } else {
        expected += "Exec" + key + "=\r\n";
      }
    }
  }
  EXPECT_EQ(FileText(iniPath_), expected);
  EXPECT_FALSE(iconSource.empty()) << "the program's own icon was not extracted";
  EXPECT_LE(withoutIcon, 4) << "slots whose icon the shell did not give";

  for (int p = 0; p < 6; ++p) Page(p).ClearAll();
  int gdiAfter = 0, userAfter = 0;
  Measure(&gdiAfter, &userAfter);

  EXPECT_GT(gdiBefore, 1000);
  EXPECT_GT(userBefore, 0);
  EXPECT_GE(gdiAfter, gdiBefore - kSlack) << "GDI handles lost";
  EXPECT_LE(userAfter, userBefore + kSlack) << "USER handles lost";
  std::printf(
      "soak: %d rounds in %lu ms; GDI headroom %d -> %d, USER objects held %d -> %d; %d slots "
      "without an icon\n",
      kRounds, static_cast<unsigned long>(::GetTickCount() - start), gdiBefore, gdiAfter,
      userBefore, userAfter, withoutIcon);
}

}  // namespace
