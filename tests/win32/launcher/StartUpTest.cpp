// The real start-up over a settings file with all 48 slots filled: it asks
// the shell for no icon before the window is on the screen; idle time then
// takes the current page's eight, one a tick; the open panel shows them, and
// a page turned to takes its own when it is drawn; the exit writes back the
// very file that was read.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/LaunchPage.h"
#include "app/LauncherApp.h"
#include "app/SettingsFile.h"
#include "framework/LateShell.h"
#include "launcher/LauncherGeometry.h"
#include "tests/win32/launcher/LauncherTestSupport.h"

// Every length at 100 %.
static const LauncherMetrics k100 = MetricsAt(kBasePercent);

namespace {

std::string ReadWhole(const std::string& path) {
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, got);
    std::fclose(f);
  }
  return text;
}

// The icon source of slot (p, s): this program (an icon of its own), a file
// that is not there, or none; both of the last give the stock icon.
std::string IconSourceOf(int p, int s, const std::string& self) {
  switch ((p + s) % 3) {
    case 0:
      return self;
    case 1:
      return "C:\\nowhere\\gone.exe";
    default:
      return "";
  }
}

// Every key in the order the exit writes them, so an unchanged model is
// saved as the same bytes.
std::string FilledSettings(const std::string& self) {
  std::string text = "[param]\r\nChar=2\r\nPosX=300\r\nPosY=40\r\nTopMost=0\r\nFixedPos=0\r\n";
  for (int p = 1; p <= 6; ++p) {
    text += "Page" + std::to_string(p) + "=page " + std::to_string(p) + "\r\n";
    for (int s = 1; s <= 8; ++s) {
      std::string key = std::to_string(p) + "-" + std::to_string(s);
      text += "Comment" + key + "=slot " + key + "\r\nIcon" + key + "=" + IconSourceOf(p, s, self) +
              "\r\nExec" + key + "=C:\\targets\\t" + key + ".exe\r\n";
    }
  }
  return text;
}

// Dispatches what arrives for up to `ms` or until `done`; for every timer
// tick of the window, the icons it took go to `perTick`.
template <class Done>
void Pump(HWND hwnd, DWORD ms, std::string* perTick, Done done) {
  DWORD start = ::GetTickCount();
  while (!done() && ::GetTickCount() - start < ms) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      long before = late::IconExtractions();
      ::DispatchMessageA(&msg);
      if (msg.hwnd == hwnd && msg.message == WM_TIMER) {
        *perTick += std::to_string(late::IconExtractions() - before);
      }
    }
  }
}

void Click(HWND hwnd, POINT p) {
  ::SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  ::SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

// The open panel's icon grid in the back buffer against the panel picture
// with the page's icons drawn over it: pixels that differ.
int GridDifferences(CMainFrame& frame, LaunchPage& page) {
  DrawSurface expected;
  RenderPanel(&expected, nullptr, 0);
  HDC dc = expected.LockDC();
  for (int slot = 0; slot < kSlotCount; ++slot) {
    ::DrawIconEx(dc, kIconX + kIconPitch * (slot % 4), kIconY + kIconPitch * (slot / 4),
                 page.GetIcon(slot), 32, 32, 0, nullptr, DI_NORMAL);
  }
  expected.UnlockDC(dc);
  ::GdiFlush();
  int panelX = PanelXFor(k100, LauncherWindowProbe::PanelSide(frame));
  return CountDifferences(*LauncherWindowProbe::BackBuffer(frame), panelX + kIconX, kIconY,
                          expected, kIconX, kIconY, 4 * kIconPitch, 2 * kIconPitch);
}

TEST(StartUp, WithEverySlotFilledTakesNoIconBeforeTheWindowIsShownAndSavesTheSameFile) {
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, sizeof self);
  g_settings.Bind("param");  // start-up binds the same file again
  const std::string path = g_settings.GetPath();
  const std::string loaded = FilledSettings(self);
  {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f) << path;
    std::fwrite(loaded.data(), 1, loaded.size(), f);
    std::fclose(f);
  }
  TheArtwork();  // decoded now, not counted below

  CLauncherApp app;
  const long before = late::IconExtractions();
  ASSERT_TRUE(app.InitInstance());
  auto* frame = static_cast<CMainFrame*>(app.m_pMainWnd);
  HWND hwnd = frame->m_hWnd;
  EXPECT_TRUE(::IsWindowVisible(hwnd));
  EXPECT_FALSE(::GetUpdateRect(hwnd, nullptr, FALSE));  // painted
  EXPECT_EQ(late::IconExtractions() - before, 0);
  ASSERT_EQ(app.m_nChar, 2);

  // Idle time: one icon a tick until the current page has all eight, then none.
  std::string perTick;
  Pump(hwnd, 20000, &perTick, [&] { return perTick.size() >= 12; });
  EXPECT_EQ(perTick, "111111110000");
  EXPECT_EQ(late::IconExtractions() - before, 8);

  // The panel shows the eight (own and stock icons as their sources say)
  // without asking the shell again.
  POINT body = CharacterBodyPoint(2);
  Click(hwnd, body);
  ASSERT_EQ(LauncherWindowProbe::Compact(*frame), 0);
  EXPECT_EQ(late::IconExtractions() - before, 8);
  LaunchPage& current = app.m_pPages[2];
  for (int s = 0; s < kSlotCount; ++s) {
    bool own = IconSourceOf(3, s + 1, self) == self;
    EXPECT_EQ(current.GetIcon(s) != StockSlotIcon(), own) << s;
  }
  EXPECT_EQ(GridDifferences(*frame, current), 0);

  // A page turned to takes its icons as it is drawn; back again takes none.
  int characterX = CharacterXFor(k100, LauncherWindowProbe::PanelSide(*frame));
  POINT next = {-1, -1}, previous = {-1, -1};
  for (int y = kFrameHeight; y < kWindowHeight; ++y) {
    for (int x = 0; x < kCharacterWidth; ++x) {
      if (PageButtonAt(k100, x, y) == kHotNextPage) next = {characterX + x, y};
      if (PageButtonAt(k100, x, y) == kHotPreviousPage) previous = {characterX + x, y};
    }
  }
  Click(hwnd, next);
  ASSERT_EQ(app.m_nChar, 3);
  EXPECT_EQ(late::IconExtractions() - before, 16);
  EXPECT_EQ(GridDifferences(*frame, app.m_pPages[3]), 0);
  Click(hwnd, previous);
  ASSERT_EQ(app.m_nChar, 2);
  EXPECT_EQ(late::IconExtractions() - before, 16);

  ::SendMessageA(hwnd, WM_CLOSE, 0, 0);
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message != WM_QUIT) ::DispatchMessageA(&msg);
  }
  app.ExitInstance();
  EXPECT_EQ(ReadWhole(path), loaded);
  ::DeleteFileA(path.c_str());
}

}  // namespace
