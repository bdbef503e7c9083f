#pragma once
// The first moment an opened popup menu's loop always reaches, whatever its
// queue holds: the first message it takes (each goes to the thread's
// WH_MSGFILTER hooks as MSGF_MENU), or its idle when the queue is empty
// (WM_ENTERIDLE to the owner). Wine's loop goes idle only on an empty
// queue, so a driver waiting for the idle alone waits in vain on a busy one.
#include <windows.h>

#include <functional>
#include <vector>

class MenuLoopWatch {
 public:
  // `up` is called once, with the popup window, at that moment. Watches the
  // calling thread's next menu; one watch at a time.
  explicit MenuLoopWatch(std::function<void(HWND popup)> up);
  ~MenuLoopWatch();
  MenuLoopWatch(const MenuLoopWatch&) = delete;
  MenuLoopWatch& operator=(const MenuLoopWatch&) = delete;

  // The owner's window procedure hands its WM_ENTERIDLE on here.
  static void EnterIdle(WPARAM reason, LPARAM popup);

  bool Reached() const { return reached_; }
  bool WentIdle() const { return idle_; }
  // The messages the loop took, in order (the first 64).
  const std::vector<UINT>& Looked() const { return looked_; }

 private:
  static LRESULT CALLBACK Filter(int code, WPARAM w, LPARAM l);
  void Reach(HWND popup);

  std::function<void(HWND)> up_;
  HHOOK hook_ = nullptr;
  bool reached_ = false;
  bool idle_ = false;
  std::vector<UINT> looked_;
};
