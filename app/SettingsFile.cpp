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
  // ours, so it falls back to ".ini" like a path without any ".".
  if (length == 0 || length >= MAX_PATH) module[0] = '\0';
  DeriveSettingsPath(module, m_szPath, sizeof m_szPath);
  SetSection(section);
}

BOOL SettingsFile::BindTo(const char* path, const char* section) {
  m_szPath[0] = '\0';
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
  return static_cast<int>(
      ProfileGetString(m_szSection, key, defaultValue, buffer, size, m_szPath));
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

// The profile functions may keep a file's text in memory; this writes out
// and forgets what they hold for path, so the next call reads the disk.
void ForgetProfileCache(const char* path) {
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path);
}

bool FlushToDisk(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
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
    if (MoveFileExA(copy, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DWORD error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) return false;
    Sleep(5);
  }
  return false;
}

}  // namespace

BOOL SettingsFile::BeginSave() {
  m_bSaving = false;
  m_bWriteFailed = false;
  m_szCopyPath[0] = '\0';
  if (m_szPath[0] == '\0') return FALSE;
  int n = std::snprintf(m_szCopyPath, sizeof m_szCopyPath, "%s.new", m_szPath);
  if (n < 0 || static_cast<std::size_t>(n) >= sizeof m_szCopyPath) {
    m_szCopyPath[0] = '\0';
    return FALSE;
  }
  // Without a file yet, the copy starts empty; a copy left by a save that was
  // cut short never counts.
  DeleteFileA(m_szCopyPath);
  if (!CopyFileA(m_szPath, m_szCopyPath, FALSE) && GetLastError() != ERROR_FILE_NOT_FOUND) {
    return FALSE;
  }
  ForgetProfileCache(m_szCopyPath);
  m_bSaving = true;
  return TRUE;
}

BOOL SettingsFile::CommitSave() {
  if (!m_bSaving) return FALSE;
  m_bSaving = false;
  ForgetProfileCache(m_szCopyPath);
  if (!m_bWriteFailed && FlushToDisk(m_szCopyPath) && ReplaceInOneStep(m_szCopyPath, m_szPath)) {
    return TRUE;
  }
  DeleteFileA(m_szCopyPath);
  return FALSE;
}
