#pragma once
// The settings file: profile text beside the executable, named after it, with
// every value in one section. Nothing is cached; each call goes to the
// platform's profile functions.
#include <windows.h>

class SettingsFile {
 public:
  constexpr SettingsFile() : m_szPath(), m_szSection() {}

  // Binds to the executable's settings file (its path with the extension
  // replaced by ".ini") and to section; a null section selects "setup".
  void Bind(const char* section);

  // Binds to an explicit file. Returns FALSE, leaving the file unbound, when
  // path is null or does not fit the path buffer.
  BOOL BindTo(const char* path, const char* section);

  // Reads key into buffer (size bytes, terminator included), or defaultValue
  // when the key or the file is missing. Returns the characters placed.
  int GetString(const char* key, char* buffer, const char* defaultValue, DWORD size) const;

  // Reads key as a decimal integer, or defaultValue when it is missing.
  int GetInt(const char* key, int defaultValue) const;

  // Sets key to value, creating file, section and key as needed; a null
  // value removes the key.
  BOOL WriteString(const char* key, const char* value) const;

  void WriteInt(const char* key, int value) const;

  const char* GetPath() const { return m_szPath; }
  const char* GetSection() const { return m_szSection; }

 private:
  void SetSection(const char* section);

  char m_szPath[MAX_PATH];
  char m_szSection[256];
};

// The one settings file of the process.
extern SettingsFile g_settings;
