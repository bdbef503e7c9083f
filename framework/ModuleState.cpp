#include "framework/ModuleState.h"

HINSTANCE g_hInstance = nullptr;
HWND g_hMainWnd = nullptr;
