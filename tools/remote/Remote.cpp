// dida-remote: drives a running launcher from scripts.
//   dida-remote command ID   sends WM_COMMAND ID (57665 is Exit, as in the menu)
//   dida-remote message MSG WPARAM   sends a window message (e.g. the end of a session)
//   dida-remote rect         prints the launcher window's rectangle: left top right bottom
// Exit code 0 on success, 1 when no launcher runs, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: dida-remote command ID | message MSG WPARAM | rect\n");
    return 2;
  }
  HWND launcher = ::FindWindowA(nullptr, "dida");
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
  if (std::strcmp(argv[1], "rect") == 0) {
    RECT r;
    ::GetWindowRect(launcher, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  std::fprintf(stderr, "dida-remote: unknown command %s\n", argv[1]);
  return 2;
}
