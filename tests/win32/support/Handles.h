#pragma once
// The handles a test's process holds, to see leaks. Wine's GetGuiResources
// is a stub. GDI handles live in a table of the process's own, so its room
// left is probed; USER handles come from one table that every program of
// the Wine session shares, so they are counted, never probed by filling
// that table: while it is full, every other program's menus fail.
#include <windows.h>

// How many 1 x 1 regions can still be made (all are freed again).
int GdiHeadroom();

// Windows, menus, icons and cursors this process holds, found by trying
// every index of the USER table with a handle of no generation, which the
// system takes for the entry's current object.
int OwnUserObjects();
