// The baseline of the start-up benchmark: one pop-up window of the
// launcher's compact size, shown and painted once the way the launcher does
// it (ShowWindow, then UpdateWindow), and nothing else. It ends when the
// benchmark closes it, or by itself after ten seconds.
//   startup_bare [MS]   waits MS milliseconds between showing and painting,
//                       to check that the benchmark waits for the paint
#include <windows.h>

#include <cstdlib>

namespace {

constexpr UINT_PTR kGiveUpTimer = 1;

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(window, &ps);
      RECT client;
      ::GetClientRect(window, &client);
      ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
      ::EndPaint(window, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
      ::DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = BareProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = "dida-bare";
  if (!::RegisterClassA(&wc)) return 1;
  HWND window = ::CreateWindowExA(0, wc.lpszClassName, "dida-bare", WS_POPUP, 461, 318, 102, 132,
                                  nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ::ShowWindow(window, SW_SHOW);
  int delay = std::atoi(commandLine);
  if (delay > 0) ::Sleep(static_cast<DWORD>(delay));
  ::UpdateWindow(window);
  ::SetTimer(window, kGiveUpTimer, 10000, nullptr);
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}
