#include "tests/win32/framework_dialogs/DialogTestSupport.h"

#include <map>

#include "framework/Dialog.h"
#include "framework/MessageBox.h"

namespace {

BoxRecorder* g_recorder = nullptr;
std::function<void(CDialog*, HWND)> g_onInit;
std::map<UINT_PTR, std::function<void()>>& Pending() {
  static std::map<UINT_PTR, std::function<void()>> pending;
  return pending;
}

int RecordBox(HWND owner, const char* text, const char* caption, UINT type) {
  g_recorder->boxes.push_back({owner, text ? text : "", caption ? caption : "", type});
  if (g_recorder->answers.empty()) return IDOK;
  int answer = g_recorder->answers.front();
  g_recorder->answers.pop_front();
  return answer;
}

void CallInit(CDialog* dialog, HWND hDlg) {
  if (g_onInit) g_onInit(dialog, hDlg);
}

void CALLBACK FireLater(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  auto it = Pending().find(id);
  if (it == Pending().end()) return;
  std::function<void()> action = std::move(it->second);
  Pending().erase(it);
  action();
}

}  // namespace

BoxRecorder::BoxRecorder() {
  g_recorder = this;
  SetMessageBoxHook(&RecordBox);
}

BoxRecorder::~BoxRecorder() {
  SetMessageBoxHook(nullptr);
  g_recorder = nullptr;
}

DialogScript::DialogScript(std::function<void(CDialog*, HWND)> onInit) {
  g_onInit = std::move(onInit);
  SetDialogHook(&CallInit);
}

DialogScript::~DialogScript() {
  SetDialogHook(nullptr);
  g_onInit = nullptr;
}

void RunLater(std::function<void()> action, UINT delayMs) {
  UINT_PTR id = ::SetTimer(nullptr, 0, delayMs, &FireLater);
  if (id) Pending()[id] = std::move(action);
}

void CancelLater() {
  for (auto& entry : Pending()) ::KillTimer(nullptr, entry.first);
  Pending().clear();
}

namespace {
// Polls from the loop that runs until `find` gives a visible window, for at
// most a minute (a loaded machine is slow), then acts on it.
void PollVisible(std::function<HWND()> find, std::function<void(HWND)> action, DWORD deadline) {
  HWND window = find();
  if (window && ::IsWindowVisible(window)) {
    action(window);
  } else if (static_cast<LONG>(deadline - ::GetTickCount()) > 0) {
    RunLater([find, action, deadline] { PollVisible(find, action, deadline); }, 10);
  }
}
}  // namespace

void WhenShown(HWND dialog, std::function<void()> action) {
  PollVisible([dialog] { return dialog; }, [action](HWND) { action(); }, ::GetTickCount() + 60000);
}

void WhenShownNamed(const char* caption, std::function<void(HWND)> action) {
  std::string name = caption;
  PollVisible([name] { return ::FindWindowA(nullptr, name.c_str()); }, std::move(action),
              ::GetTickCount() + 60000);
}

std::string ControlText(HWND control) {
  int length = ::GetWindowTextLengthA(control);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int copied = ::GetWindowTextA(control, &text[0], length + 1);
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

void Click(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void PostClose(HWND dialog, HWND focus, Close how) {
  if (how == Close::kCloseBox) {
    ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (how == Close::kEnterKey || how == Close::kEscapeKey) {
    ::PostMessageA(focus, WM_KEYDOWN, how == Close::kEnterKey ? VK_RETURN : VK_ESCAPE, 1);
  } else {
    const int button = how == Close::kOkButton ? IDOK : IDCANCEL;
    ::PostMessageA(::GetDlgItem(dialog, button), BM_CLICK, 0, 0);
  }
}

std::string Repeat(const std::string& unit, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += unit;
  return text;
}
