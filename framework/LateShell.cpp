#include "framework/LateShell.h"

#include <cstring>
#include <string>
#include <vector>

#include "framework/LateBound.h"
#include "framework/SystemText.h"

namespace late {
namespace {

LateBound<decltype(::ExtractAssociatedIconW)> g_extractIcon("shell32.dll",
                                                            "ExtractAssociatedIconW");
LateBound<decltype(::ShellExecuteW)> g_execute("shell32.dll", "ShellExecuteW");
LateBound<decltype(::DragQueryFileW)> g_queryFile("shell32.dll", "DragQueryFileW");
LateBound<decltype(::DragQueryPoint)> g_queryPoint("shell32.dll", "DragQueryPoint");
LateBound<decltype(::DragFinish)> g_finish("shell32.dll", "DragFinish");
long g_iconExtractions = 0;

// A null text stays null for the shell (its default); others are converted.
const wchar_t* OrNull(const char* text, const std::wstring& wide) {
  return text ? wide.c_str() : nullptr;
}

}  // namespace

HICON AssociatedIcon(HINSTANCE instance, char* path, DWORD size, WORD* index) {
  ++g_iconExtractions;
  auto* extract = g_extractIcon.Get();
  if (!extract || !path) return nullptr;
  // The shell reads and rewrites a MAX_PATH path in place.
  std::wstring wide = gbk::Widen(path);
  if (wide.size() >= MAX_PATH) return nullptr;
  wchar_t buffer[MAX_PATH + 1] = {};
  std::memcpy(buffer, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  HICON icon = extract(instance, buffer, index);
  buffer[MAX_PATH] = L'\0';
  std::string rewritten;
  if (icon && gbk::Narrow(buffer, &rewritten) && rewritten.size() < size) {
    std::memcpy(path, rewritten.c_str(), rewritten.size() + 1);
  }
  return icon;
}

HICON AssociatedIconAt(HINSTANCE instance, char* path, DWORD size, int pixels) {
  WORD index = 0;
  HICON icon = AssociatedIcon(instance, path, size, &index);
  if (!icon || pixels == 32) return icon;
  std::wstring wide = gbk::Widen(path);
  HICON sized = nullptr;
  if (::PrivateExtractIconsW(wide.c_str(), index, pixels, pixels, &sized, nullptr, 1, 0) == 1 &&
      sized) {
    ::DestroyIcon(icon);
    return sized;
  }
  return icon;
}

HINSTANCE Execute(HWND owner, const char* verb, const char* file, const char* parameters,
                  const char* directory, int show) {
  auto* execute = g_execute.Get();
  if (!execute) return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
  std::wstring wideVerb = gbk::Widen(verb), wideFile = gbk::Widen(file),
               wideParameters = gbk::Widen(parameters), wideDirectory = gbk::Widen(directory);
  return execute(owner, OrNull(verb, wideVerb), OrNull(file, wideFile),
                 OrNull(parameters, wideParameters), OrNull(directory, wideDirectory), show);
}

UINT DroppedFileCount(HDROP drop) {
  auto* query = g_queryFile.Get();
  return query ? query(drop, 0xFFFFFFFF, nullptr, 0) : 0;
}

UINT DroppedFile(HDROP drop, UINT index, char* file, UINT size, bool* withoutGbk) {
  *withoutGbk = false;
  if (!file || size == 0) return 0;
  file[0] = '\0';
  auto* query = g_queryFile.Get();
  if (!query) return 0;
  UINT length = query(drop, index, nullptr, 0);
  if (length == 0 || length >= 32768) return 0;
  std::vector<wchar_t> wide(length + 1, L'\0');
  if (query(drop, index, wide.data(), length + 1) != length) return 0;
  std::string narrow;
  if (!gbk::Narrow(wide.data(), &narrow)) {
    *withoutGbk = true;
    return 0;
  }
  if (narrow.empty() || narrow.size() >= size) return 0;
  std::memcpy(file, narrow.c_str(), narrow.size() + 1);
  return static_cast<UINT>(narrow.size());
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
