#pragma once
// The handles a test's process holds, to see leaks. Wine's GetGuiResources
// is a stub. GDI handles live in a table of the process's own, so its room
// left is probed; USER handles come from one table that every program of
// the Wine session shares, so they are counted, never probed by filling
// that table: while it is full, every other program's menus fail.
#include <windows.h>

// A window handle in one form. Only a handle's low 32 bits count, and
// 64-bit Wine gives one whose top bit is set (its entry reused 0x8000
// times or more, as in a long run) sign-extended from some calls, such as
// CreateWindow, and zero-extended from others, such as GetWindow.
inline HWND SameForm(HWND hwnd) {
  const auto low = static_cast<UINT>(reinterpret_cast<UINT_PTR>(hwnd));
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<INT>(low)));
}

// How many 1 x 1 regions can still be made (all are freed again).
int GdiHeadroom();

// Windows, menus, icons and cursors this process holds, found by trying
// every index of the USER table with a handle of no generation, which the
// system takes for the entry's current object.
int OwnUserObjects();
