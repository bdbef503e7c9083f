#include "app/SettingsFile.h"

#include <cstdio>
#include <cstring>
#include <vector>

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
  SetFileAttributesA(copy, FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(copy);
}

// The save's section as the copy holds it, written into the file itself by
// the profile functions: the same keys the copy's route would have put there.
bool WriteSectionInPlace(const char* section, const char* copy, const char* path) {
  std::vector<char> keys(1 << 16);
  for (;;) {
    DWORD n =
        GetPrivateProfileSectionA(section, keys.data(), static_cast<DWORD>(keys.size()), copy);
    if (n + 2 < keys.size()) break;
    if (keys.size() >= (1u << 24)) return false;
    keys.resize(keys.size() * 2);
  }
  bool written = WritePrivateProfileSectionA(section, keys.data(), path) != FALSE;
  ForgetProfileCache(path);
  return written;
}

}  // namespace

BOOL SettingsFile::BeginSave() {
  m_bSaving = false;
  m_bWriteFailed = false;
  m_szCopyPath[0] = '\0';
  if (m_szPath[0] == '\0') return FALSE;
  // A read-only file is the user's choice, binding whoever runs the launcher.
  DWORD attributes = GetFileAttributesA(m_szPath);
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
  if (CopyFileA(m_szPath, m_szCopyPath, TRUE)) {
    SetFileAttributesA(m_szCopyPath, FILE_ATTRIBUTE_NORMAL);
  } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
    m_szCopyPath[0] = '\0';  // no copy: the writes go into the file
    return TRUE;
  }
  ForgetProfileCache(m_szCopyPath);
  return TRUE;
}

BOOL SettingsFile::CommitSave() {
  if (!m_bSaving) return FALSE;
  m_bSaving = false;
  if (m_szCopyPath[0] == '\0') {
    ForgetProfileCache(m_szPath);
    return !m_bWriteFailed;
  }
  ForgetProfileCache(m_szCopyPath);
  // A copy that cannot take the file's place (another program holds the file
  // without sharing its deletion) still saves: its keys go into the file.
  bool saved = !m_bWriteFailed && FlushToDisk(m_szCopyPath) &&
               (ReplaceInOneStep(m_szCopyPath, m_szPath) ||
                WriteSectionInPlace(m_szSection, m_szCopyPath, m_szPath));
  RemoveCopy(m_szCopyPath);
  return saved;
}
