#pragma once
// Shared pieces of the launcher window tests: a window made the way start-up
// makes it (over the real embedded artwork), read-back of its private state,
// and pixel comparisons against the decoded pictures.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/LaunchPage.h"
#include "app/LauncherApp.h"
#include "imaging/DrawSurface.h"
#include "launcher/MainFrame.h"

// The window's state as the tests see it (a friend of CMainFrame).
class LauncherWindowProbe {
 public:
  static int Layout(const CMainFrame& f) { return f.layout; }
  static int Compact(const CMainFrame& f) { return f.compact; }
  static int PanelSide(const CMainFrame& f) { return f.panelSide; }
  static void SetPanelSide(CMainFrame& f, int side) {
    f.panelSide = static_cast<decltype(f.panelSide)>(side);
  }
  static int HotItem(const CMainFrame& f) { return f.hotItem; }
  static int HotState(const CMainFrame& f) { return f.hotState; }
  static int BlinkFrame(const CMainFrame& f) { return f.blink.frame; }
  static void SetBlinkFrame(CMainFrame& f, int frame) { f.blink.frame = frame; }
  static int BlinkCountdown(const CMainFrame& f) { return f.blink.countdown; }
  static int TimerInterval(const CMainFrame& f) { return f.timerInterval; }
  static DrawSurface* BackBuffer(const CMainFrame& f) { return f.backBuffer.get(); }
  static DrawSurface* CharacterPicture(const CMainFrame& f) { return f.characterPicture.get(); }
};

// The message boxes shown so far (answered OK at once).
struct ShownBox {
  std::string text;
  std::string caption;
  UINT type;
};
extern std::vector<ShownBox> g_shownBoxes;

// Pumps the thread's queue until `done`, for at most a minute (a loaded
// machine is slow); whether it came.
bool PumpUntil(const std::function<bool()>& done);

// The decoded pictures, loaded once per process from the embedded archive.
struct Artwork {
  DrawSurface character;
  DrawSurface buttons;
  DrawSurface panel;
};
const Artwork& TheArtwork();

// The colour word of (x, y), y counted from the top; the unused top byte is dropped.
std::uint32_t PixelAt(const DrawSurface& s, int x, int y);

// How many pixels of the w x h rectangle at (x, y) of `a` differ from the one
// at (sx, sy) of `b`.
int CountDifferences(const DrawSurface& a, int x, int y, const DrawSurface& b, int sx, int sy,
                     int w, int h);

// A panel as the window draws it with no icons: the panel picture, its caption
// box restored and `caption` drawn in it (none when null) with the caption
// font. The text is given as UTF-16 and drawn with DrawTextW, so the result
// shows what the GBK caption must look like once decoded correctly.
void RenderPanel(DrawSurface* out, const wchar_t* caption, UINT format);

// A client point on the character's body and one inside the frame that is not
// (page `page`, character area coordinates).
POINT CharacterBodyPoint(int page);
POINT CharacterGapPoint(int page);

// The launcher window built as start-up builds it, with six pages.
class LauncherWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Places the compact window's character area at (left, top) and composes it.
  void PlaceCompact(int left, int top);
  // Opens the panel by a press on the character.
  void ClickCharacter();
  void Press(int x, int y);
  void Release(int x, int y);
  void Move(int x, int y);
  RECT WindowRect() const;
  const DrawSurface& Back() const { return *LauncherWindowProbe::BackBuffer(*frame_); }
  LaunchPage& Page(int k) { return app_->m_pPages[k]; }
  // Fills a slot with a target that is never started (stock icon).
  void FillSlot(int page, int slot, const char* target, const char* comment);

  CLauncherApp* app_ = nullptr;
  CMainFrame* frame_ = nullptr;
  HWND hwnd_ = nullptr;
};
