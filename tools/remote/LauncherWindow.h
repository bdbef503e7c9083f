#pragma once
// Finding a running launcher from another program.
#include <windows.h>

#include <cstring>

// The launcher's own window. Its message boxes carry the same title "dida",
// but they are dialogs (class #32770).
inline HWND FindLauncher() {
  HWND found = nullptr;
  while ((found = ::FindWindowExA(nullptr, found, nullptr, "dida")) != nullptr) {
    char name[16] = {};
    ::GetClassNameA(found, name, sizeof name);
    if (std::strcmp(name, "#32770") != 0) return found;
  }
  return nullptr;
}
