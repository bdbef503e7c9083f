// dida-remote: drives a running launcher from scripts and tests.
//   dida-remote command ID   sends WM_COMMAND ID (57665 is Exit, as in the menu)
//   dida-remote message MSG WPARAM   sends a window message (e.g. the end of a session)
//   dida-remote rect         prints the launcher window's rectangle: left top right bottom
//   dida-remote logoff INI COPY
//                            ends the session as the system does: WM_QUERYENDSESSION,
//                            then, once it has returned, copies INI to COPY and sends
//                            WM_ENDSESSION(TRUE); prints the launcher's answer (1 or 0)
//   dida-remote watch FILE STOP OUT
//                            reads FILE again and again until the file STOP exists; each
//                            different text seen is written to OUT0, OUT1, ...; OUTready
//                            is made after the first read, for whoever waits for it; prints
//                            "reads N missing M texts K" (missing: FILE could not be opened)
//   dida-remote dialog       prints, in UTF-8 and read through the wide functions, the title
//                            and every item's text of the launcher's dialog or message box
//                            that takes input now, one line each: "ID text"
//   dida-remote settext ID TEXT   sets that dialog's item ID to TEXT through the wide functions
//   dida-remote click ID     presses that dialog's button ID
//   dida-remote monitors     prints every monitor's rectangle, one line each:
//                            left top right bottom, then "primary" on the primary's line
//   dida-remote displaychange
//                            tells every top-level window that the display changed, as the
//                            system does after a change of monitors (Wine does not)
//   dida-remote dpi          prints the system's DPI as a DPI-aware program gets it
// Exit code 0 on success, 1 when no launcher runs (or a message timed out), 2 on bad usage.
// The tool is per-monitor DPI aware, so every rectangle it reads or prints is in screen pixels,
// the ones X and xdotool count in, whatever the display's scale.
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "LauncherWindow.h"

namespace {

// A whole file's bytes; false when it cannot be opened (missing, or held
// without sharing).
bool ReadWhole(const char* path, std::string* text) {
  HANDLE file =
      ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  text->clear();
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    text->append(buffer, got);
  ::CloseHandle(file);
  return true;
}

bool WriteWhole(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

// Sends a message and waits at most 20 s for the answer.
bool Ask(HWND launcher, UINT message, WPARAM wParam, DWORD_PTR* answer) {
  return ::SendMessageTimeoutA(launcher, message, wParam, 0, SMTO_NORMAL, 20000, answer) != 0;
}

int Logoff(HWND launcher, const char* ini, const char* copy) {
  DWORD_PTR answer = 0;
  if (!Ask(launcher, WM_QUERYENDSESSION, 0, &answer)) return 1;
  // What the file holds the moment the system has its answer.
  std::string text;
  if (!ReadWhole(ini, &text)) text.clear();
  if (!WriteWhole(copy, text)) return 2;
  // A window that is gone by now gets no WM_ENDSESSION, as with the system.
  DWORD_PTR ignored = 0;
  if (!Ask(launcher, WM_ENDSESSION, TRUE, &ignored) && ::IsWindow(launcher)) return 1;
  std::printf("%d\n", answer ? 1 : 0);
  return 0;
}

int Watch(const char* file, const char* stop, const char* out) {
  std::vector<std::string> seen;
  long reads = 0, missing = 0;
  std::string text;
  while (::GetFileAttributesA(stop) == INVALID_FILE_ATTRIBUTES) {
    ++reads;
    if (!ReadWhole(file, &text)) {
      ++missing;
      continue;
    }
    bool known = false;
    for (const std::string& s : seen) known = known || s == text;
    if (!known) seen.push_back(text);
    if (seen.size() == 1 && !known && !WriteWhole(std::string(out) + "ready", "")) return 2;
  }
  for (std::size_t i = 0; i < seen.size(); ++i) {
    if (!WriteWhole(std::string(out) + std::to_string(i), seen[i])) return 2;
  }
  std::printf("reads %ld missing %ld texts %u\n", reads, missing,
              static_cast<unsigned>(seen.size()));
  return 0;
}

// The launcher's dialog or message box that takes input now: of the
// launcher's thread, visible and enabled (a dialog under a message box is
// disabled while the box is up).
BOOL CALLBACK TakeActiveDialog(HWND window, LPARAM param) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  if (std::wcscmp(name, L"#32770") != 0 || !::IsWindowVisible(window) ||
      !::IsWindowEnabled(window)) {
    return TRUE;
  }
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

HWND FindActiveDialog(HWND launcher) {
  HWND found = nullptr;
  ::EnumThreadWindows(::GetWindowThreadProcessId(launcher, nullptr), &TakeActiveDialog,
                      reinterpret_cast<LPARAM>(&found));
  return found;
}

// A window's text through WM_GETTEXT (GetWindowText does not ask another
// process's controls), in UTF-8.
std::string WideText(HWND window) {
  wchar_t text[1024] = {};
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                        20000, &ignored);
  text[1023] = L'\0';
  int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(n > 0 ? static_cast<std::size_t>(n) : 1, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], n, nullptr, nullptr);
  utf8.resize(std::strlen(utf8.c_str()));
  return utf8;
}

