#pragma once
// The DPI the system reports for a monitor or a window: the monitor's own
// where the system knows one per monitor, else the system-wide DPI, else 96.
#include <windows.h>

int DpiOfMonitorAt(int x, int y);
int DpiOfWindow(HWND window);
