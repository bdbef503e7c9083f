// The program's entry point and its one application object.
#include <windows.h>

#include "app/LauncherApp.h"
#include "framework/LateBound.h"

static CLauncherApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  SearchSystemFolderForDlls();
  return AfxWinMain(instance, showCommand);
}
