#pragma once
// Shared by the archive's Win32 tests: a message box recorder, files beside
// the test program (removed again after each test) and registry clean-up.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "archive/ResourceArchive.h"
#include "framework/MessageBox.h"
#include "framework/ModuleState.h"

struct ShownBox {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};

inline std::vector<ShownBox> g_boxes;

inline int RecordBox(HWND owner, const char* text, const char* caption, UINT type) {
  g_boxes.push_back({owner, text, caption, type});
  return IDOK;
}

// What the missing-entry box must say, as GBK bytes: name + "没有找到。".
inline std::string MissingText(const std::string& name) {
  return name + "\xC3\xBB\xD3\xD0\xD5\xD2\xB5\xBD\xA1\xA3";
}

inline std::string ExeDir() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of("\\") + 1);
}

// Takes a returned buffer as bytes and frees it; "<none>" for null.
inline std::string Take(unsigned char* body, int length) {
  if (!body) return "<none>";
  std::string s(reinterpret_cast<char*>(body), static_cast<std::size_t>(length));
  std::free(body);
  return s;
}

class ArchiveWin32Test : public testing::Test {
 protected:
  void SetUp() override {
    g_hInstance = GetModuleHandleA(nullptr);
    g_hMainWnd = nullptr;
    g_boxes.clear();
    previousHook_ = SetMessageBoxHook(RecordBox);
  }

  void TearDown() override {
    archive_.Close();
    SetMessageBoxHook(previousHook_);
    for (auto it = files_.rbegin(); it != files_.rend(); ++it) DeleteFileA(it->c_str());
    for (auto it = dirs_.rbegin(); it != dirs_.rend(); ++it) RemoveDirectoryA(it->c_str());
    for (const std::string& sub : subKeys_) DeleteInstallKeys(sub);
    if (g_hMainWnd) DestroyWindow(g_hMainWnd);
    g_hMainWnd = nullptr;
  }

  // Writes bytes to path and remembers it for removal.
  void Write(const std::string& path, const std::string& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    CloseHandle(f);
    files_.push_back(path);
  }

  void MakeDir(const std::string& path) {
    CreateDirectoryA(path.c_str(), nullptr);
    dirs_.push_back(path);
  }

  // A fresh folder under the temp folder, ending with a backslash.
  std::string TempDir(const char* tag) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string dir =
        std::string(temp) + "dida-archive-" + tag + "-" + std::to_string(GetCurrentProcessId());
    MakeDir(dir);
    return dir + "\\";
  }

  // The registry chain Open leaves behind for subKey; removed in TearDown.
  void ForgetInstallKeysLater(const std::string& subKey) { subKeys_.push_back(subKey); }

  static void DeleteInstallKeys(const std::string& subKey) {
    std::string base = "Software\\TARNWICK HOUSE\\" + subKey;
    RegDeleteKeyA(HKEY_CURRENT_USER, (base + "\\install").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, base.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\TARNWICK HOUSE");  // only when empty
  }

  static void SetInstallPath(const std::string& subKey, const std::string& value) {
    HKEY key = nullptr;
    std::string path = "Software\\TARNWICK HOUSE\\" + subKey + "\\install";
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "path", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  std::string Load(const char* name) {
    int length = -1;
    unsigned char* body = archive_.LoadEntry(name, &length);
    return Take(body, length);
  }

  std::string LoadImage(const char* name, ImageSize* size) {
    int length = -1;
    unsigned char* body = archive_.LoadImageEntry(name, size, &length);
    return Take(body, length);
  }

  ResourceArchive archive_;

 private:
  MessageBoxHook previousHook_ = nullptr;
  std::vector<std::string> files_;
  std::vector<std::string> dirs_;
  std::vector<std::string> subKeys_;
};
