#include "tests/win32/commands/CommandsTestSupport.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "app/SettingsFile.h"
#include "framework/Dialog.h"
#include "framework/FileDialog.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "launcher/LauncherGeometry.h"
#include "tests/win32/support/MenuLoopWatch.h"

// Every length at 100 %.
static const LauncherMetrics k100 = MetricsAt(kBasePercent);

const char kAddText[] = "\xCC\xED\xBC\xD3";
const char kEditText[] = "\xB1\xE0\xBC\xAD";
const char kDeleteText[] = "\xC9\xBE\xB3\xFD";
const char kSettingsText[] = "\xC9\xE8\xD6\xC3";
const char kAboutText[] = "\xB9\xD8\xD3\xDA";
const char kExitText[] = "\xCD\xCB\xB3\xF6";
const char kDeleteQuestion[] = "\xD2\xD1\xB1\xBB\xC9\xBE\xB3\xFD\xA1\xA3";

namespace {

CommandsTest* g_test = nullptr;

// The menu driver, armed around a right press: once the menu's loop has its
// popup up (see MenuLoopWatch), the driver reads the menu and posts the keys
// to it, and the loop takes them. So no key reaches the launcher before its
// menu is up, and nothing waits for a time.
struct MenuDriver {
  SeenMenu* seen = nullptr;  // filled when not null
  std::vector<WPARAM> keys;
};
MenuDriver g_menu;

void ReadMenu(HWND popup, SeenMenu* seen) {
  HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
  seen->found = true;
  ::GetWindowRect(popup, &seen->rect);
  int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[64] = {};
    int length = ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    seen->items.push_back(
        {::GetMenuItemID(menu, i), std::string(text, static_cast<std::size_t>(length))});
  }
}

void DriveMenu(HWND popup) {
  if (!popup) {
    ::EndMenu();
    return;
  }
  if (g_menu.seen) ReadMenu(popup, g_menu.seen);
  for (WPARAM key : g_menu.keys) ::PostMessageA(popup, WM_KEYDOWN, key, 1);
}

void RecordTrack(BOOL result, DWORD error) {
  if (!g_menu.seen) return;
  g_menu.seen->tracked = true;
  g_menu.seen->trackResult = result;
  g_menu.seen->trackError = error;
}

int AnswerBox(HWND owner, const char* text, const char* caption, UINT type) {
  g_test->boxes_.push_back({owner, text ? text : "", caption ? caption : "", type,
                            owner && ::IsWindowEnabled(owner) != FALSE});
  if (g_test->boxAnswers_.empty()) return IDOK;
  int answer = g_test->boxAnswers_.front();
  g_test->boxAnswers_.pop_front();
  return answer;
}

void MeetDialog(CDialog* dialog, HWND dlg) {
  HWND owner = SameForm(::GetWindow(dlg, GW_OWNER));
  g_test->dialogs_.push_back({dialog->GetTemplateId(), ControlText(dlg), owner,
                              owner && ::IsWindowEnabled(owner) != FALSE, dlg});
  if (g_test->onDialog_) {
    g_test->onDialog_(dialog, dlg);
  } else {
    // Unexpected here: close it, so a test never waits for a person.
    ::PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
  }
}

BOOL MeetFileDialog(OPENFILENAMEA* ofn) {
  FileDialogCall call;
  call.title = ofn->lpstrTitle ? ofn->lpstrTitle : "";
  call.flags = ofn->Flags;
  if (const char* f = ofn->lpstrFilter) {
    std::size_t n = 0;
    while (f[n] || f[n + 1]) ++n;
    call.filter.assign(f, n + 2);
  }
  call.defaultExtension = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
  call.filterIndex = ofn->nFilterIndex;
  call.owner = ofn->hwndOwner;
  call.ownerEnabled = call.owner && ::IsWindowEnabled(call.owner) != FALSE;
  g_test->fileDialogs_.push_back(call);
  const std::string& path = g_test->chosenFile_;
  if (path.empty() || path.size() >= ofn->nMaxFile) return FALSE;
  std::memcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
  return TRUE;
}

template <class Char>
HGLOBAL MakeDropOf(POINT client, const std::vector<std::basic_string<Char>>& names, BOOL wide) {
  std::size_t chars = 1;
  for (const auto& name : names) chars += name.size() + 1;
  HGLOBAL drop =
      ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(Char));
  if (!drop) return nullptr;
  auto* files = static_cast<DROPFILES*>(::GlobalLock(drop));
  files->pFiles = sizeof(DROPFILES);
  files->pt = client;
  files->fNC = FALSE;
  files->fWide = wide;
  Char* out = reinterpret_cast<Char*>(files + 1);
  for (const auto& name : names) {
    std::memcpy(out, name.c_str(), (name.size() + 1) * sizeof(Char));
    out += name.size() + 1;
  }
  ::GlobalUnlock(drop);
  return drop;
}

}  // namespace

