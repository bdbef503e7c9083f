#pragma once
// The launcher window's menu and commands driven the way a person drives
// them: a right press opens the real popup menu (read while it is up, then
// answered with keys), dialogs and boxes are answered by hooks that record
// what they were shown, and files arrive as real drop handles.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "tests/win32/launcher/LauncherTestSupport.h"
#include "tests/win32/support/Handles.h"

// GBK bytes of the menu texts.
extern const char kAddText[];         // "添加"
extern const char kEditText[];        // "编辑"
extern const char kDeleteText[];      // "删除"
extern const char kSettingsText[];    // "设置"
extern const char kAboutText[];       // "关于"
extern const char kExitText[];        // "退出"
extern const char kDeleteQuestion[];  // "已被删除。"

struct MenuItem {
  UINT id;
  std::string text;  // GBK bytes as GetMenuStringA returns them
};

// What the popup menu showed while it was up.
struct SeenMenu {
  std::vector<MenuItem> items;
  RECT rect = {0, 0, 0, 0};  // the popup window on the screen
  bool found = false;
  bool cancelled = false;  // the window got WM_CANCELMODE while it was up
  // For a menu that never came up: whether the window took the press
  // (enabled, entered a menu loop), what TrackPopupMenu returned and its
  // error, whether the loop ever went idle, the first message already queued
  // at the press (0: none), and every message the menu's loop looked at.
  bool enabled = false;
  bool entered = false;
  bool tracked = false;  // TrackPopupMenu was called
  BOOL trackResult = FALSE;
  DWORD trackError = 0;
  bool idle = false;
  UINT queued = 0;
  std::vector<UINT> looked;
  std::string Story() const;
};

struct BoxCall {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
  bool ownerEnabled;  // while the box was up
};

// A modal dialog as the dialog hook met it.
struct DialogCall {
  UINT templateId;
  std::string caption;
  HWND owner;
  bool ownerEnabled;
  HWND dialog;
};

// What the file dialog hook was handed.
struct FileDialogCall {
  std::string title;
  DWORD flags;
  std::string filter;  // the whole double-zero-terminated list, zeros included
  std::string defaultExtension;
  DWORD filterIndex;
  HWND owner;
  bool ownerEnabled;
};

// Keys that pick item n of an open menu.
std::vector<WPARAM> Pick(int n);

// A drop handle as the shell makes it: DROPFILES with the point in client
// coordinates, fNC FALSE, then the names, each zero-terminated, and a final
// zero. Wide names are given as UTF-16.
HGLOBAL MakeDrop(POINT client, const std::vector<std::string>& names);
HGLOBAL MakeWideDrop(POINT client, const std::vector<std::wstring>& names);
// Whether the handle has been released (GlobalSize fails on a freed handle).
bool DropReleased(HGLOBAL drop);

// Pumps the thread's queue until it is empty.
void DrainQueue();

// Once a frame's window is gone only its cleared handle may be read: the
// fixture poisons the rest then (DeadFrame.cpp), and restores it before the
// frame is deleted. The frames poisoned so far, and how many bytes of the
// last one were written since.
void PoisonFrame(CMainFrame* frame);
void RestorePoisonedFrame();
int PoisonedFrames();
int BytesWrittenAfterPoison();

// The whole file as bytes (empty when it is missing).
std::string FileText(const std::string& path);

// What is under a test's pointer. The used slot is slot 2, the empty one slot 5.
enum class Spot { kUsedSlot, kEmptySlot, kPanelBody, kNextButton, kPreviousButton, kCharacter };

class CommandsTest : public LauncherWindowTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A right press at a client point. `keys` are posted to the menu's loop
  // once it is up and has been read (VK_ESCAPE closes it; Down n+1 times and
  // Return picks item n). A chosen command is then dispatched before returning.
  SeenMenu RightClick(POINT client, std::vector<WPARAM> keys);
  // The press alone: the keys go to a menu if one comes up (read into `seen`
  // when not null); a chosen command stays queued.
  void PressRight(POINT client, std::vector<WPARAM> keys, SeenMenu* seen);

  // Client points of the open panel (panel on `panelSide_`), the page
  // buttons and the character.
  POINT SlotPoint(int slot) const;
  POINT PanelBodyPoint() const;
  POINT ButtonPoint(int button) const;
  POINT CharacterPoint() const;
  POINT SpotPoint(Spot spot) const;
  int PanelX() const;
  // Opens the panel on `side` (1 left, 2 right).
  void OpenPanel(int side);

  // Pixels of slot `slot`'s 32 x 32 icon cell in the back buffer that differ
  // from the panel picture, and of the caption box from `expected`.
  int IconCellDifferences(int slot) const;
  int CaptionDifferences(const wchar_t* expected) const;

 public:
  // Read and answered by the hooks, which run outside the fixture.
  // Paints the window received (counted by a subclass of its procedure).
  int paints_ = 0;
  // Menu cancels the window received (WM_CANCELMODE: the system closes an
  // open menu when its owner loses the focus).
  int cancels_ = 0;

  // Recorded calls, and what the hooks answer.
  std::vector<BoxCall> boxes_;
  std::deque<int> boxAnswers_;  // IDOK when empty
  std::vector<DialogCall> dialogs_;
  std::function<void(CDialog*, HWND)> onDialog_;  // the test's script, if any
  std::vector<FileDialogCall> fileDialogs_;
  std::string chosenFile_;  // empty: the file dialog is cancelled

  std::string iniPath_;  // a settings file of this test's own

 private:
  static LRESULT CALLBACK CountingProc(HWND, UINT, WPARAM, LPARAM);
  WNDPROC originalProc_ = nullptr;
};

// Scripts for the dialog hook.
// Sets control `id`'s text, then presses OK (a posted click, as a person's).
void SetTextAndOk(HWND dlg, int id, const std::string& text);
// Sets control `id`'s text, then presses Escape in it.
void SetTextAndEscape(HWND dlg, int id, const std::string& text);
std::string ControlText(HWND control);
