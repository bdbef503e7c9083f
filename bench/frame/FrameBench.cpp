// The cost of the window's two drawing steps, measured in one run against
// memcpy of its back buffer: DrawControls (buttons and caption, on every
// change of the hot item) and RedrawAll (the whole expanded frame, on presses
// and blink steps). Prints the mean time of each and the ratios.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/LaunchPage.h"
#include "app/LauncherApp.h"
#include "archive/ResourceArchive.h"
#include "bench/Clock.h"
#include "framework/ModuleState.h"
#include "imaging/DrawSurface.h"
#include "launcher/MainFrame.h"

namespace {

// Mean seconds per call of f over `rounds` calls.
template <class F>
double Mean(int rounds, F f) {
  double start = Seconds();
  for (int i = 0; i < rounds; ++i) f(i);
  return (Seconds() - start) / rounds;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 2000;
  g_hInstance = ::GetModuleHandleA(nullptr);
  if (!g_archive.Open(ArchiveMode_Embedded, nullptr, nullptr)) {
    std::fprintf(stderr, "frame_bench: no embedded archive\n");
    return 1;
  }
  CLauncherApp app;
  app.m_pPages = new LaunchPage[6];
  // A full page: eight icons and comments, as a user's page would hold.
  char self[MAX_PATH];
  ::GetModuleFileNameA(nullptr, self, sizeof self);
  for (int slot = 0; slot < 8; ++slot) app.m_pPages[0].SetFromFile(slot, self);
  app.m_pPages[0].SetName("常用的程序和文件");

  auto* frame = new CMainFrame;
  app.m_pMainWnd = frame;
  frame->CreateLauncher();
  g_hMainWnd = frame->m_hWnd;
  DrawSurface::SetReferenceWindow(g_hMainWnd);
  frame->charLeft = 400;
  frame->charTop = 200;
  frame->DrawExpanded();

  // The back buffer's bytes, copied the plain way.
  const std::size_t bytes = 276u * 132u * 4u;
  std::vector<unsigned char> from(bytes, 1), to(bytes);
  double copy = Mean(rounds * 10, [&](int i) {
    from[i % bytes] = static_cast<unsigned char>(i);
    std::memcpy(to.data(), from.data(), bytes);
  });
  double controls = Mean(rounds, [&](int) { frame->DrawControls(0); });
  double redraw = Mean(rounds, [&](int) { frame->RedrawAll(); });

  std::printf("memcpy of the 276x132 back buffer  %9.2f us\n", copy * 1e6);
  std::printf("DrawControls (expanded)            %9.2f us  ratio %.2f\n", controls * 1e6,
              controls / copy);
  std::printf("RedrawAll (expanded, 8 icons)      %9.2f us  ratio %.2f\n", redraw * 1e6,
              redraw / copy);
  std::printf("(%d rounds; checksum %u)\n", rounds, to[rounds % bytes]);

  ::DestroyWindow(g_hMainWnd);
  g_archive.Close();
  return 0;
}
