#include "framework/LateBound.h"

#include <string>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace {

FARPROC KernelFunction(const char* name) {
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  return kernel ? ::GetProcAddress(kernel, name) : nullptr;
}

}  // namespace

FARPROC LoadSystemFunction(const char* library, const char* name) {
  // A full path: never a DLL of that name planted beside the program. Its
  // own dependencies come from the system folder too: with the search flags
  // where the system has them (it then has AddDllDirectory), else from the
  // DLL's own folder first.
  char folder[MAX_PATH];
  UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::string path = std::string(folder, length) + "\\" + library;
  DWORD flags = KernelFunction("AddDllDirectory") ? LOAD_LIBRARY_SEARCH_SYSTEM32
                                                  : LOAD_WITH_ALTERED_SEARCH_PATH;
  HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr, flags);
  return module ? ::GetProcAddress(module, name) : nullptr;
}

void SearchSystemFolderForDlls() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  auto set = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void (*)()>(KernelFunction("SetDefaultDllDirectories")));
  if (set) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
