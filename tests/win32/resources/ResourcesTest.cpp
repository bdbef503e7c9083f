// The program's resources as Windows sees them: the embedded archive, icon
// 128, the framework's length message, the manifest and the version.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ResourceBytes(HMODULE module, LPCSTR type, int id) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (!found) return Bytes();
  HGLOBAL loaded = LoadResource(module, found);
  const unsigned char* data = static_cast<const unsigned char*>(LockResource(loaded));
  if (!data) return Bytes();
  return Bytes(data, data + SizeofResource(module, found));
}

Bytes FileBytes(const std::string& path) {
  Bytes out;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return out;
  unsigned char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    out.insert(out.end(), buffer, buffer + n);
  std::fclose(file);
  return out;
}

struct ArchivePart {
  int id;
  const char* file;
};

class ResourcesArchive : public ::testing::TestWithParam<ArchivePart> {};

TEST_P(ResourcesArchive, ResourceHoldsTheBuiltFileByteForByte) {
  const Bytes resource = ResourceBytes(GetModuleHandleA(nullptr), "ARCHIVEX", GetParam().id);
  const Bytes file = FileBytes(std::string(DIDA_ART_DIR) + "/" + GetParam().file);
  ASSERT_FALSE(file.empty()) << GetParam().file;
  EXPECT_EQ(resource.size(), file.size());
  EXPECT_TRUE(resource == file);
}

INSTANTIATE_TEST_SUITE_P(Parts, ResourcesArchive,
                         ::testing::Values(ArchivePart{IDR_ARCHIVE_INDEX, "archive.idx"},
                                           ArchivePart{IDR_ARCHIVE_DATA, "archive.dat"}));

TEST(ResourcesArchiveLayout, IndexIs2228BytesAndDataStartsWithItsHeader) {
  const Bytes index = ResourceBytes(GetModuleHandleA(nullptr), "ARCHIVEX", IDR_ARCHIVE_INDEX);
  const Bytes data = ResourceBytes(GetModuleHandleA(nullptr), "ARCHIVEX", IDR_ARCHIVE_DATA);
  ASSERT_EQ(index.size(), 2228u);
  EXPECT_EQ(std::string(index.begin(), index.begin() + 4), "ARC2");
  ASSERT_GE(data.size(), 11u);
  EXPECT_EQ(std::string(data.begin(), data.begin() + 11), "[ARCHIVE]\r\n");
}

class ResourcesIcon : public ::testing::TestWithParam<int> {};

// The icon group lists 16, 32 and 48 pixel images, and each loads at its size.
TEST_P(ResourcesIcon, LoadsAtEachSize) {
  const int size = GetParam();
  const Bytes group = ResourceBytes(GetModuleHandleA(nullptr), RT_GROUP_ICON, IDR_MAINFRAME);
  ASSERT_GE(group.size(), 6u);
  const int count = group[4] | (group[5] << 8);
  ASSERT_EQ(group.size(), 6u + 14u * count);
  bool listed = false;
  for (int i = 0; i < count; ++i) listed |= group[6 + 14 * i] == size && group[7 + 14 * i] == size;
  EXPECT_TRUE(listed) << size;

  HICON icon =
      static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME),
                                    IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  ASSERT_NE(icon, nullptr);
  ICONINFO info;
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP bitmap;
  ASSERT_TRUE(GetObjectA(info.hbmColor, sizeof bitmap, &bitmap));
  EXPECT_EQ(bitmap.bmWidth, size);
  EXPECT_EQ(bitmap.bmHeight, size);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(icon);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ResourcesIcon, ::testing::Values(16, 32, 48));

// The framework's "too long" message, a Japanese text kept as it is; under
// code page 936 the narrow form is its GBK bytes.
TEST(ResourcesStringTable, LengthMessageReadsBackInBothForms) {
  wchar_t wide[128] = {};
  ASSERT_GT(LoadStringW(GetModuleHandleA(nullptr), AFX_IDP_PARSE_STRING_SIZE, wide, 128), 0);
  EXPECT_EQ(std::wstring(wide),
            L"%1 \u6587\u5b57\u4ee5\u5185\u3067\u5165\u529b\u3057\u3066"
            L"\u304f\u3060\u3055\u3044\u3002");
  ASSERT_EQ(GetACP(), 936u) << "the harness runs Wine with code page 936";
  char narrow[128] = {};
  ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), AFX_IDP_PARSE_STRING_SIZE, narrow, 128), 0);
  EXPECT_STREQ(narrow, "%1 文字以内で入力してください。");
}

// The loader's manifest leaves the common controls to the second one, which
// the dialogs activate: resolving them would delay every start.
TEST(ResourcesManifest, AsksForCommonControls6ApartAndPerMonitorDpiAwareness) {
  const char kControls[] = "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"";
  const Bytes controls =
      ResourceBytes(GetModuleHandleA(nullptr), RT_MANIFEST, IDR_CONTROLS_MANIFEST);
  EXPECT_NE(std::string(controls.begin(), controls.end()).find(kControls), std::string::npos);
  const Bytes bytes = ResourceBytes(GetModuleHandleA(nullptr), RT_MANIFEST, 1);
  ASSERT_FALSE(bytes.empty());
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_EQ(text.find("Common-Controls"), std::string::npos);
  size_t supported = 0;
  for (size_t at = text.find("<supportedOS"); at != std::string::npos;
       at = text.find("<supportedOS", at + 1)) {
    ++supported;
  }
  EXPECT_EQ(supported, 5u);
  // Without per-monitor awareness the system would stretch the window.
  EXPECT_NE(text.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
  EXPECT_NE(text.find(">true/pm</dpiAware>"), std::string::npos);
}

TEST(ResourcesVersion, NamesTheProductAndItsVersion) {
  char path[MAX_PATH];
  ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &handle);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
  char* text = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\080404b0\\ProductName",
                             reinterpret_cast<void**>(&text), &length));
  EXPECT_STREQ(text, "dida");
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\080404b0\\FileDescription",
                             reinterpret_cast<void**>(&text), &length));
  EXPECT_STREQ(text, "dida 桌面启动器");
}

// dida.exe carries the very same resources as this test program.
TEST(ResourcesProgramFile, CarriesTheSameResources) {
  if (GetFileAttributesA(DIDA_EXE_PATH) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << DIDA_EXE_PATH << " is not built";
  }
  HMODULE exe = LoadLibraryExA(DIDA_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  HMODULE self = GetModuleHandleA(nullptr);
  const struct {
    LPCSTR type;
    int id;
  } kResources[] = {{"ARCHIVEX", IDR_ARCHIVE_INDEX},
                    {"ARCHIVEX", IDR_ARCHIVE_DATA},
                    {RT_GROUP_ICON, IDR_MAINFRAME},
                    {RT_DIALOG, IDD_ABOUTBOX},
                    {RT_DIALOG, IDD_PAGE_SETTINGS},
                    {RT_DIALOG, IDD_COMMENT},
                    {RT_MANIFEST, 1},
                    {RT_MANIFEST, IDR_CONTROLS_MANIFEST},
                    {RT_VERSION, 1}};
  for (const auto& r : kResources) {
    const Bytes mine = ResourceBytes(self, r.type, r.id);
    ASSERT_FALSE(mine.empty()) << r.id;
    EXPECT_TRUE(ResourceBytes(exe, r.type, r.id) == mine) << "resource " << r.id;
  }
  FreeLibrary(exe);
}

}  // namespace
