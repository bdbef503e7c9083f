// Start-up benchmark: starts each of two programs N times, alternating, and
// measures the time from CreateProcess to the first paint of its window,
// then closes the window and waits for the process to end.
//
//   startup_bench N EXE_A TITLE_A EXE_B TITLE_B [ARGS_B]
//
// "Painted" is seen from outside: the window with the title exists, is
// visible, and has no update region left (the program's UpdateWindow has run
// its WM_PAINT). One warm-up run of each program is not counted. Prints each
// run, then per program the median, mean, minimum and maximum in
// milliseconds, and the ratios A / B of the medians and of the minimums.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Program {
  std::string exe;
  std::string title;
  std::string args;
  std::vector<double> times;  // milliseconds
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Returns the time to first paint in ms, or a negative value on failure.
double RunOnce(const Program& program, LARGE_INTEGER frequency) {
  std::string commandLine = "\"" + program.exe + "\"";
  if (!program.args.empty()) commandLine += " " + program.args;
  std::string folder = program.exe.substr(0, program.exe.find_last_of("\\/") + 1);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  LARGE_INTEGER start, now;
  ::QueryPerformanceCounter(&start);
  if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", program.exe.c_str(), ::GetLastError());
    return -1;
  }
  double elapsed = -1;
  HWND window = nullptr;
  for (;;) {
    ::QueryPerformanceCounter(&now);
    if (Milliseconds(start, now, frequency) > 20000) break;
    if (!window) window = ::FindWindowA(nullptr, program.title.c_str());
    if (window && ::IsWindowVisible(window) && !::GetUpdateRect(window, nullptr, FALSE)) {
      elapsed = Milliseconds(start, now, frequency);
      break;
    }
    if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;  // ended early
    ::Sleep(1);
  }
  if (window) ::PostMessageA(window, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
    ::TerminateProcess(pi.hProcess, 1);
    ::WaitForSingleObject(pi.hProcess, 5000);
    elapsed = -1;
  }
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  if (elapsed < 0) std::fprintf(stderr, "%s: no painted window\n", program.exe.c_str());
  return elapsed;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void Summary(const Program& p) {
  double sum = 0;
  for (double t : p.times) sum += t;
  std::printf(
      "%-10s median %8.1f ms  mean %8.1f  min %8.1f  max %8.1f  (n=%u)\n", p.title.c_str(),
      Median(p.times), sum / p.times.size(), *std::min_element(p.times.begin(), p.times.end()),
      *std::max_element(p.times.begin(), p.times.end()), static_cast<unsigned>(p.times.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6 || argc > 7 || std::atoi(argv[1]) < 1) {
    std::fprintf(stderr, "usage: startup_bench N EXE_A TITLE_A EXE_B TITLE_B [ARGS_B]\n");
    return 2;
  }
  int runs = std::atoi(argv[1]);
  Program programs[2] = {{argv[2], argv[3], "", {}},
                         {argv[4], argv[5], argc == 7 ? argv[6] : "", {}}};
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);

  for (Program& p : programs) {
    if (RunOnce(p, frequency) < 0) return 1;  // warm-up, not counted
  }
  for (int i = 0; i < runs; ++i) {
    for (Program& p : programs) {
      double t = RunOnce(p, frequency);
      if (t < 0) return 1;
      p.times.push_back(t);
      std::printf("run %2d  %-10s %8.1f ms\n", i + 1, p.title.c_str(), t);
      std::fflush(stdout);
    }
  }
  Summary(programs[0]);
  Summary(programs[1]);
  // Both figures: on a busy machine the minimum is the steadier one.
  const std::vector<double>& a = programs[0].times;
  const std::vector<double>& b = programs[1].times;
  std::printf("ratio %s / %s: medians %.2f, minimums %.2f\n", programs[0].title.c_str(),
              programs[1].title.c_str(), Median(a) / Median(b),
              *std::min_element(a.begin(), a.end()) / *std::min_element(b.begin(), b.end()));
  return 0;
}
