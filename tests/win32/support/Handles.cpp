#include "tests/win32/support/Handles.h"

#include <vector>

namespace {

// A USER handle's low word is index * 2 + 0x20, below 0xFFF0.
constexpr UINT_PTR kFirstUserHandle = 0x20;
constexpr UINT_PTR kLastUserHandle = 0xFFEF;

bool IsOwnWindow(HWND hwnd) {
  DWORD process = 0;
  return ::GetWindowThreadProcessId(hwnd, &process) != 0 && process == ::GetCurrentProcessId();
}

bool IsIcon(HICON icon) {
  ICONINFO info = {};
  if (!::GetIconInfo(icon, &info)) return false;
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return true;
}

}  // namespace

int GdiHeadroom() {
  std::vector<HRGN> made;
  made.reserve(70000);
  while (made.size() < 200000) {
    HRGN region = ::CreateRectRgn(0, 0, 1, 1);
    if (!region) break;
    made.push_back(region);
  }
  for (HRGN region : made) ::DeleteObject(region);
  return static_cast<int>(made.size());
}

int OwnUserObjects() {
  int count = 0;
  for (UINT_PTR value = kFirstUserHandle; value <= kLastUserHandle; value += 2) {
    if (::IsMenu(reinterpret_cast<HMENU>(value)) || IsIcon(reinterpret_cast<HICON>(value)) ||
        IsOwnWindow(reinterpret_cast<HWND>(value))) {
      ++count;
    }
  }
  return count;
}
