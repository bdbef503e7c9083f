#pragma once
// The two module-wide handles every layer may read. Start-up sets them.
#include <windows.h>

extern HINSTANCE g_hInstance;  // this module; icons and resources come from it
extern HWND g_hMainWnd;        // the launcher window; null until it exists
