#include "archive/ResourceArchive.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "archive/ArchiveFormat.h"
#include "common/HeapString.h"
#include "framework/MessageBox.h"
#include "framework/ModuleState.h"
#include "framework/SystemText.h"
#include "resources/resource.h"

ResourceArchive g_archive;

namespace {

void FreeString(char** s) {
  std::free(*s);
  *s = nullptr;
}

// dir + name + ext into a MAX_PATH buffer; false when it would not fit, which
// callers treat like a file that does not exist.
bool BuildPath(char* out, const char* dir, const char* name, const char* ext = "") {
  char* file = ConcatStrings(name, ext);
  bool ok = file && JoinPath(out, MAX_PATH, dir, file);
  std::free(file);
  return ok;
}

// The size of an open file, or -1 when it cannot be had.
long long FileLength(HANDLE file) {
  DWORD high = 0;
  DWORD low = GetFileSize(file, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return -1;
  return (static_cast<long long>(high) << 32) | low;
}

// Reads exactly length bytes from the file's current position into a fresh
// buffer; null when the read fails or runs short.
unsigned char* ReadExactly(HANDLE file, DWORD length) {
  unsigned char* buffer = static_cast<unsigned char*>(std::malloc(length));
  if (!buffer) return nullptr;
  DWORD got = 0;
  if (!ReadFile(file, buffer, length, &got, nullptr) || got != length) {
    std::free(buffer);
    return nullptr;
  }
  return buffer;
}

// The install key's "path" value in GBK; false when it is missing or has no
// GBK form.
bool ReadInstallPath(HKEY key, char* path, std::size_t size) {
  wchar_t value[MAX_PATH];
  DWORD type = REG_SZ;
  DWORD bytes = (MAX_PATH - 1) * sizeof(wchar_t);  // room for a terminator the value may lack
  if (RegQueryValueExW(key, L"path", nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes) !=
      ERROR_SUCCESS) {
    return false;
  }
  value[bytes / sizeof(wchar_t)] = L'\0';
  return gbk::NarrowInto(value, path, size);
}

}  // namespace

int ResourceArchive::Open(int openMode, const char* name, const char* subKey) {
  Close();  // a second Open starts afresh instead of leaking the first
  reportMissing = true;

  char module[MAX_PATH];
  DWORD n = gbk::ModulePath(module, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) n = 0;  // failed or truncated: resolve against the current dir
  module[n] = '\0';
  module[archive::ProgramDirLength(module)] = '\0';
  programDir = DupString(module);

  if (subKey) {
    HKEY key = OpenInstallKey(subKey);
    if (key) {
      char path[MAX_PATH];
      if (ReadInstallPath(key, path, sizeof path)) {
        installDir = DupString(path);
        installImageDir = ConcatStrings(installDir, "image\\");
      }
      RegCloseKey(key);
    }
  }
  programImageDir = ConcatStrings(programDir, "image\\");

  mode = openMode;
  switch (mode) {
    case ArchiveMode_Files:
      archiveName = DupString(name ? name : "archive");
      return LoadIndexFile();
    case ArchiveMode_Embedded:
      return LoadIndexResource();
    default:
      return 1;
  }
}

int ResourceArchive::OpenResources(int indexResource, int dataResource) {
  Close();
  mode = ArchiveMode_Embedded;
  indexResource_ = indexResource;
  dataResource_ = dataResource;
  return LoadIndexResource();
}

void ResourceArchive::Close() {
  FreeIndex();
  FreeString(&programDir);
  FreeString(&programImageDir);
  FreeString(&installDir);
  FreeString(&installImageDir);
  FreeString(&archiveName);
  mode = 0;
  reportMissing = false;
}

HKEY ResourceArchive::OpenInstallKey(const char* subKey) {
  if (!subKey) return nullptr;
  HKEY software = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &software) != ERROR_SUCCESS) {
    return nullptr;
  }
  // Each level is created when missing, so a lookup leaves the chain behind.
  HKEY maker = nullptr, sub = nullptr, install = nullptr;
  if (RegCreateKeyExA(software, "TARNWICK HOUSE", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &maker,
                      nullptr) == ERROR_SUCCESS &&
      RegCreateKeyExA(maker, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr) ==
          ERROR_SUCCESS &&
      RegCreateKeyExA(sub, "install", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &install, nullptr) !=
          ERROR_SUCCESS) {
    install = nullptr;
  }
  if (sub) RegCloseKey(sub);
  if (maker) RegCloseKey(maker);
  RegCloseKey(software);
  return install;
}

bool ResourceArchive::TakeIndex(const unsigned char* bytes, std::size_t size) {
  // Shorter than the bucket table it cannot be an index; far larger, not ours.
  if (size < archive::kFirstBucketOffset || size > archive::kMaxIndexSize) return false;
  index_ = static_cast<unsigned char*>(std::malloc(size));
  if (!index_) return false;
  std::memcpy(index_, bytes, size);
  indexSize_ = size;
  indexLoaded_ = true;
  return true;
}

