#include "app/SettingsFile.h"

#include <cstdio>
#include <cstring>

#include "app/ProfileFile.h"
#include "app/core/PathText.h"
#include "framework/SystemText.h"

SettingsFile g_settings;

namespace {

// Copies src into dst (size bytes), cutting what does not fit.
void CopyBounded(char* dst, std::size_t size, const char* src) {
  std::size_t n = std::strlen(src);
  if (n >= size) n = size - 1;
  std::memcpy(dst, src, n);
  dst[n] = '\0';
}

}  // namespace

void SettingsFile::Bind(const char* section) {
  char module[MAX_PATH];
  DWORD length = gbk::ModulePath(module, MAX_PATH);
  // A module path that filled the buffer was cut short: it names no file of
  // ours. A bare ".ini" would be looked up in the Windows folder by the
  // profile functions and in the current folder by the file functions, so
  // there is no settings file at all: defaults, and nothing written.
  m_bNoRoom =
      length == 0 || length >= MAX_PATH || !DeriveSettingsPath(module, m_szPath, sizeof m_szPath);
  if (m_bNoRoom) m_szPath[0] = '\0';
  SetSection(section);
}

BOOL SettingsFile::BindTo(const char* path, const char* section) {
  m_szPath[0] = '\0';
  m_bNoRoom = false;
  if (!path || std::strlen(path) >= sizeof m_szPath) return FALSE;
  std::memcpy(m_szPath, path, std::strlen(path) + 1);
  SetSection(section);
  return TRUE;
}

void SettingsFile::SetSection(const char* section) {
  CopyBounded(m_szSection, sizeof m_szSection, section ? section : "setup");
}

int SettingsFile::GetString(const char* key, char* buffer, const char* defaultValue,
                            DWORD size) const {
  if (!buffer || size == 0) return 0;
  // Unbound, the profile functions would fall back to the system's own
  // profile; the default is the only sound answer.
  if (m_szPath[0] == '\0') {
    CopyBounded(buffer, size, defaultValue ? defaultValue : "");
    return static_cast<int>(std::strlen(buffer));
  }
  return static_cast<int>(ProfileGetString(m_szSection, key, defaultValue, buffer, size, m_szPath));
}

int SettingsFile::GetInt(const char* key, int defaultValue) const {
  if (m_szPath[0] == '\0') return defaultValue;
  return static_cast<int>(ProfileGetInt(m_szSection, key, defaultValue, m_szPath));
}

BOOL SettingsFile::WriteString(const char* key, const char* value) {
  if (m_szPath[0] == '\0' || !key) return FALSE;
  BOOL written = ProfileWriteString(m_szSection, key, value, WritePath());
  if (!written) m_bWriteFailed = true;
  return written;
}

void SettingsFile::WriteInt(const char* key, int value) {
  char text[32];
  std::snprintf(text, sizeof text, "%d", value);
  WriteString(key, text);
}

namespace {

bool FlushToDisk(const char* path) {
  HANDLE file =
      gbk::OpenFile(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool flushed = FlushFileBuffers(file) != FALSE;
  CloseHandle(file);
  return flushed;
}

// One rename over the old file. While another program has the file open
// the system may refuse (some refuse even when the reader shares it for
// deletion): try again for up to a second rather than lose the save.
bool ReplaceInOneStep(const char* copy, const char* path) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (MoveFileExW(gbk::Widen(copy).c_str(), gbk::Widen(path).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    DWORD error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) return false;
    Sleep(5);
  }
  return false;
}

// The copy's name: the settings path with ".new" in place of ".ini", so
// that it fits wherever the path fits; any other name gets ".new" added.
// False when there is no room, or the name would be the file itself.
bool CopyPathFor(const char* path, char* copy, std::size_t size) {
  const std::size_t n = std::strlen(path);
  const bool ini = n >= 4 && lstrcmpiA(path + n - 4, ".ini") == 0;
  const std::size_t stem = ini ? n - 4 : n;
  if (stem + 5 > size) return false;
  std::memcpy(copy, path, stem);
  std::memcpy(copy + stem, ".new", 5);
  return lstrcmpiA(copy, path) != 0;
}

// Removes a copy left behind, read-only or not.
void RemoveCopy(const char* copy) {
  std::wstring name = gbk::Widen(copy);
  SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(name.c_str());
}

}  // namespace

BOOL SettingsFile::BeginSave() {
  m_bSaving = false;
  m_bWriteFailed = false;
  m_szCopyPath[0] = '\0';
  if (m_szPath[0] == '\0') return FALSE;
  // A read-only file is the user's choice, binding whoever runs the launcher.
  DWORD attributes = GetFileAttributesW(gbk::Widen(m_szPath).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return FALSE;
  }
  m_bSaving = true;
  if (!CopyPathFor(m_szPath, m_szCopyPath, sizeof m_szCopyPath)) {
    m_szCopyPath[0] = '\0';  // no room for a copy: the writes go into the file
    return TRUE;
  }
  // The copy is made fresh: one left by a save that was cut short never
  // counts. Without a file yet, the copy starts empty.
  RemoveCopy(m_szCopyPath);
  std::wstring copy = gbk::Widen(m_szCopyPath);
  if (CopyFileW(gbk::Widen(m_szPath).c_str(), copy.c_str(), TRUE)) {
    SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
  } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
    m_szCopyPath[0] = '\0';  // no copy: the writes go into the file
  }
  return TRUE;
}

BOOL SettingsFile::CommitSave() {
  if (!m_bSaving) return FALSE;
  m_bSaving = false;
  if (m_szCopyPath[0] == '\0') return !m_bWriteFailed;
  // A copy that cannot take the file's place (another program holds the file
  // without sharing its deletion) still saves: its text goes into the file,
  // as the writes would have gone without a copy.
  bool saved =
      !m_bWriteFailed && FlushToDisk(m_szCopyPath) &&
      (ReplaceInOneStep(m_szCopyPath, m_szPath) || ProfileCopyText(m_szCopyPath, m_szPath));
  RemoveCopy(m_szCopyPath);
  return saved;
}
