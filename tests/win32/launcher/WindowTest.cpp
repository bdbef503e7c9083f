// The window as a person meets it: what reaches the screen, dragging with
// real input, and a window whose artwork could not be loaded.
#include <atomic>
#include <memory>
#include <thread>

#include "archive/ResourceArchive.h"
#include "tests/win32/launcher/LauncherTestSupport.h"

namespace {

void PumpFor(DWORD ms) {
  DWORD start = ::GetTickCount();
  MSG msg;
  while (::GetTickCount() - start < ms) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message != WM_QUIT) ::DispatchMessageA(&msg);
    }
    ::Sleep(5);
  }
}

void SendMouse(DWORD flags) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  ::SendInput(1, &in, sizeof in);
}

TEST_F(LauncherWindowTest, PaintCopiesTheBackBufferToTheScreen) {
  ClickCharacter();  // expanded, so the panel is on screen too
  EXPECT_EQ(::SendMessageA(hwnd_, WM_ERASEBKGND, 0, 0), TRUE);
  ::InvalidateRect(hwnd_, nullptr, TRUE);
  ::UpdateWindow(hwnd_);
  PumpFor(200);

  // Read the window's pixels back through a surface of the same size.
  DrawSurface screen;
  ASSERT_TRUE(screen.Create(Back().width, Back().height));
  HDC windowDC = ::GetDC(hwnd_);
  HDC dc = screen.LockDC();
  ::BitBlt(dc, 0, 0, screen.width, screen.height, windowDC, 0, 0, SRCCOPY);
  screen.UnlockDC(dc);
  ::ReleaseDC(hwnd_, windowDC);
  ::GdiFlush();

  HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(hwnd_, shape), ERROR);
  int inside = 0, wrong = 0;
  for (int y = 0; y < screen.height; ++y) {
    for (int x = 0; x < screen.width; ++x) {
      if (!::PtInRegion(shape, x, y)) continue;
      ++inside;
      if (PixelAt(screen, x, y) != PixelAt(Back(), x, y)) ++wrong;
    }
  }
  ::DeleteObject(shape);
  EXPECT_GT(inside, 276 * 132 * 9 / 10);
  EXPECT_EQ(wrong, 0) << "of " << inside;
}

class DragTest : public LauncherWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(DragTest, PressOnAGapDragsTheWindowUnlessLocked) {
  const int locked = GetParam();
  app_->m_nFixedPos = locked;
  PlaceCompact(300, 40);
  ClickCharacter();  // panel left: the window starts at 126
  PumpFor(100);
  POINT gap = CharacterGapPoint(0);
  int sx = 300 + gap.x, sy = 40 + gap.y;
  ::SetCursorPos(sx, sy);
  PumpFor(100);

  // The press arrives as real input; the system's move loop then follows
  // the pointer until the release, which a second thread sends.
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  std::atomic<bool> released(false);
  std::thread hand([sx, sy, &released] {
    ::Sleep(300);
    for (int i = 1; i <= 5; ++i) {
      ::SetCursorPos(sx + 8 * i, sy + 6 * i);
      INPUT in = {};
      in.type = INPUT_MOUSE;
      in.mi.dwFlags = MOUSEEVENTF_MOVE;  // a zero move that reports the new position
      ::SendInput(1, &in, sizeof in);
      ::Sleep(50);
    }
    ::Sleep(200);
    INPUT up = {};
    up.type = INPUT_MOUSE;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &up, sizeof up);
    released = true;
  });
  // Input keeps its order: once this thread has taken the release (the
  // button's state follows the messages taken), every move before it has
  // been handled, by the move loop or, when locked, by the window.
  EXPECT_TRUE(PumpUntil([&] { return released && !(::GetKeyState(VK_LBUTTON) & 0x8000); }))
      << "the release never arrived";
  hand.join();

  RECT r = WindowRect();
  if (locked) {
    EXPECT_EQ(r.left, 126);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(frame_->charLeft, 300);
  } else {
    EXPECT_EQ(r.left, 126 + 40);
    EXPECT_EQ(r.top, 40 + 30);
    // The character position follows the window, 174 right of its left edge.
    EXPECT_EQ(frame_->charLeft, 300 + 40);
    EXPECT_EQ(frame_->charTop, 40 + 30);
  }
  EXPECT_EQ(LauncherWindowProbe::Compact(*frame_), 0);
}

INSTANTIATE_TEST_SUITE_P(Lock, DragTest, ::testing::Values(0, 1));

TEST_F(LauncherWindowTest, WithoutArtworkTheWindowKeepsItsSizeAndStaysUsable) {
  g_archive.Close();  // every entry is missing now
  auto bare = std::make_unique<CMainFrame>();
  EXPECT_TRUE(bare->CreateLauncher());
  g_archive.Open(ArchiveMode_Embedded, nullptr, nullptr);
  HWND w = bare->m_hWnd;
  const DrawSurface& back = *LauncherWindowProbe::BackBuffer(*bare);

  bare->charLeft = 100;
  bare->charTop = 30;
  bare->DrawCompact();
  ::ShowWindow(w, SW_SHOW);
  ::UpdateWindow(w);
  RECT r;
  ::GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, 102);
  EXPECT_EQ(back.width, 102);
  // No outline could be loaded: the window is its plain rectangle.
  HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
  HRGN box = ::CreateRectRgn(0, 0, 102, 132);
  ASSERT_NE(::GetWindowRgn(w, shape), ERROR);
  EXPECT_TRUE(::EqualRgn(shape, box));

  LauncherWindowProbe::SetPanelSide(*bare, 2);
  bare->DrawExpanded();
  ::GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, 276);
  EXPECT_EQ(back.width, 276);
  ::SetRectRgn(box, 0, 0, 276, 132);
  ::GetWindowRgn(w, shape);
  EXPECT_TRUE(::EqualRgn(shape, box));
  ::DeleteObject(shape);
  ::DeleteObject(box);

  // The buttons, the slots and the timer still work.
  app_->m_nChar = 0;
  ::SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 120));
  ::SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(60, 120));
  EXPECT_EQ(app_->m_nChar, 1);
  ::SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(102 + 30, 67));
  EXPECT_EQ(LauncherWindowProbe::HotItem(*bare), 3);
  for (int i = 0; i < 40; ++i) ::SendMessageA(w, WM_TIMER, 1, 0);
  ::KillTimer(w, 1);
  EXPECT_NE(LauncherWindowProbe::BlinkCountdown(*bare), 30);  // the ticks ran
  ::InvalidateRect(w, nullptr, FALSE);
  ::UpdateWindow(w);
  ::DestroyWindow(w);
  // Whatever the missing entries reported, the window went on without them.
  for (const ShownBox& box : g_shownBoxes) EXPECT_EQ(box.caption, "Error");
}

}  // namespace
