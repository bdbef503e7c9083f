#include "framework/SystemText.h"

#include <cstring>
#include <vector>

namespace gbk {

const char kNameWithoutGbkText[] =
    "这个文件的路径中有简体中文无法表示的字符，不能添加。\n请把文件或它所在的文件夹改名后再试。";

std::wstring Widen(const char* text) { return text ? Widen(text, std::strlen(text)) : L""; }

std::wstring Widen(const char* text, std::size_t length) {
  if (!text || length == 0 || length > 0x7fffffff) return std::wstring();
  int n = ::MultiByteToWideChar(kCodePage, 0, text, static_cast<int>(length), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(kCodePage, 0, text, static_cast<int>(length), &wide[0], n);
  return wide;
}

bool Narrow(const wchar_t* text, std::string* out) {
  out->clear();
  if (!text || !*text) return true;
  // No best fit: a character without a GBK form of its own must be noticed,
  // not quietly replaced by a look-alike.
  BOOL lost = FALSE;
  int n =
      ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, &lost);
  if (n <= 0 || lost) return false;
  std::vector<char> bytes(static_cast<std::size_t>(n));
  ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text, -1, bytes.data(), n, nullptr, &lost);
  if (lost) return false;
  out->assign(bytes.data());
  return true;
}

bool NarrowInto(const wchar_t* text, char* buffer, std::size_t size) {
  if (!buffer || size == 0) return false;
  buffer[0] = '\0';
  std::string narrow;
  if (!Narrow(text, &narrow) || narrow.size() >= size) return false;
  std::memcpy(buffer, narrow.c_str(), narrow.size() + 1);
  return true;
}

DWORD ModulePath(char* buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  buffer[0] = '\0';
  // Long enough for any path the system gives; a GBK form longer than size
  // counts as cut.
  std::vector<wchar_t> wide(32768);
  DWORD n = ::GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
  if (n == 0 || n >= wide.size()) return 0;
  std::string narrow;
  if (!Narrow(wide.data(), &narrow)) return 0;
  if (narrow.size() >= size) {
    std::memcpy(buffer, narrow.c_str(), size - 1);
    buffer[size - 1] = '\0';
    return size;
  }
  std::memcpy(buffer, narrow.c_str(), narrow.size() + 1);
  return static_cast<DWORD>(narrow.size());
}

HANDLE OpenFile(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  if (!path) return INVALID_HANDLE_VALUE;
  return ::CreateFileW(Widen(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
}

}  // namespace gbk