// "title" then "ID text" per item; line breaks inside a text become "\n".
int PrintDialog(HWND dialog) {
  std::string out = "title " + WideText(dialog) + "\n";
  for (HWND item = ::GetWindow(dialog, GW_CHILD); item; item = ::GetWindow(item, GW_HWNDNEXT)) {
    std::string text = WideText(item);
    std::string flat;
    for (char c : text) {
      if (c == '\n')
        flat += "\\n";
      else if (c != '\r')
        flat += c;
    }
    out += std::to_string(::GetDlgCtrlID(item)) + " " + flat + "\n";
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

int SetItemText(HWND dialog, int id, const wchar_t* text) {
  HWND item = ::GetDlgItem(dialog, id);
  DWORD_PTR ignored = 0;
  if (!item || !::SendMessageTimeoutW(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text),
                                      SMTO_NORMAL, 20000, &ignored)) {
    return 1;
  }
  return 0;
}

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoA(monitor, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  std::printf("%ld %ld %ld %ld%s\n", r.left, r.top, r.right, r.bottom,
              (info.dwFlags & MONITORINFOF_PRIMARY) ? " primary" : "");
  return TRUE;
}

int BroadcastDisplayChange() {
  HDC screen = ::GetDC(nullptr);
  WPARAM bits = screen ? static_cast<WPARAM>(::GetDeviceCaps(screen, BITSPIXEL)) : 32;
  if (screen) ::ReleaseDC(nullptr, screen);
  LPARAM size = MAKELPARAM(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutA(HWND_BROADCAST, WM_DISPLAYCHANGE, bits, size, SMTO_ABORTIFHUNG,
                               20000, &ignored)
             ? 0
             : 1;
}

// A function of user32 that older systems lack, or null.
template <class Function>
Function* UserFunction(const char* name) {
  HMODULE user32 = ::GetModuleHandleA("user32.dll");
  if (!user32) return nullptr;
  // Through the generic function pointer type, which every compiler accepts
  // as a cast between function types.
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(::GetProcAddress(user32, name)));
}

// Per-monitor aware where the system has it (Windows 10 1703 and later),
// else system aware. Windows gives a DPI-unaware caller every other
// program's rectangles scaled to 96 DPI, and 96 as the DPI (Wine 8 does
// neither, but the tool must read the same on both).
void BecomeDpiAware() {
  using SetContextFn = BOOL WINAPI(HANDLE);
  using SetAwareFn = BOOL WINAPI();
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, which older headers lack.
  const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
  auto setContext = UserFunction<SetContextFn>("SetProcessDpiAwarenessContext");
  if (setContext && setContext(perMonitorV2)) return;
  auto setAware = UserFunction<SetAwareFn>("SetProcessDPIAware");
  if (setAware) setAware();
}

// GetDpiForSystem where the system has it (Windows 10 1607 and later), else
// the screen's LOGPIXELSX, which is the same number for an aware program.
int PrintDpi() {
  using GetDpiFn = UINT WINAPI();
  auto getDpi = UserFunction<GetDpiFn>("GetDpiForSystem");
  UINT dpi = 0;
  if (getDpi) {
    dpi = getDpi();
  } else if (HDC screen = ::GetDC(nullptr)) {
    dpi = static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSX));
    ::ReleaseDC(nullptr, screen);
  }
  if (dpi == 0) return 1;
  std::printf("%u\n", dpi);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: dida-remote command ID | message MSG WPARAM | rect | logoff INI COPY |"
                 " watch FILE STOP OUT | dialog | settext ID TEXT | click ID | monitors |"
                 " displaychange | dpi\n");
    return 2;
  }
  BecomeDpiAware();
  if (std::strcmp(argv[1], "dpi") == 0) return PrintDpi();
  if (std::strcmp(argv[1], "watch") == 0 && argc == 5) return Watch(argv[2], argv[3], argv[4]);
  if (std::strcmp(argv[1], "monitors") == 0) {
    return ::EnumDisplayMonitors(nullptr, nullptr, &PrintMonitor, 0) ? 0 : 1;
  }
  if (std::strcmp(argv[1], "displaychange") == 0) return BroadcastDisplayChange();
  HWND launcher = FindLauncher();
  if (!launcher) {
    std::fprintf(stderr, "dida-remote: no launcher window\n");
    return 1;
  }
  if (std::strcmp(argv[1], "command") == 0 && argc == 3) {
    ::PostMessageA(launcher, WM_COMMAND, std::strtoul(argv[2], nullptr, 0), 0);
    return 0;
  }
  if (std::strcmp(argv[1], "message") == 0 && argc == 4) {
    ::SendMessageA(launcher, std::strtoul(argv[2], nullptr, 0), std::strtoul(argv[3], nullptr, 0),
                   0);
    return 0;
  }
  if (std::strcmp(argv[1], "logoff") == 0 && argc == 4) return Logoff(launcher, argv[2], argv[3]);
  if (std::strcmp(argv[1], "dialog") == 0 || std::strcmp(argv[1], "settext") == 0 ||
      std::strcmp(argv[1], "click") == 0) {
    HWND dialog = FindActiveDialog(launcher);
    if (!dialog) {
      std::fprintf(stderr, "dida-remote: no dialog takes input\n");
      return 1;
    }
    if (argc == 2 && argv[1][0] == 'd') return PrintDialog(dialog);
    int id = argc >= 3 ? std::atoi(argv[2]) : 0;
    if (argc == 3 && argv[1][0] == 'c') {
      ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
      return 0;
    }
    if (argc == 4 && argv[1][0] == 's') {
      // The text as the system passed it, not through this program's code page.
      int count = 0;
      wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
      int result = wide && count == 4 ? SetItemText(dialog, id, wide[3]) : 2;
      ::LocalFree(wide);
      return result;
    }
  }
  if (std::strcmp(argv[1], "rect") == 0) {
    RECT r;
    ::GetWindowRect(launcher, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  std::fprintf(stderr, "dida-remote: unknown command %s\n", argv[1]);
  return 2;
}
