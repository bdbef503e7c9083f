// CMenu under Wine: items in the order appended, with their GBK texts; the
// wrapper is the menu's one owner; a tracked menu sends the chosen command
// to its owner window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/FrameWnd.h"
#include "framework/Menu.h"
#include "tests/win32/support/MenuLoopWatch.h"

namespace {

struct Item {
  UINT id;
  const char* text;
  const char* gbk;
};

const Item kItems[] = {{32771, "设置", "\xC9\xE8\xD6\xC3"},
                       {57664, "关于", "\xB9\xD8\xD3\xDA"},
                       {57665, "退出", "\xCD\xCB\xB3\xF6"}};

std::string ItemText(const CMenu& menu, int position) {
  char text[64] = {};
  int length = menu.GetMenuString(static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
  return std::string(text, static_cast<std::size_t>(length > 0 ? length : 0));
}

TEST(CMenu, ItemsStayInTheOrderAppendedWithTheirTexts) {
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  for (const Item& item : kItems) ASSERT_TRUE(menu.AppendMenu(MF_STRING, item.id, item.text));
  ASSERT_EQ(menu.GetMenuItemCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(menu.GetMenuItemID(i), kItems[i].id) << i;
    EXPECT_EQ(ItemText(menu, i), kItems[i].gbk) << i;
    EXPECT_EQ(::GetMenuState(menu.m_hMenu, static_cast<UINT>(i), MF_BYPOSITION) &
                  (MF_GRAYED | MF_DISABLED),
              0u);
  }
}

TEST(CMenu, TheWrapperDestroysItsMenuAndOnlyOnce) {
  HMENU first = nullptr, second = nullptr;
  {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    first = menu.m_hMenu;
    // Making a second menu releases the first.
    ASSERT_TRUE(menu.CreatePopupMenu());
    second = menu.m_hMenu;
    EXPECT_FALSE(::IsMenu(first));
    EXPECT_TRUE(::IsMenu(second));
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_FALSE(menu.DestroyMenu());
    ASSERT_TRUE(menu.CreatePopupMenu());
    second = menu.m_hMenu;
  }
  EXPECT_FALSE(::IsMenu(second));
  CMenu empty;
  EXPECT_FALSE(empty.AppendMenu(MF_STRING, 1, "x"));
  EXPECT_FALSE(empty.TrackPopupMenu(TPM_RIGHTBUTTON, 0, 0, nullptr));
}

class MenuOwner : public CFrameWnd {
 public:
  std::vector<UINT> commands;
  void OnAbout() { commands.push_back(57664); }
  void OnSettings() { commands.push_back(32771); }
  void OnExitItem() { commands.push_back(57665); }
  LRESULT OnEnterIdle(WPARAM reason, LPARAM popup) {
    MenuLoopWatch::EnterIdle(reason, popup);
    return 0;
  }
  void PostNcDestroy() override {}  // the test owns the object
  DECLARE_MESSAGE_MAP()
};
const MessageEntry MenuOwner::kMessageEntries[] = {
    {WM_COMMAND, 32771, &afx::OnMsg<&MenuOwner::OnSettings>},
    {WM_COMMAND, 57664, &afx::OnMsg<&MenuOwner::OnAbout>},
    {WM_COMMAND, 57665, &afx::OnMsg<&MenuOwner::OnExitItem>},
    {WM_ENTERIDLE, 0, &afx::OnRawMsg<&MenuOwner::OnEnterIdle>},
    {0, 0, nullptr}};
DEFINE_MESSAGE_MAP(MenuOwner, CFrameWnd)

TEST(CMenu, TrackedMenuSendsTheChosenCommandToItsOwner) {
  // The real pointer, wherever an earlier test left it, must not be over the
  // menu: one that pops up under it takes its hover as a pick.
  ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  MenuOwner owner;
  ASSERT_TRUE(owner.Create(nullptr, "menu owner", WS_POPUP | WS_VISIBLE, CRect(50, 50, 150, 150)));
  ::SetForegroundWindow(owner.m_hWnd);
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  for (const Item& item : kItems) menu.AppendMenu(MF_STRING, item.id, item.text);
  {
    // With its popup up, the menu's loop gets the keys: down to the second
    // item, Enter.
    MenuLoopWatch watch([](HWND popup) {
      for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) ::PostMessageA(popup, WM_KEYDOWN, key, 1);
    });
    EXPECT_TRUE(menu.TrackPopupMenu(TPM_RIGHTBUTTON, 60, 60, &owner));
    EXPECT_TRUE(watch.Reached());
  }
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  EXPECT_EQ(owner.commands, std::vector<UINT>{57664});
  owner.DestroyWindow();
}

}  // namespace
