#include "framework/LateBound.h"

#include <string>

FARPROC LoadSystemFunction(const char* library, const char* name) {
  // A full path: never a DLL of that name planted beside the program.
  char folder[MAX_PATH];
  UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::string path = std::string(folder, length) + "\\" + library;
  HMODULE module = ::LoadLibraryA(path.c_str());
  return module ? ::GetProcAddress(module, name) : nullptr;
}
