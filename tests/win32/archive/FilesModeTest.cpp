// The archive read from files beside the program (modes Files and loose
// only), the install directory from the registry, and the missing-entry box.
#include <cstring>

#include "archive/ArchiveFormat.h"
#include "archive/ArchiveWriter.h"
#include "tests/win32/archive/ArchiveTestSupport.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }
std::string S(const Bytes& b) { return std::string(b.begin(), b.end()); }

// A bitmap file's first 26 bytes with the given size, then a tail.
std::string Bitmap(std::int32_t width, std::int32_t height, const std::string& tail) {
  std::string b(26, '\0');
  b[0] = 'B';
  b[1] = 'M';
  std::memcpy(&b[18], &width, 4);
  std::memcpy(&b[22], &height, 4);
  return b + tail;
}

class ArchiveFilesMode : public ArchiveWin32Test {
 protected:
  // Packs entries into NAME.idx and NAME.dat beside the program.
  archive::PackedArchive WriteArchive(const std::string& name,
                                      const std::vector<archive::PackEntry>& entries) {
    archive::PackedArchive packed;
    std::string error;
    EXPECT_TRUE(archive::BuildArchive(entries, &packed, &error)) << error;
    Write(ExeDir() + name + ".idx", S(packed.index));
    Write(ExeDir() + name + ".dat", S(packed.data));
    return packed;
  }