std::string SeenMenu::Story() const {
  char hex[16];
  std::string story = std::string("window ") + (enabled ? "enabled" : "disabled") +
                      (entered ? ", entered a menu loop" : ", entered no menu loop");
  if (tracked) {
    std::snprintf(hex, sizeof hex, "%lu", static_cast<unsigned long>(trackError));
    story += std::string(", TrackPopupMenu returned ") + (trackResult ? "TRUE" : "FALSE") +
             " (error " + hex + ")";
  } else {
    story += ", TrackPopupMenu not called";
  }
  story += std::string(idle ? ", went idle" : ", never idle") + "; queued at the press: 0x";
  std::snprintf(hex, sizeof hex, "%X", queued);
  story += hex;
  story += "; the loop looked at:";
  for (UINT message : looked) {
    std::snprintf(hex, sizeof hex, " 0x%X", message);
    story += hex;
  }
  return story;
}

std::vector<WPARAM> Pick(int n) {
  std::vector<WPARAM> keys(static_cast<std::size_t>(n) + 1, VK_DOWN);
  keys.push_back(VK_RETURN);
  return keys;
}

HGLOBAL MakeDrop(POINT client, const std::vector<std::string>& names) {
  return MakeDropOf(client, names, FALSE);
}

HGLOBAL MakeWideDrop(POINT client, const std::vector<std::wstring>& names) {
  return MakeDropOf(client, names, TRUE);
}

bool DropReleased(HGLOBAL drop) { return ::GlobalSize(drop) == 0; }

void DrainQueue() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message != WM_QUIT) ::DispatchMessageA(&msg);
  }
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ControlText(HWND control) {
  int length = ::GetWindowTextLengthA(control);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int copied = ::GetWindowTextA(control, &text[0], length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void SetTextAndOk(HWND dlg, int id, const std::string& text) {
  ::SetDlgItemTextA(dlg, id, text.c_str());
  ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDOK)));
}

void SetTextAndEscape(HWND dlg, int id, const std::string& text) {
  ::SetDlgItemTextA(dlg, id, text.c_str());
  ::PostMessageA(::GetDlgItem(dlg, id), WM_KEYDOWN, VK_ESCAPE, 1);
}

LRESULT CALLBACK CommandsTest::CountingProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_PAINT) ++g_test->paints_;
  if (message == WM_CANCELMODE) ++g_test->cancels_;
  if (message == WM_ENTERIDLE) MenuLoopWatch::EnterIdle(w, l);
  if (message == WM_ENTERMENULOOP && g_menu.seen) g_menu.seen->entered = true;
  LRESULT result = ::CallWindowProcA(g_test->originalProc_, hwnd, message, w, l);
  if (message == WM_NCDESTROY) PoisonFrame(g_test->frame_);  // the window's last message
  return result;
}

void CommandsTest::SetUp() {
  LauncherWindowTest::SetUp();
  if (HasFatalFailure()) return;
  g_test = this;
  SetMessageBoxHook(&AnswerBox);
  SetDialogHook(&MeetDialog);
  SetFileDialogHook(&MeetFileDialog);
  originalProc_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
      hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CommandsTest::CountingProc)));

  char dir[MAX_PATH];
  ::GetTempPathA(sizeof dir, dir);
  iniPath_ = std::string(dir) + "dida-commands-" + std::to_string(::GetCurrentProcessId()) + ".ini";
  ::DeleteFileA(iniPath_.c_str());
  ASSERT_TRUE(g_settings.BindTo(iniPath_.c_str(), "param"));
}

void CommandsTest::TearDown() {
  if (hwnd_ && ::IsWindow(hwnd_) && originalProc_) {
    ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProc_));
  }
  SetDialogHook(nullptr);
  SetFileDialogHook(nullptr);
  RestorePoisonedFrame();
  LauncherWindowTest::TearDown();
  ::DeleteFileA(iniPath_.c_str());
  g_test = nullptr;
}

