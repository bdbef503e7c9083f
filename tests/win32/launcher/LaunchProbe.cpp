// A target for the launch tests: writes its working directory into the file
// named by DIDA_LAUNCH_MARKER and ends.
#include <windows.h>

#include <cstdio>

int main() {
  char marker[MAX_PATH];
  char folder[MAX_PATH];
  DWORD n = ::GetEnvironmentVariableA("DIDA_LAUNCH_MARKER", marker, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;
  DWORD length = ::GetCurrentDirectoryA(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) return 1;
  // Written under another name first, so the reader never sees half a file.
  char partial[MAX_PATH + 8];
  std::snprintf(partial, sizeof partial, "%s.tmp", marker);
  FILE* f = std::fopen(partial, "wb");
  if (!f) return 1;
  std::fwrite(folder, 1, length, f);
  std::fclose(f);
  return ::MoveFileA(partial, marker) ? 0 : 1;
}
