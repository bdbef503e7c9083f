// The archive embedded in the program as two ARCHIVEX resources (this test
// program carries a small one, packed by dida-archive; see embedded.rc).
#include "tests/win32/archive/ArchiveTestSupport.h"

namespace {

class ArchiveEmbeddedMode : public ArchiveWin32Test {};

TEST_F(ArchiveEmbeddedMode, EntriesComeFromTheDataResource) {
  ASSERT_EQ(archive_.Open(ArchiveMode_Embedded, nullptr, nullptr), 1);
  EXPECT_EQ(Load("_head.txt"), "[ARCHIVE]\r\n");
  EXPECT_EQ(Load("char.tw"), "TW01 embedded char");
  EXPECT_EQ(Load("click.wav"), std::string("RIFF\x10\0\0\0WAVE embedded click", 27));
  ImageSize size{};
  int length = 0;
  unsigned char* body = archive_.LoadImageEntry("mask1.bmp", &size, &length);
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(length, 30);
  EXPECT_EQ(body[0], 'B');
  std::free(body);
  EXPECT_EQ(size.width, 40);
  EXPECT_EQ(size.height, 24);
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(ArchiveEmbeddedMode, ALooseFileBesideTheProgramIsIgnored) {
  Write(ExeDir() + "char.tw", "TW01 loose");
  MakeDir(ExeDir() + "image");
  Write(ExeDir() + "image\\mask1.bmp", "BM loose");
  ASSERT_EQ(archive_.Open(ArchiveMode_Embedded, nullptr, nullptr), 1);
  EXPECT_EQ(Load("char.tw"), "TW01 embedded char");
  ImageSize size{};
  int length = 0;
  unsigned char* body = archive_.LoadImageEntry("mask1.bmp", &size, &length);
  EXPECT_EQ(length, 30);
  std::free(body);
  // A loose file of a name the index lacks does not help either.
  Write(ExeDir() + "extra.wav", "RIFF loose");
  EXPECT_EQ(Load("extra.wav"), "<none>");
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, MissingText("extra.wav"));
}

TEST_F(ArchiveEmbeddedMode, ScrambledEntriesComeBackAsTheToolScrambledThem) {
  ASSERT_EQ(archive_.Open(ArchiveMode_Embedded, nullptr, nullptr), 1);
  EXPECT_EQ(Load("s1long.bin"), std::string("\x01\x5A") + "scheme one body, long enough");
  EXPECT_EQ(Load("s2long.bin"), std::string("\x02") + "scheme two body");
  EXPECT_EQ(Load("s1short"), std::string("\x01\x33"));
  EXPECT_EQ(Load("s2short"), std::string("\x02"));
}

TEST_F(ArchiveEmbeddedMode, AMissingNameIsReportedWithTheMainWindowAsOwner) {
  ASSERT_EQ(archive_.Open(ArchiveMode_Embedded, nullptr, nullptr), 1);
  // While the launcher window is being created the box has no owner.
  EXPECT_EQ(Load("CLICK.WAV"), "<none>");
  g_hMainWnd = CreateWindowA("STATIC", "owner", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(g_hMainWnd, nullptr);
  ImageSize size{-1, -1};
  EXPECT_EQ(archive_.LoadImageEntry("mask9.bmp", &size), nullptr);
  EXPECT_EQ(size.width, 0);
  EXPECT_EQ(size.height, 0);
  ASSERT_EQ(g_boxes.size(), 2u);
  EXPECT_EQ(g_boxes[0].owner, nullptr);
  EXPECT_EQ(g_boxes[0].text, MissingText("CLICK.WAV"));
  EXPECT_EQ(g_boxes[0].caption, "Error");
  EXPECT_EQ(g_boxes[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(g_boxes[1].owner, g_hMainWnd);
  EXPECT_EQ(g_boxes[1].text, MissingText("mask9.bmp"));
}

TEST_F(ArchiveEmbeddedMode, WithAnInstallDirAMissingNameIsReportedOnce) {
  const std::string sub = "dida-test-embedded";
  ForgetInstallKeysLater(sub);
  SetInstallPath(sub, TempDir("embedded"));
  ASSERT_EQ(archive_.Open(ArchiveMode_Embedded, nullptr, sub.c_str()), 1);
  ASSERT_NE(archive_.installDir, nullptr);
  EXPECT_EQ(Load("char.tw"), "TW01 embedded char");
  EXPECT_EQ(Load("nowhere.wav"), "<none>");
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, MissingText("nowhere.wav"));
}

}  // namespace