void CommandsTest::PressRight(POINT client, std::vector<WPARAM> keys, SeenMenu* seen) {
  // The menu's loop takes what waits in the queue before any key of the
  // driver's, and a press among it would end the loop: nothing of the
  // window's own may be left there.
  MSG waiting;
  while (::PeekMessageA(&waiting, hwnd_, 0, 0, PM_REMOVE)) ::DispatchMessageA(&waiting);
  g_menu.seen = seen;
  g_menu.keys = std::move(keys);
  int cancels = cancels_;
  if (seen && ::PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE)) seen->queued = waiting.message;
  if (seen) seen->enabled = ::IsWindowEnabled(hwnd_) != FALSE;
  MenuTrackObserver previous = SetMenuTrackObserver(&RecordTrack);
  {
    MenuLoopWatch watch(&DriveMenu);
    ::SendMessageA(hwnd_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(client.x, client.y));
    if (seen) {
      seen->idle = watch.WentIdle();
      seen->looked = watch.Looked();
    }
  }
  SetMenuTrackObserver(previous);
  if (seen) seen->cancelled = cancels_ != cancels;
  g_menu = MenuDriver();
}

SeenMenu CommandsTest::RightClick(POINT client, std::vector<WPARAM> keys) {
  SeenMenu seen;
  PressRight(client, std::move(keys), &seen);
  DrainQueue();  // the chosen command arrives as a posted WM_COMMAND
  return seen;
}

int CommandsTest::PanelX() const {
  return PanelXFor(k100, LauncherWindowProbe::PanelSide(*frame_));
}

POINT CommandsTest::SlotPoint(int slot) const {
  const DrawSurface& panel = TheArtwork().panel;
  int cx = kIconX + (slot % 4) * kIconPitch + 16;
  int cy = kIconY + (slot / 4) * kIconPitch + 16;
  // The hole point nearest to the icon's centre.
  for (int r = 0; r < 20; ++r) {
    for (int dy = -r; dy <= r; ++dy) {
      for (int dx = -r; dx <= r; ++dx) {
        int x = cx + dx, y = cy + dy;
        if (::SlotAt(k100, x, y, panel.MaskAt(x, y)) == slot) return {PanelX() + x, y};
      }
    }
  }
  ADD_FAILURE() << "no point over slot " << slot;
  return {-1, -1};
}

POINT CommandsTest::PanelBodyPoint() const {
  const DrawSurface& panel = TheArtwork().panel;
  for (int y = 60; y < 125; ++y) {
    for (int x = 20; x < 150; ++x) {
      if (panel.MaskAt(x, y) != 0 && ::SlotCellAt(k100, x, y) >= 0) return {PanelX() + x, y};
    }
  }
  ADD_FAILURE() << "no point on the panel's body";
  return {-1, -1};
}

POINT CommandsTest::ButtonPoint(int button) const {
  int characterX = LauncherWindowProbe::Compact(*frame_)
                       ? 0
                       : CharacterXFor(k100, LauncherWindowProbe::PanelSide(*frame_));
  POINT p = {button == kHotPreviousPage ? 25 : 76, kFrameHeight + 8};
  EXPECT_EQ(PageButtonAt(k100, p.x, p.y), button);
  return {characterX + p.x, p.y};
}

POINT CommandsTest::CharacterPoint() const {
  POINT p = CharacterBodyPoint(app_->m_nChar);
  if (!LauncherWindowProbe::Compact(*frame_)) {
    p.x += CharacterXFor(k100, LauncherWindowProbe::PanelSide(*frame_));
  }
  return p;
}

POINT CommandsTest::SpotPoint(Spot spot) const {
  switch (spot) {
    case Spot::kUsedSlot:
      return SlotPoint(2);
    case Spot::kEmptySlot:
      return SlotPoint(5);
    case Spot::kPanelBody:
      return PanelBodyPoint();
    case Spot::kNextButton:
      return ButtonPoint(kHotNextPage);
    case Spot::kPreviousButton:
      return ButtonPoint(kHotPreviousPage);
    case Spot::kCharacter:
      break;
  }
  return CharacterPoint();
}

void CommandsTest::OpenPanel(int side) {
  PlaceCompact(side == 1 ? 300 : 50, 20);
  ClickCharacter();
  ASSERT_EQ(LauncherWindowProbe::Compact(*frame_), 0);
  ASSERT_EQ(LauncherWindowProbe::PanelSide(*frame_), side);
}

int CommandsTest::IconCellDifferences(int slot) const {
  int x = kIconX + (slot % 4) * kIconPitch;
  int y = kIconY + (slot / 4) * kIconPitch;
  return CountDifferences(Back(), PanelX() + x, y, TheArtwork().panel, x, y, 32, 32);
}

int CommandsTest::CaptionDifferences(const wchar_t* expected) const {
  DrawSurface rendered;
  RenderPanel(&rendered, expected,
              DT_WORDBREAK | DT_EXTERNALLEADING | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS);
  return CountDifferences(Back(), PanelX() + kCaptionX, kCaptionY, rendered, kCaptionX, kCaptionY,
                          kCaptionWidth, kCaptionHeight);
}
