#pragma once
// Answering modal dialogs and message boxes from tests: the boxes are
// recorded (owner, GBK text, caption, type) and answered from a queue; a
// dialog's controls can be set and read once it has filled them; actions can
// be queued to run inside the dialog's own modal loop.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class CDialog;

struct ShownBox {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};

// Records every box of the framework; answers come from the queue, IDOK
// when it is empty. Removed by the destructor.
class BoxRecorder {
 public:
  BoxRecorder();
  ~BoxRecorder();
  std::vector<ShownBox> boxes;
  std::deque<int> answers;
};

// Runs `onInit` for every modal dialog right after it has filled its
// controls; removed by the destructor.
class DialogScript {
 public:
  explicit DialogScript(std::function<void(CDialog*, HWND)> onInit);
  ~DialogScript();
};

// Runs `action` once, from a thread timer, i.e. from whichever message loop
// runs next (a modal dialog's own loop included). Posted messages queued
// before it are handled first. Pending actions are dropped by CancelLater.
void RunLater(std::function<void()> action, UINT delayMs = 1);
void CancelLater();
// Runs `action` from the dialog's loop once the dialog is on the screen, as a
// person would act on it (the system shows a modal dialog only when its
// queue first runs empty). Gives up after a minute (a loaded machine is slow).
void WhenShown(HWND dialog, std::function<void()> action);
// The same for the top-level window with this caption, found on the screen.
void WhenShownNamed(const char* caption, std::function<void(HWND)> action);

// A control's text, as the bytes the ANSI interface returns.
std::string ControlText(HWND control);
// Presses a button the way a click does (BM_CLICK).
void Click(HWND dialog, int id);
// How a person ends a dialog; each runs through the dialog's own loop.
enum class Close { kOkButton, kCancelButton, kEnterKey, kEscapeKey, kCloseBox };
// Posts what ends `dialog` that way; a key goes to `focus`, one of its controls.
void PostClose(HWND dialog, HWND focus, Close how);
// The same string repeated count times.
std::string Repeat(const std::string& unit, int count);
