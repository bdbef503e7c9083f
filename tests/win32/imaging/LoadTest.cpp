// Loading through the archive: loose files in the image folder beside the
// test program (the archive's file-only mode), including a missing entry.
#include <cstdio>

#include "ImagingTestSupport.h"
#include "archive/ResourceArchive.h"
#include "framework/MessageBox.h"
#include "framework/ModuleState.h"

namespace {

std::vector<std::string> g_shown;

int Answer(HWND, const char* text, const char*, UINT) {
  g_shown.push_back(text);
  return IDOK;
}

class ArchiveLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    g_hInstance = GetModuleHandleA(nullptr);
    g_shown.clear();
    m_previous = SetMessageBoxHook(Answer);
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string exe(path, n);
    m_dir = exe.substr(0, exe.find_last_of('\\') + 1) + "image\\";
    CreateDirectoryA(m_dir.c_str(), nullptr);
    ASSERT_NE(g_archive.Open(0, nullptr, nullptr), 0);
  }
  void TearDown() override {
    g_archive.Close();
    SetMessageBoxHook(m_previous);
    for (const std::string& f : m_files) DeleteFileA(f.c_str());
    RemoveDirectoryA(m_dir.c_str());
  }
  void Put(const std::string& name, const Bytes& bytes) {
    std::string path = m_dir + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    m_files.push_back(path);
  }

  std::string m_dir;
  std::vector<std::string> m_files;
  MessageBoxHook m_previous = nullptr;
};

TEST_F(ArchiveLoad, PictureBmpAndMaskEntries) {
  const int w = 102, h = 57;
  std::vector<std::uint32_t> pat = Pattern(w, h);
  Bytes mask(w * h, 0);
  for (int i = 0; i < w * h; ++i) mask[i] = (i / 7) % 2 ? 255 : 0;
  Put("pic.tw", PictureFile(pat, w, h, mask));
  Put("rgb.bmp", MakeBmp(1, 2, 24, {}, {0x01, 0x02, 0x03, 0xAA, 0x04, 0x05, 0x06, 0xAA}));
  Put("outline.bmp", MakeBmp(8, 2, 1, {0x000000, 0xFFFFFF}, {0x0F, 0, 0, 0, 0xF0, 0, 0, 0}));

  DrawSurface s;
  ASSERT_EQ(s.Load("pic.tw", 0, 0), 1);
  ASSERT_TRUE(Shows(s, w, h, pat, mask));
  DrawSurface b;
  ASSERT_EQ(b.Load("rgb.bmp", 0, 0), 1);
  EXPECT_EQ(At(b, 0, 0), 0x060504u);

  MaskRegion m;
  ASSERT_EQ(m.Load("outline.bmp"), 1);
  RECT box;
  GetRgnBox(m.GetRegion(), &box);
  EXPECT_EQ(box.right, 8);
  EXPECT_EQ(box.bottom, 2);
  EXPECT_TRUE(g_shown.empty());
}

TEST_F(ArchiveLoad, MissingAndDamagedEntriesFailAndLeaveTheRecordsAsTheyWere) {
  DrawSurface s;
  ASSERT_EQ(s.Create(3, 3), 1);
  Fill(s, 0x123456);
  EXPECT_EQ(s.Load("nothere.tw", 0, 0), 0);
  EXPECT_EQ(s.width, 3);
  EXPECT_EQ(At(s, 1, 1), 0x123456u);
  ASSERT_FALSE(g_shown.empty());
  EXPECT_EQ(g_shown[0].rfind("nothere.tw", 0), 0u);  // the box names the entry

  Put("broken.tw", Bytes{'T', 'W', '0', '1', 0, 1});
  DrawSurface e;
  EXPECT_EQ(e.Load("broken.tw", 0, 0), 0);
  EXPECT_EQ(e.bitmap, nullptr);

  MaskRegion m;
  EXPECT_EQ(m.Load("nothere.bmp"), 0);
  EXPECT_EQ(m.GetRegion(), nullptr);
}

}  // namespace