  void ExpectOneBox(const std::string& name) {
    ASSERT_EQ(g_boxes.size(), 1u) << name;
    EXPECT_EQ(g_boxes[0].text, MissingText(name));
    EXPECT_EQ(g_boxes[0].caption, "Error");
    EXPECT_EQ(g_boxes[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(g_boxes[0].owner, g_hMainWnd);
    g_boxes.clear();
  }
};

TEST_F(ArchiveFilesMode, WithoutANameItReadsArchiveIdxAndArchiveDat) {
  WriteArchive("archive", {{"click.wav", B("RIFF from the data file")}});
  ASSERT_NE(archive_.Open(ArchiveMode_Files, nullptr, nullptr), 0);
  EXPECT_STREQ(archive_.archiveName, "archive");
  EXPECT_EQ(std::string(archive_.programDir), ExeDir());
  EXPECT_EQ(std::string(archive_.programImageDir), ExeDir() + "image\\");
  EXPECT_EQ(archive_.installDir, nullptr);
  EXPECT_EQ(Load("click.wav"), "RIFF from the data file");
  EXPECT_EQ(Load("_head.txt"), "[ARCHIVE]\r\n");
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(ArchiveFilesMode, ALooseFileWinsOverTheEntry) {
  WriteArchive("loose",
               {{"click.wav", B("RIFF packed")}, {"mask1.bmp", B(Bitmap(40, 24, "packed"))}});
  ASSERT_NE(archive_.Open(ArchiveMode_Files, "loose", nullptr), 0);
  Write(ExeDir() + "click.wav", "RIFF loose");
  MakeDir(ExeDir() + "image");
  Write(ExeDir() + "image\\mask1.bmp", Bitmap(7, -3, "loose"));
  EXPECT_EQ(Load("click.wav"), "RIFF loose");
  ImageSize size{-1, -1};
  EXPECT_EQ(LoadImage("mask1.bmp", &size), Bitmap(7, -3, "loose"));
  EXPECT_EQ(size.width, 7);
  EXPECT_EQ(size.height, -3);
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(ArchiveFilesMode, AnEmptyLooseFileIsReportedAndTheEntryNotTried) {
  WriteArchive("empty", {{"click.wav", B("RIFF packed")}});
  ASSERT_NE(archive_.Open(ArchiveMode_Files, "empty", nullptr), 0);
  Write(ExeDir() + "click.wav", "");
  EXPECT_EQ(Load("click.wav"), "<none>");
  ExpectOneBox("click.wav");
}

TEST_F(ArchiveFilesMode, MissingAndDamagedEntriesAreReportedByNameOnce) {
  archive::PackedArchive a = WriteArchive(
      "damaged",
      {{"click.wav", B("RIFF sound")}, {"char.tw", B("TW01")}, {"panel.tw", B("TW01p")}});
  // Break two entries in the copy on disk: char.tw's body runs past the data,
  // panel.tw's length is negative.
  std::uint32_t charAt = archive::FindEntry(a.index.data(), a.index.size(), "char.tw");
  std::uint32_t panelAt = archive::FindEntry(a.index.data(), a.index.size(), "panel.tw");
  std::uint32_t past = static_cast<std::uint32_t>(a.data.size());
  std::memcpy(&a.index[charAt + 4], &past, 4);
  std::int32_t negative = -5;
  std::memcpy(&a.index[panelAt + 8], &negative, 4);
  Write(ExeDir() + "damaged.idx", S(a.index));

  HWND owner = CreateWindowA("STATIC", "owner", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  g_hMainWnd = owner;
  ASSERT_NE(archive_.Open(ArchiveMode_Files, "damaged", nullptr), 0);
  for (const char* name : {"CLICK.WAV", "Click.wav", "char.tw", "panel.tw", "nowhere.bmp"}) {
    EXPECT_EQ(Load(name), "<none>") << name;
    ExpectOneBox(name);  // the name, not the path
  }
  EXPECT_EQ(Load("click.wav"), "RIFF sound");
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(ArchiveFilesMode, AMissingDataFileIsReported) {
  archive::PackedArchive a;
  std::string error;
  ASSERT_TRUE(archive::BuildArchive({{"click.wav", B("RIFF")}}, &a, &error));
  Write(ExeDir() + "nodata.idx", S(a.index));
  ASSERT_NE(archive_.Open(ArchiveMode_Files, "nodata", nullptr), 0);
  EXPECT_EQ(Load("click.wav"), "<none>");
  ExpectOneBox("click.wav");
}

TEST_F(ArchiveFilesMode, AShortDataFileReadsAsMissing) {
  archive::PackedArchive a = WriteArchive("short", {{"click.wav", B("RIFF 0123456789")}});
  Write(ExeDir() + "short.dat", S(a.data).substr(0, a.data.size() - 1));
  ASSERT_NE(archive_.Open(ArchiveMode_Files, "short", nullptr), 0);
  EXPECT_EQ(Load("click.wav"), "<none>");
  ExpectOneBox("click.wav");
}

TEST_F(ArchiveFilesMode, AnIndexShorterThanItsBucketTableIsNoIndex) {
  Write(ExeDir() + "stub.idx", std::string("ARC2") + std::string(100, '\0'));
  Write(ExeDir() + "stub.dat", "[ARCHIVE]\r\n");
  EXPECT_EQ(archive_.Open(ArchiveMode_Files, "stub", nullptr), 0);
  EXPECT_EQ(Load("_head.txt"), "<none>");
  ExpectOneBox("_head.txt");
}

TEST_F(ArchiveFilesMode, ScrambledEntriesComeBackWithTheirMarkers) {
  WriteArchive("scrambled", {{"s1long.bin", archive::ScrambleBody(1, 0x5A, B("scheme one body"))},
                             {"s2long.bin", archive::ScrambleBody(2, 0, B("scheme two body"))},
                             {"s1short", Bytes{0x01, 0x33}},
                             {"s2short", Bytes{0x02}}});
  ASSERT_NE(archive_.Open(ArchiveMode_Files, "scrambled", nullptr), 0);
  EXPECT_EQ(Load("s1long.bin"), std::string("\x01\x5A") + "scheme one body");
  EXPECT_EQ(Load("s2long.bin"), std::string("\x02") + "scheme two body");
  EXPECT_EQ(Load("s1short"), std::string("\x01\x33"));
  EXPECT_EQ(Load("s2short"), std::string("\x02"));
  // A loose file is unscrambled just the same.
  Write(ExeDir() + "s2loose", S(archive::ScrambleBody(2, 0, B("loose"))));
  EXPECT_EQ(Load("s2loose"), std::string("\x02") + "loose");
}

TEST_F(ArchiveFilesMode, ANameStartingWithALeadByteIsFoundAndReportedAsGbk) {
  const std::string dbcs = "\xB5\xE3.wav";  // a GBK character, then ".wav"
  WriteArchive("dbcs", {{dbcs, B("RIFF dbcs")}});
  ASSERT_NE(archive_.Open(ArchiveMode_Files, "dbcs", nullptr), 0);
  EXPECT_EQ(Load(dbcs.c_str()), "RIFF dbcs");
  EXPECT_EQ(Load("\xB5\xE4.wav"), "<none>");
  ExpectOneBox("\xB5\xE4.wav");
}

TEST_F(ArchiveFilesMode, ImageEntriesGiveWidthAndHeightOrZeroOnFailure) {
  WriteArchive("images", {{"mask1.bmp", B(Bitmap(40, 24, "tail"))}, {"tiny.bmp", B("BMshort")}});
  ASSERT_NE(archive_.Open(ArchiveMode_Files, "images", nullptr), 0);
  ImageSize size{-1, -1};
  EXPECT_EQ(LoadImage("mask1.bmp", &size), Bitmap(40, 24, "tail"));
  EXPECT_EQ(size.width, 40);
  EXPECT_EQ(size.height, 24);

  // Too short to hold the size: the bytes still come back, the size is (0, 0).
  size = {-1, -1};
  EXPECT_EQ(LoadImage("tiny.bmp", &size), "BMshort");
  EXPECT_EQ(size.width, 0);
  EXPECT_EQ(size.height, 0);

  size = {-1, -1};
  EXPECT_EQ(archive_.LoadImageEntry("mask2.bmp", &size), nullptr);
  EXPECT_EQ(size.width, 0);
  EXPECT_EQ(size.height, 0);
  ExpectOneBox("mask2.bmp");
}

TEST_F(ArchiveFilesMode, JoinedPathsBeyond260BytesFailLikeMissingFiles) {
  const std::string longName(300, 'n');
  WriteArchive("longpath", {{longName, B("from the data")}});
  ASSERT_NE(archive_.Open(ArchiveMode_Files, "longpath", nullptr), 0);
  // No loose file can sit at that path, so the entry is read from the data.
  EXPECT_EQ(Load(longName.c_str()), "from the data");
  const std::string otherName(300, 'm');
  EXPECT_EQ(Load(otherName.c_str()), "<none>");
  ExpectOneBox(otherName);
  archive_.Close();

  // An archive name too long for a path: no index, and reads are reported.
  EXPECT_EQ(archive_.Open(ArchiveMode_Files, std::string(300, 'a').c_str(), nullptr), 0);
  EXPECT_EQ(Load("click.wav"), "<none>");
  ExpectOneBox("click.wav");
}

TEST_F(ArchiveFilesMode, OtherModesReadLooseFilesOnly) {
  WriteArchive("archive", {{"click.wav", B("RIFF packed")}});
  Write(ExeDir() + "beside.wav", "RIFF beside");
  for (int mode : {0, 3}) {
    ASSERT_NE(archive_.Open(mode, nullptr, nullptr), 0) << mode;
    EXPECT_FALSE(archive_.IndexLoaded());
    EXPECT_EQ(archive_.archiveName, nullptr);
    EXPECT_EQ(Load("beside.wav"), "RIFF beside");
    EXPECT_EQ(Load("click.wav"), "<none>");
    ExpectOneBox("click.wav");
    archive_.Close();
  }
}

TEST_F(ArchiveFilesMode, CloseReleasesEverythingAndASecondCloseDoesNothing) {
  WriteArchive("archive", {{"click.wav", B("RIFF")}});
  ASSERT_NE(archive_.Open(ArchiveMode_Files, nullptr, nullptr), 0);
  archive_.Close();
  EXPECT_EQ(archive_.programDir, nullptr);
  EXPECT_EQ(archive_.programImageDir, nullptr);
  EXPECT_EQ(archive_.archiveName, nullptr);
  EXPECT_FALSE(archive_.IndexLoaded());
  EXPECT_FALSE(archive_.reportMissing);
  EXPECT_EQ(archive_.FindEntry("click.wav"), 0u);
  archive_.Close();
  EXPECT_EQ(archive_.programDir, nullptr);
}

// ---- the install directory ------------------------------------------------

TEST_F(ArchiveFilesMode, AMissingSubKeyLeavesTheEmptyKeyChainAndNoInstallDir) {
  const std::string sub = "dida-test-missing";
  ForgetInstallKeysLater(sub);
  DeleteInstallKeys(sub);
  ASSERT_NE(archive_.Open(0, nullptr, sub.c_str()), 0);
  EXPECT_EQ(archive_.installDir, nullptr);
  EXPECT_EQ(archive_.installImageDir, nullptr);
  HKEY key = nullptr;
  ASSERT_EQ(
      RegOpenKeyExA(HKEY_CURRENT_USER, ("Software\\TARNWICK HOUSE\\" + sub + "\\install").c_str(),
                    0, KEY_READ, &key),
      ERROR_SUCCESS);
  DWORD values = 99, subKeys = 99;
  ASSERT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(values, 0u);
  EXPECT_EQ(subKeys, 0u);
  RegCloseKey(key);
}

TEST_F(ArchiveFilesMode, ThePathValueIsAPlainPrefix) {
  const std::string sub = "dida-test-prefix";
  ForgetInstallKeysLater(sub);
  SetInstallPath(sub, "D:\\Game");
  ASSERT_NE(archive_.Open(0, nullptr, sub.c_str()), 0);
  ASSERT_NE(archive_.installDir, nullptr);
  EXPECT_STREQ(archive_.installDir, "D:\\Game");
  EXPECT_STREQ(archive_.installImageDir, "D:\\Gameimage\\");
}

TEST_F(ArchiveFilesMode, InstallDirReadsAreQuietAndFallBackToTheProgramDir) {
  const std::string sub = "dida-test-install";
  ForgetInstallKeysLater(sub);
  std::string install = TempDir("install");
  SetInstallPath(sub, install);
  Write(install + "click.wav", "RIFF installed");
  MakeDir(install + "image");
  Write(install + "image\\mask1.bmp", Bitmap(11, 12, "installed"));
  Write(ExeDir() + "click.wav", "RIFF beside the program");
  Write(ExeDir() + "beside.wav", "RIFF only beside the program");
  MakeDir(ExeDir() + "image");
  Write(ExeDir() + "image\\mask2.bmp", Bitmap(13, 14, "beside"));

  ASSERT_NE(archive_.Open(0, nullptr, sub.c_str()), 0);
  EXPECT_EQ(std::string(archive_.installImageDir), install + "image\\");
  EXPECT_EQ(Load("click.wav"), "RIFF installed");
  EXPECT_EQ(Load("beside.wav"), "RIFF only beside the program");
  ImageSize size{};
  EXPECT_EQ(LoadImage("mask1.bmp", &size), Bitmap(11, 12, "installed"));
  EXPECT_EQ(LoadImage("mask2.bmp", &size), Bitmap(13, 14, "beside"));
  EXPECT_EQ(size.width, 13);
  EXPECT_TRUE(g_boxes.empty());  // the failed install attempts said nothing
  EXPECT_TRUE(archive_.reportMissing);

  // Missing in both places: one box, from the program directory's attempt.
  EXPECT_EQ(Load("nowhere.wav"), "<none>");
  ExpectOneBox("nowhere.wav");
  EXPECT_EQ(archive_.LoadImageEntry("nowhere.bmp", &size), nullptr);
  ExpectOneBox("nowhere.bmp");
}

}  // namespace
