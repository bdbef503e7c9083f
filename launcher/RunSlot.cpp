// Starting a slot's target: the shell opens it the way it opens that kind of
// file, in the folder that holds it; a failure is reported, the slot kept.
#include <windows.h>

#include <cstdint>

#include "app/LaunchPage.h"
#include "framework/LateShell.h"
#include "framework/MessageBox.h"
#include "launcher/LaunchRules.h"

void LaunchPage::RunSlot(HWND owner, int slot) const {
  const char* target = GetExec(slot);
  if (!target) return;
  char folder[264];
  // A folder too long for the buffer gets none: the shell then starts the
  // target from the current folder or reports it like any other failure.
  const char* directory = WorkingDirectoryOf(target, folder, sizeof folder) ? folder : nullptr;
  HINSTANCE result = late::Execute(owner, nullptr, target, nullptr, directory, SW_SHOWNORMAL);
  const char* failure = LaunchFailureText(reinterpret_cast<std::intptr_t>(result));
  if (failure) AfxMessageBox(failure, MB_OK);
}
