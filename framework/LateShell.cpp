#include "framework/LateShell.h"

#include "framework/LateBound.h"

namespace late {
namespace {

LateBound<decltype(::ExtractAssociatedIconA)> g_extractIcon("shell32.dll",
                                                            "ExtractAssociatedIconA");
LateBound<decltype(::ShellExecuteA)> g_execute("shell32.dll", "ShellExecuteA");
LateBound<decltype(::DragQueryFileA)> g_queryFile("shell32.dll", "DragQueryFileA");
LateBound<decltype(::DragQueryPoint)> g_queryPoint("shell32.dll", "DragQueryPoint");
LateBound<decltype(::DragFinish)> g_finish("shell32.dll", "DragFinish");
long g_iconExtractions = 0;

}  // namespace

HICON ExtractAssociatedIconA(HINSTANCE instance, char* path, WORD* index) {
  ++g_iconExtractions;
  auto* extract = g_extractIcon.Get();
  return extract ? extract(instance, path, index) : nullptr;
}

HINSTANCE ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters,
                        const char* directory, int show) {
  auto* execute = g_execute.Get();
  if (!execute) return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
  return execute(owner, verb, file, parameters, directory, show);
}

UINT DragQueryFileA(HDROP drop, UINT index, char* file, UINT size) {
  auto* query = g_queryFile.Get();
  return query ? query(drop, index, file, size) : 0;
}

BOOL DragQueryPoint(HDROP drop, POINT* point) {
  auto* query = g_queryPoint.Get();
  if (query) return query(drop, point);
  *point = POINT{0, 0};
  return FALSE;
}

void DragFinish(HDROP drop) {
  if (auto* finish = g_finish.Get()) finish(drop);
}

long IconExtractions() { return g_iconExtractions; }

}  // namespace late
