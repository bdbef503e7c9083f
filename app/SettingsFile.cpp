#include "app/SettingsFile.h"

#include <cstdio>
#include <cstring>

#include "app/core/PathText.h"

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
  DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
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
      GetPrivateProfileStringA(m_szSection, key, defaultValue, buffer, size, m_szPath));
}

int SettingsFile::GetInt(const char* key, int defaultValue) const {
  if (m_szPath[0] == '\0') return defaultValue;
  return static_cast<int>(GetPrivateProfileIntA(m_szSection, key, defaultValue, m_szPath));
}

BOOL SettingsFile::WriteString(const char* key, const char* value) const {
  if (m_szPath[0] == '\0' || !key) return FALSE;
  return WritePrivateProfileStringA(m_szSection, key, value, m_szPath);
}

void SettingsFile::WriteInt(const char* key, int value) const {
  char text[32];
  std::snprintf(text, sizeof text, "%d", value);
  WriteString(key, text);
}
