#pragma once
// The process-wide archive that holds the artwork and the click sound:
// embedded as two resources, or an index and a data file beside the program,
// or loose files only. Every buffer it returns belongs to the caller, who
// releases it with free().
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "resources/resource.h"

enum ArchiveMode {
  ArchiveMode_Files = 1,     // NAME.idx + NAME.dat beside the program; loose files win
  ArchiveMode_Embedded = 2,  // resources 1000 and 1001 of type "ARCHIVEX"
};

struct ImageSize {
  std::int32_t width;
  std::int32_t height;
};

class ResourceArchive {
 public:
  ResourceArchive() = default;
  ResourceArchive(const ResourceArchive&) = delete;
  ResourceArchive& operator=(const ResourceArchive&) = delete;
  ~ResourceArchive() { Close(); }

  // Returns non-zero when the index was loaded (modes 1 and 2), non-zero for
  // any other mode, zero when the index could not be loaded.
  int Open(int mode, const char* archiveName, const char* subKey);
  void Close();  // safe to call twice

  // Opens another pair of ARCHIVEX resources of the program, quietly: a
  // missing entry is the caller's to handle, no message is shown. 1 when
  // the index was loaded.
  int OpenResources(int indexResource, int dataResource);

  // A file beside the program (installDir first, quietly).
  unsigned char* LoadEntry(const char* name, int* length);
  // A file in the image subdirectory; size gets bytes 18..25 of the entry
  // (a bitmap's width and height), (0, 0) on failure. length, when given,
  // receives the buffer's length so that readers stay inside it.
  unsigned char* LoadImageEntry(const char* name, ImageSize* size, int* length = nullptr);

  // HKEY_CURRENT_USER\Software\TARNWICK HOUSE\<subKey>\install, created when
  // missing; null on failure. The caller closes it.
  HKEY OpenInstallKey(const char* subKey);

  // The index, from programDir + archiveName + ".idx" or from the index
  // resource. 1 when loaded, 0 otherwise.
  int LoadIndexFile();
  int LoadIndexResource();
  void FreeIndex();
  bool IndexLoaded() const { return indexLoaded_; }

  // Position of the entry within the index, or 0 when not found.
  std::uint32_t FindEntry(const char* name) const;

  // One read: the data resource in mode Embedded; otherwise the loose file at
  // path (null: there is none), then the archive's data file. Reports a
  // missing or damaged entry by name.
  unsigned char* ReadEntry(const char* path, const char* name, int* length);

  int mode = 0;
  char* programDir = nullptr;       // ends with its separator, or ""
  char* programImageDir = nullptr;  // programDir + "image\"
  char* installDir = nullptr;       // the registry's "path", verbatim
  char* installImageDir = nullptr;  // installDir + "image\"
  char* archiveName = nullptr;      // mode Files only
  bool reportMissing = false;

 private:
  unsigned char* ReadEmbedded(const char* name, int* length);
  unsigned char* ReadFiles(const char* path, const char* name, int* length);
  unsigned char* ReadQuietly(const char* dir, const char* name, int* length);
  void ReportMissing(const char* name) const;
  bool TakeIndex(const unsigned char* bytes, std::size_t size);

  int indexResource_ = IDR_ARCHIVE_INDEX;
  int dataResource_ = IDR_ARCHIVE_DATA;
  unsigned char* index_ = nullptr;
  std::size_t indexSize_ = 0;
  bool indexLoaded_ = false;
};

extern ResourceArchive g_archive;
