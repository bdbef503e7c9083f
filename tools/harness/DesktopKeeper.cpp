// desktop-keeper READY: holds the Wine harness's desktop for the whole run,
// and makes the file READY once it is on the desktop.
//
// Wine closes a desktop a second after the last program on it ends, and the
// next program starts a new desktop process that inherits that program's
// output. CTest waits until a test's output is closed, so once the desktop
// had closed, every test lasted as long as its desktop process lived (about
// 20 s). With this program on the desktop, one desktop serves every test, as
// one session does on a user's machine. The harness starts it with no one's
// output, and ends it with the wineserver.
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (!argv || argc != 2) return 2;
  // Message-only: nothing on the screen and nothing among the top-level
  // windows that a test enumerates; making it brings up the desktop.
  HWND window = ::CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
  if (!window) return 1;
  HANDLE ready = ::CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (ready == INVALID_HANDLE_VALUE) return 1;
  ::CloseHandle(ready);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}