int ResourceArchive::LoadIndexFile() {
  FreeIndex();
  char path[MAX_PATH];
  if (!programDir || !archiveName || !BuildPath(path, programDir, archiveName, ".idx")) return 0;
  HANDLE file = gbk::OpenFile(path, GENERIC_READ, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
  if (file == INVALID_HANDLE_VALUE) return 0;
  long long size = FileLength(file);
  unsigned char* bytes = nullptr;
  if (size >= static_cast<long long>(archive::kFirstBucketOffset) &&
      size <= static_cast<long long>(archive::kMaxIndexSize)) {
    bytes = ReadExactly(file, static_cast<DWORD>(size));
  }
  CloseHandle(file);
  bool loaded = bytes && TakeIndex(bytes, static_cast<std::size_t>(size));
  std::free(bytes);
  return loaded ? 1 : 0;
}

int ResourceArchive::LoadIndexResource() {
  FreeIndex();
  HRSRC found = FindResourceA(g_hInstance, MAKEINTRESOURCEA(indexResource_), ARCHIVE_RESOURCE_TYPE);
  if (!found) return 0;
  HGLOBAL loaded = LoadResource(g_hInstance, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return 0;
  return TakeIndex(static_cast<const unsigned char*>(bytes), SizeofResource(g_hInstance, found))
             ? 1
             : 0;
}

void ResourceArchive::FreeIndex() {
  std::free(index_);
  index_ = nullptr;
  indexSize_ = 0;
  indexLoaded_ = false;
}

std::uint32_t ResourceArchive::FindEntry(const char* name) const {
  if (!indexLoaded_) return 0;
  return archive::FindEntry(index_, indexSize_, name);
}

void ResourceArchive::ReportMissing(const char* name) const {
  // The entry's name, never the path: the user knows the artwork, not our folders.
  char* text = ConcatStrings(name ? name : "", "没有找到。");
  if (text) ShowMessageBox(g_hMainWnd, text, "Error", MB_OK);
  std::free(text);
}

unsigned char* ResourceArchive::ReadEntry(const char* path, const char* name, int* length) {
  return mode == ArchiveMode_Embedded ? ReadEmbedded(name, length) : ReadFiles(path, name, length);
}

unsigned char* ResourceArchive::ReadEmbedded(const char* name, int* length) {
  // A quiet attempt (the install directory) stays quiet here too, so that one
  // missing entry is reported once, by the attempt that follows it.
  if (FindEntry(name) == 0) {
    if (reportMissing) ReportMissing(name);
    return nullptr;
  }
  HRSRC found = FindResourceA(g_hInstance, MAKEINTRESOURCEA(dataResource_), ARCHIVE_RESOURCE_TYPE);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(g_hInstance, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return nullptr;
  int n = 0;
  unsigned char* body =
      archive::CopyEntry(index_, indexSize_, static_cast<const unsigned char*>(data),
                         SizeofResource(g_hInstance, found), name, &n);
  if (!body) {
    // Empty, or its body lies outside the data: as good as missing.
    if (reportMissing) ReportMissing(name);
    return nullptr;
  }
  if (length) *length = n;
  return body;
}

unsigned char* ResourceArchive::ReadFiles(const char* path, const char* name, int* length) {
  HANDLE file = path ? gbk::OpenFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL)
                     : INVALID_HANDLE_VALUE;
  long long size = -1;
  if (file != INVALID_HANDLE_VALUE) {
    size = FileLength(file);  // a loose file wins, even an empty one
  } else {
    std::uint32_t position = FindEntry(name);
    archive::EntryView entry;
    char dataPath[MAX_PATH];
    if (position == 0 || !archive::EntryAt(index_, indexSize_, position, &entry) ||
        !BuildPath(dataPath, programDir ? programDir : "", archiveName ? archiveName : "",
                   ".dat")) {
      if (reportMissing) ReportMissing(name);
      return nullptr;
    }
    file = gbk::OpenFile(dataPath, GENERIC_READ, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) {
      if (reportMissing) ReportMissing(name);
      return nullptr;
    }
    long long dataSize = FileLength(file);
    LONG high = 0;
    if (dataSize >= 0 && archive::BodyInside(entry, static_cast<std::uint64_t>(dataSize)) &&
        !(SetFilePointer(file, static_cast<LONG>(entry.dataOffset), &high, FILE_BEGIN) ==
              INVALID_SET_FILE_POINTER &&
          GetLastError() != NO_ERROR)) {
      size = entry.dataLength;
    }
  }
  unsigned char* body = nullptr;
  if (size > 0 && size <= INT_MAX) body = ReadExactly(file, static_cast<DWORD>(size));
  CloseHandle(file);
  if (!body) {
    if (reportMissing) ReportMissing(name);
    return nullptr;
  }
  archive::Unscramble(body, static_cast<std::size_t>(size));
  if (length) *length = static_cast<int>(size);
  return body;
}

unsigned char* ResourceArchive::ReadQuietly(const char* dir, const char* name, int* length) {
  char path[MAX_PATH];
  bool saved = reportMissing;
  reportMissing = false;
  unsigned char* body = ReadEntry(BuildPath(path, dir, name) ? path : nullptr, name, length);
  reportMissing = saved;
  return body;
}

unsigned char* ResourceArchive::LoadEntry(const char* name, int* length) {
  if (!name) return nullptr;
  if (installDir) {
    unsigned char* body = ReadQuietly(installDir, name, length);
    if (body) return body;
  }
  char path[MAX_PATH];
  if (programDir) {
    return ReadEntry(BuildPath(path, programDir, name) ? path : nullptr, name, length);
  }
  return ReadEntry(name, name, length);
}

unsigned char* ResourceArchive::LoadImageEntry(const char* name, ImageSize* size, int* length) {
  int n = 0;
  unsigned char* body = nullptr;
  if (name && installImageDir) body = ReadQuietly(installImageDir, name, &n);
  if (name && !body) {
    char path[MAX_PATH];
    if (programDir) {
      body = ReadEntry(BuildPath(path, programImageDir, name) ? path : nullptr, name, &n);
    } else {
      body = ReadEntry(name, name, &n);
    }
  }
  if (size) {
    size->width = 0;
    size->height = 0;
    // Too short to hold a bitmap header: (0, 0) rather than a read past the end.
    if (body) archive::ImageSizeOf(body, static_cast<std::size_t>(n), &size->width, &size->height);
  }
  if (body && length) *length = n;
  return body;
}
