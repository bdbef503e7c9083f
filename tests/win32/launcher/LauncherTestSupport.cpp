#include "tests/win32/launcher/LauncherTestSupport.h"

#include "archive/ResourceArchive.h"
#include "framework/MessageBox.h"
#include "framework/ModuleState.h"

std::vector<ShownBox> g_shownBoxes;

namespace {

int RecordBox(HWND, const char* text, const char* caption, UINT type) {
  g_shownBoxes.push_back({text ? text : "", caption ? caption : "", type});
  return IDOK;
}

void OpenArchive() {
  static bool opened = false;
  if (!opened) opened = g_archive.Open(ArchiveMode_Embedded, nullptr, nullptr) != 0;
}

void Drain() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message != WM_QUIT) ::DispatchMessageA(&msg);
  }
}

}  // namespace

const Artwork& TheArtwork() {
  static Artwork* art = [] {
    OpenArchive();
    auto* a = new Artwork;
    a->character.Load("char.tw", 0, 0);
    a->buttons.Load("buttons.tw", 0, 0);
    a->panel.Load("panel.tw", 0, 0);
    return a;
  }();
  return *art;
}

bool PumpUntil(const std::function<bool()>& done) {
  DWORD start = ::GetTickCount();
  MSG msg;
  while (!done()) {
    if (::GetTickCount() - start > 60000) return false;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message != WM_QUIT) ::DispatchMessageA(&msg);
    }
    ::Sleep(5);
  }
  return true;
}

std::uint32_t PixelAt(const DrawSurface& s, int x, int y) {
  return s.pixels[(s.height - 1 - y) * s.width + x] & 0x00FFFFFFu;
}

int CountDifferences(const DrawSurface& a, int x, int y, const DrawSurface& b, int sx, int sy,
                     int w, int h) {
  int count = 0;
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      if (PixelAt(a, x + i, y + j) != PixelAt(b, sx + i, sy + j)) ++count;
    }
  }
  return count;
}

void RenderPanel(DrawSurface* out, const wchar_t* caption, UINT format) {
  const Artwork& art = TheArtwork();
  out->Create(174, 132);
  out->Blit(art.panel, 0, 0, 174, 132, 0, 0);
  out->Blit(art.panel, 26, 15, 120, 32, 20, 15);
  if (caption) {
    HDC dc = out->LockDC();
    HFONT font = ::CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0,
                               0, 0, L"宋体");
    HGDIOBJ old = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    RECT box = {26, 15, 146, 47};
    ::DrawTextW(dc, caption, -1, &box, format);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    out->UnlockDC(dc);
    ::GdiFlush();
  }
}

namespace {

// Scans the character's mask plane in page's column, from the frame's centre
// outwards, for the first point whose mask is (or is not) set.
POINT FindCharacterPoint(int page, bool body) {
  const DrawSurface& c = TheArtwork().character;
  for (int r = 0; r < 60; ++r) {
    for (int dy = -r; dy <= r; ++dy) {
      for (int dx = -r; dx <= r; ++dx) {
        int x = 51 + dx;
        int y = 56 + dy;
        if (x < 0 || x >= 102 || y < 0 || y >= 113) continue;
        if ((c.MaskAt(102 * page + x, y) != 0) == body) return {x, y};
      }
    }
  }
  ADD_FAILURE() << "no " << (body ? "body" : "gap") << " point on page " << page;
  return {-1, -1};
}

}  // namespace

POINT CharacterBodyPoint(int page) { return FindCharacterPoint(page, true); }
POINT CharacterGapPoint(int page) { return FindCharacterPoint(page, false); }

void LauncherWindowTest::SetUp() {
  // The tests speak to the window through messages at points they choose; the
  // real pointer, wherever an earlier test left it, must not be over anything
  // of ours: a menu that pops up under it takes its hover as a pick.
  ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  g_shownBoxes.clear();
  SetMessageBoxHook(&RecordBox);
  OpenArchive();
  ASSERT_TRUE(TheArtwork().character.bitmap) << "char.tw did not load";

  g_hInstance = ::GetModuleHandleA(nullptr);
  app_ = new CLauncherApp;
  app_->m_pPages = new LaunchPage[6];
  frame_ = new CMainFrame;
  app_->m_pMainWnd = frame_;
  ASSERT_TRUE(frame_->CreateLauncher());
  app_->FinishStartUp();
  hwnd_ = frame_->m_hWnd;
  g_hMainWnd = hwnd_;
  DrawSurface::SetReferenceWindow(hwnd_);
  PlaceCompact(300, 20);
  ::ShowWindow(hwnd_, SW_SHOW);
  ::UpdateWindow(hwnd_);
}

void LauncherWindowTest::TearDown() {
  if (hwnd_ && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
  Drain();
  delete frame_;
  DrawSurface::SetReferenceWindow(nullptr);
  g_hMainWnd = nullptr;
  delete app_;  // and its pages
  SetMessageBoxHook(nullptr);
}

void LauncherWindowTest::PlaceCompact(int left, int top) {
  frame_->charLeft = left;
  frame_->charTop = top;
  frame_->MoveWindow(left, top, 102, 132, FALSE);
  frame_->DrawCompact();
}

void LauncherWindowTest::ClickCharacter() {
  POINT p = CharacterBodyPoint(app_->m_nChar);
  if (!LauncherWindowProbe::Compact(*frame_) && LauncherWindowProbe::PanelSide(*frame_) == 1) {
    p.x += 174;
  }
  Press(p.x, p.y);
  Release(p.x, p.y);
}

void LauncherWindowTest::Press(int x, int y) {
  ::SendMessageA(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void LauncherWindowTest::Release(int x, int y) {
  ::SendMessageA(hwnd_, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void LauncherWindowTest::Move(int x, int y) {
  ::SendMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

RECT LauncherWindowTest::WindowRect() const {
  RECT r;
  ::GetWindowRect(hwnd_, &r);
  return r;
}

void LauncherWindowTest::FillSlot(int page, int slot, const char* target, const char* comment) {
  LaunchPage& p = Page(page);
  p.SetExec(slot, target);
  p.SetComment(slot, comment);
  p.SetIconSource(slot, "");
  p.LoadSlotIcon(slot, "");  // no such file: the stock icon
}
