// The panel's first opening and a page turn in the real dida.exe, timed from
// the click to the new frame: a launcher whose pages are full against one
// whose pages are empty, started alternately, N times each.
//
//   panel_bench N EXE_FULL EXE_EMPTY [WAIT_MS]
//
// Each run starts the program and waits for its first paint; then, each time
// after leaving the window alone for WAIT_MS (default 0: at once), it sends a
// press and a release on the character (the panel opens) and on the
// next-page button (a page not drawn before). The press is sent, not
// posted: it returns once the window's handler has composed the frame and
// painted it. Prints each run, the medians, and the ratios full / empty.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "archive/ResourceArchive.h"
#include "bench/Clock.h"
#include "framework/ModuleState.h"
#include "imaging/DrawSurface.h"
#include "launcher/LauncherGeometry.h"
#include "tools/remote/LauncherWindow.h"

// Every length at 100 %.
static const LauncherMetrics k100 = MetricsAt(kBasePercent);

namespace {

// Milliseconds on the benchmarks' clock.
double Now() { return 1000.0 * Seconds(); }

// A point of page 0's character body, found in the same artwork the launcher
// carries (this program embeds it too).
POINT BodyPoint() {
  DrawSurface character;
  if (!g_archive.Open(ArchiveMode_Embedded, nullptr, nullptr) || !character.Load("char.tw", 0, 0))
    return {-1, -1};
  for (int r = 0; r < 50; ++r) {
    for (int dy = -r; dy <= r; ++dy) {
      for (int dx = -r; dx <= r; ++dx) {
        int x = kCharacterWidth / 2 + dx, y = kFrameHeight / 2 + dy;
        if (x >= 0 && y >= 0 && x < kCharacterWidth && y < kFrameHeight &&
            character.MaskAt(x, y) != 0)
          return {x, y};
      }
    }
  }
  return {-1, -1};
}

POINT NextButtonPoint() {
  for (int y = kFrameHeight; y < kWindowHeight; ++y) {
    for (int x = 0; x < kCharacterWidth; ++x) {
      if (PageButtonAt(k100, x, y) == kHotNextPage) return {x, y};
    }
  }
  return {-1, -1};
}

// Milliseconds from sending the press to its answer; negative on failure.
double Press(HWND window, POINT p) {
  DWORD_PTR answer = 0;
  double start = Now();
  if (!::SendMessageTimeoutA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y), SMTO_NORMAL,
                             20000, &answer))
    return -1;
  double elapsed = Now() - start;
  ::SendMessageTimeoutA(window, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y), SMTO_NORMAL, 20000, &answer);
  return elapsed;
}

int Width(HWND window) {
  RECT r;
  ::GetWindowRect(window, &r);
  return r.right - r.left;
}

struct Program {
  const char* label;
  std::string exe;
  std::vector<double> open, turn;
};

// One start: false when the window never painted or did not react.
bool RunOnce(Program& program, DWORD wait, POINT body, POINT next) {
  std::string commandLine = "\"" + program.exe + "\"";
  std::string folder = program.exe.substr(0, program.exe.find_last_of("\\/") + 1);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &pi)) {
    std::fprintf(stderr, "cannot start %s\n", program.exe.c_str());
    return false;
  }
  HWND window = nullptr;
  bool painted = false;
  double start = Now();
  while (!painted && Now() - start < 20000) {
    if (!window) window = FindLauncher();
    painted = window && ::IsWindowVisible(window) && !::GetUpdateRect(window, nullptr, FALSE);
    if (!painted) ::Sleep(1);
  }
  bool ok = false;
  if (painted) {
    ::Sleep(wait);
    RECT compact;
    ::GetWindowRect(window, &compact);
    double open = Press(window, body);
    RECT expanded;
    ::GetWindowRect(window, &expanded);
    bool panelLeft = expanded.left < compact.left;
    POINT button = {next.x + (panelLeft ? kPanelWidth : 0), next.y};
    ::Sleep(wait);
    double turn = open >= 0 && Width(window) == kExpandedWidth ? Press(window, button) : -1;
    if (turn >= 0) {
      program.open.push_back(open);
      program.turn.push_back(turn);
      std::printf("%-6s open %7.2f ms  turn %7.2f ms\n", program.label, open, turn);
      std::fflush(stdout);
      ok = true;
    }
  }
  if (window) ::PostMessageA(window, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
    ::TerminateProcess(pi.hProcess, 1);
    ok = false;
  }
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  if (!ok) std::fprintf(stderr, "%s: no panel opened\n", program.exe.c_str());
  return ok;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5 || std::atoi(argv[1]) < 1) {
    std::fprintf(stderr, "usage: panel_bench N EXE_FULL EXE_EMPTY [WAIT_MS]\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  const DWORD wait = argc == 5 ? static_cast<DWORD>(std::atoi(argv[4])) : 0;
  g_hInstance = ::GetModuleHandleA(nullptr);
  const POINT body = BodyPoint(), next = NextButtonPoint();
  if (body.x < 0 || next.x < 0) {
    std::fprintf(stderr, "panel_bench: no point on the character or the button\n");
    return 1;
  }
  Program programs[2] = {{"full", argv[2], {}, {}}, {"empty", argv[3], {}, {}}};
  for (Program& p : programs) {  // warm-up, not counted
    if (!RunOnce(p, wait, body, next)) return 1;
    p.open.clear();
    p.turn.clear();
  }
  for (int i = 0; i < runs; ++i) {
    for (Program& p : programs) {
      if (!RunOnce(p, wait, body, next)) return 1;
    }
  }
  const Program& full = programs[0];
  const Program& empty = programs[1];
  std::printf("first opening: median full %.2f ms, empty %.2f ms, ratio %.2f\n", Median(full.open),
              Median(empty.open), Median(full.open) / Median(empty.open));
  std::printf("page turn:     median full %.2f ms, empty %.2f ms, ratio %.2f\n", Median(full.turn),
              Median(empty.turn), Median(full.turn) / Median(empty.turn));
  return 0;
}
