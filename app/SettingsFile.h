#pragma once
// The settings file: profile text beside the executable, named after it, with
// every value in one section. Nothing is cached; each call reads the file
// (app/ProfileFile.h: the platform's profile functions' answers, with the
// GBK bytes kept whatever the system's code page). A save goes through a
// copy, so that the file is at no moment missing, empty or partly written.
#include <windows.h>

class SettingsFile {
 public:
  constexpr SettingsFile() : m_szPath(), m_szSection(), m_szCopyPath() {}

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
  // value removes the key. During a save, the copy's key.
  BOOL WriteString(const char* key, const char* value);

  void WriteInt(const char* key, int value);

  // A save: BeginSave makes a fresh copy of the file (when there is one)
  // beside it, named like it with ".new" in place of ".ini", and sends every
  // later write there, so the text they leave is what they would have
  // written into the file itself; CommitSave puts the copy in the file's
  // place in one step. When that cannot be done, the copy's text is written
  // into the file itself, and when no copy can be made, the writes go there
  // directly. Either returns FALSE when the save
  // failed (CommitSave also when any write of the save did); a read-only file
  // is never written. Reads always see the file.
  BOOL BeginSave();
  BOOL CommitSave();

  const char* GetPath() const { return m_szPath; }
  // True when Bind found no room for a settings file in the executable's
  // path: there is none, and nothing is read or written.
  bool HasNoRoom() const { return m_bNoRoom; }
  const char* GetSection() const { return m_szSection; }

 private:
  void SetSection(const char* section);

  const char* WritePath() const {
    return m_bSaving && m_szCopyPath[0] != '\0' ? m_szCopyPath : m_szPath;
  }

  char m_szPath[MAX_PATH];
  char m_szSection[256];
  char m_szCopyPath[MAX_PATH];
  bool m_bSaving = false;
  bool m_bWriteFailed = false;  // sticky for the save in progress
  bool m_bNoRoom = false;
};

// The one settings file of the process.
extern SettingsFile g_settings;
