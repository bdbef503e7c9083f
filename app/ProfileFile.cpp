#include "app/ProfileFile.h"

#include <string>

#include "app/core/ProfileText.h"
#include "framework/SystemText.h"

namespace {

// Far beyond any settings file; a bigger one is not read at all.
const DWORD kMaxFileSize = 16u << 20;

enum class Read { kText, kMissing, kFailed };

// The file's bytes; a missing file reads as no text.
Read ReadFileText(const char* path, std::string* text) {
  text->clear();
  HANDLE file =
      gbk::OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Read::kMissing
                                                                          : Read::kFailed;
  }
  DWORD high = 0;
  DWORD size = GetFileSize(file, &high);
  bool ok = size != INVALID_FILE_SIZE && high == 0 && size <= kMaxFileSize;
  if (ok && size > 0) {
    text->resize(size);
    DWORD got = 0;
    ok = ReadFile(file, &(*text)[0], size, &got, nullptr) && got == size;
  }
  CloseHandle(file);
  if (!ok) text->clear();
  return ok ? Read::kText : Read::kFailed;
}

bool WriteFileText(const char* path, const std::string& text) {
  HANDLE file = gbk::OpenFile(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = text.empty() ||
            (WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
             written == text.size());
  return CloseHandle(file) && ok;
}

}  // namespace

DWORD ProfileGetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                       DWORD size, const char* path) {
  std::string text;
  ReadFileText(path, &text);  // unreadable: the default, as with no file
  return static_cast<DWORD>(profile::GetString(text, section, key, defaultValue, buffer, size));
}

UINT ProfileGetInt(const char* section, const char* key, int defaultValue, const char* path) {
  std::string text;
  ReadFileText(path, &text);
  return static_cast<UINT>(profile::GetInt(text, section, key, defaultValue));
}

BOOL ProfileWriteString(const char* section, const char* key, const char* value, const char* path) {
  if (!section || !key) return FALSE;
  std::string text;
  if (ReadFileText(path, &text) == Read::kFailed) return FALSE;
  if (!profile::SetString(&text, section, key, value)) return TRUE;  // nothing to change
  return WriteFileText(path, text) ? TRUE : FALSE;
}

BOOL ProfileCopyText(const char* from, const char* to) {
  std::string text;
  return ReadFileText(from, &text) == Read::kText && WriteFileText(to, text) ? TRUE : FALSE;
}
