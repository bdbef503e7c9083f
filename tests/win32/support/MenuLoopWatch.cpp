#include "tests/win32/support/MenuLoopWatch.h"

#include <cstring>

namespace {

MenuLoopWatch* g_watch = nullptr;

BOOL CALLBACK FindMenuWindow(HWND hwnd, LPARAM out) {
  char name[16] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  if (std::strcmp(name, "#32768") == 0 && ::IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(out) = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

MenuLoopWatch::MenuLoopWatch(std::function<void(HWND)> up) : up_(std::move(up)) {
  g_watch = this;
  hook_ =
      ::SetWindowsHookExA(WH_MSGFILTER, &MenuLoopWatch::Filter, nullptr, ::GetCurrentThreadId());
}

MenuLoopWatch::~MenuLoopWatch() {
  if (hook_) ::UnhookWindowsHookEx(hook_);
  g_watch = nullptr;
}

void MenuLoopWatch::EnterIdle(WPARAM reason, LPARAM popup) {
  if (reason != MSGF_MENU || !g_watch) return;
  g_watch->idle_ = true;
  g_watch->Reach(reinterpret_cast<HWND>(popup));
}

LRESULT CALLBACK MenuLoopWatch::Filter(int code, WPARAM w, LPARAM l) {
  if (code == MSGF_MENU && g_watch) {
    if (g_watch->looked_.size() < 64) {
      g_watch->looked_.push_back(reinterpret_cast<const MSG*>(l)->message);
    }
    g_watch->Reach(nullptr);
  }
  return ::CallNextHookEx(nullptr, code, w, l);
}

void MenuLoopWatch::Reach(HWND popup) {
  if (reached_) return;
  reached_ = true;
  if (!popup) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindMenuWindow, reinterpret_cast<LPARAM>(&popup));
  }
  if (up_) up_(popup);
}
