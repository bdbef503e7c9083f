// dida-archive as the build and a person use it: pack, list, extract, verify,
// and its answers to bad input (clear message, non-zero status, no crash).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "archive/ArchiveWriter.h"

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

namespace {

struct ToolRun {
  int status;  // exit status; -1 when it did not exit normally (a crash)
  std::string out;
  std::string err;
};

Bytes ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const fs::path& p) {
  Bytes b = ReadFile(p);
  return std::string(b.begin(), b.end());
}

void WriteFile(const fs::path& p, const Bytes& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void WriteText(const fs::path& p, const std::string& s) { WriteFile(p, Bytes(s.begin(), s.end())); }

class ArchiveTool : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/dida-archive-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    fs::create_directories(dir_ / "art");
    for (const char* n :
         {"buttons.tw", "char.tw", "click.wav", "mask1.bmp", "mask2.bmp", "panel.tw"}) {
      WriteText(dir_ / "art" / n, std::string("body of ") + n);
    }
  }
  void TearDown() override { fs::remove_all(dir_); }

  ToolRun Tool(const std::string& args) {
    std::string cmd =
        "cd '" + dir_.string() + "' && '" DIDA_ARCHIVE_TOOL "' " + args + " >out.txt 2>err.txt";
    int raw = std::system(cmd.c_str());
    ToolRun r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(dir_ / "out.txt"),
              ReadText(dir_ / "err.txt")};
    return r;
  }

  fs::path dir_;
};

TEST_F(ArchiveTool, PacksTheDeliveredNamesInTheDeliveredLayout) {
  // The form the resource build uses: OUT first, then the files.
  ToolRun r = Tool(
      "pack out/archive art/panel.tw art/click.wav art/buttons.tw art/char.tw "
      "art/mask2.bmp art/mask1.bmp");
  ASSERT_EQ(r.status, 0) << r.err;
  Bytes index = ReadFile(dir_ / "out/archive.idx");
  Bytes data = ReadFile(dir_ / "out/archive.dat");
  EXPECT_EQ(index.size(), 2228u);
  EXPECT_EQ(std::string(data.begin(), data.begin() + 11), "[ARCHIVE]\r\n");

  // Byte for byte what the library lays out for the same bodies.
  std::vector<archive::PackEntry> entries;
  for (const char* n :
       {"buttons.tw", "char.tw", "click.wav", "mask1.bmp", "mask2.bmp", "panel.tw"}) {
    entries.push_back({n, ReadFile(dir_ / "art" / n)});
  }
  archive::PackedArchive expected;
  std::string error;
  ASSERT_TRUE(archive::BuildArchive(entries, &expected, &error));
  EXPECT_EQ(index, expected.index);
  EXPECT_EQ(data, expected.data);

  // A folder gives the same archive.
  ASSERT_EQ(Tool("pack again art").status, 0);
  EXPECT_EQ(ReadFile(dir_ / "again.idx"), index);
  EXPECT_EQ(ReadFile(dir_ / "again.dat"), data);
}

TEST_F(ArchiveTool, ListShowsBucketOffsetLengthAndScrambling) {
  ASSERT_EQ(
      Tool("pack a --scramble 1:0x5A art/char.tw --scramble 2 art/click.wav art/panel.tw").status,
      0);
  ToolRun r = Tool("list a");
  ASSERT_EQ(r.status, 0) << r.err;
  // char.tw: 0x01, seed, 15 bytes; click.wav: 0x02 + 17 bytes.
  EXPECT_NE(r.out.find("_head.txt                0x5F            0         11 plain"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("char.tw                  0x63           11         17 scheme1"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("click.wav                0x63           28         18 scheme2"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("panel.tw                 0x70           46         16 plain"),
            std::string::npos)
      << r.out;
}

TEST_F(ArchiveTool, ExtractGivesWhatTheProgramReads) {
  ASSERT_EQ(Tool("pack a --scramble 1:0x5A art/char.tw --scramble 2 art/click.wav "
                 "--as \xB5\xE3.tw art/panel.tw")
                .status,
            0);
  // The stored body really is scrambled.
  std::string stored = ReadText(dir_ / "a.dat");
  EXPECT_EQ(stored.find("body of char.tw"), std::string::npos);
  EXPECT_EQ(stored.find("body of click.wav"), std::string::npos);

  ToolRun r = Tool("extract a -o ex");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadText(dir_ / "ex/char.tw"), std::string("\x01\x5A") + "body of char.tw");
  EXPECT_EQ(ReadText(dir_ / "ex/click.wav"), std::string("\x02") + "body of click.wav");
  EXPECT_EQ(ReadText(dir_ / "ex/\xB5\xE3.tw"), "body of panel.tw");
  EXPECT_EQ(ReadText(dir_ / "ex/_head.txt"), "[ARCHIVE]\r\n");

  r = Tool("extract a.idx -o one click.wav CLICK.WAV");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("CLICK.WAV: not found"), std::string::npos) << r.err;
  EXPECT_TRUE(fs::exists(dir_ / "one/click.wav"));
  EXPECT_FALSE(fs::exists(dir_ / "one/char.tw"));
}

TEST_F(ArchiveTool, ExtractNeverWritesOutsideItsFolder) {
  ASSERT_EQ(Tool("pack a --as ../escaped art/char.tw art/panel.tw").status, 0);
  ToolRun r = Tool("extract a -o ex");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("../escaped: not a safe file name"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir_ / "escaped"));
  EXPECT_TRUE(fs::exists(dir_ / "ex/panel.tw"));
}

struct Corruption {
  const char* what;
  std::size_t at;  // offset in the index; SIZE_MAX: cut the index to `value` bytes
  std::uint32_t value;
  int width;  // bytes written at `at`
  const char* report;
};

class ArchiveToolVerify : public ArchiveTool, public testing::WithParamInterface<Corruption> {};

TEST_P(ArchiveToolVerify, ReportsWhatIsWrong) {
  ASSERT_EQ(Tool("pack a art").status, 0);
  ToolRun ok = Tool("verify a");
  ASSERT_EQ(ok.status, 0) << ok.out;
  EXPECT_NE(ok.out.find("ok: 7 entries, index 2228 bytes"), std::string::npos) << ok.out;

  const Corruption& c = GetParam();
  Bytes index = ReadFile(dir_ / "a.idx");
  if (c.at == SIZE_MAX) {
    index.resize(c.value);
  } else {
    for (int i = 0; i < c.width; ++i)
      index[c.at + i] = static_cast<unsigned char>(c.value >> (8 * i));
  }
  WriteFile(dir_ / "a.idx", index);
  ToolRun r = Tool("verify a");
  EXPECT_EQ(r.status, 1) << c.what;
  EXPECT_NE((r.out + r.err).find(c.report), std::string::npos) << c.what << ":\n" << r.out << r.err;
  // list and extract survive the same damage and say so too.
  EXPECT_EQ(Tool("list a").status, 1) << c.what;
  EXPECT_EQ(Tool("extract a -o ex").status, 1) << c.what;
}

// Positions in the packed index: bucket 0x63 at 1484, char.tw at 1488, click.wav at 1510.
INSTANTIATE_TEST_SUITE_P(
    Damage, ArchiveToolVerify,
    testing::Values(
        Corruption{"bucket past the end", 16 + 4 * 0x63, 5000, 4,
                   "bucket 0x63: bucket offset outside"},
        Corruption{"huge count", 1484, 0x7FFFFFFF, 4, "bucket 0x63: entry size smaller"},
        Corruption{"entry size 0", 1488, 0, 2, "bucket 0x63: entry size smaller"},
        Corruption{"body past the data", 1510 + 8, 100000, 4, "runs past the end of the data"},
        Corruption{"negative length", 1510 + 8, 0xFFFFFFFFu, 4, "length -1, read as missing"},
        Corruption{"wrong bucket", 1488 + 14, 'C' + 1, 1, "belongs in bucket 100"},
        Corruption{"name past the end", 1510 + 12, 0xFFFF, 2, "bucket 0x63: entry size smaller"},
        Corruption{"cut short", SIZE_MAX, 1000, 0, "shorter than the bucket table"}));

struct BadUse {
  const char* args;
  int status;
  const char* message;
};

class ArchiveToolBadInput : public ArchiveTool, public testing::WithParamInterface<BadUse> {};

TEST_P(ArchiveToolBadInput, ClearMessageAndNonZeroStatus) {
  WriteText(dir_ / "empty.bin", "");
  WriteFile(dir_ / "marker.bin", Bytes{0x01, 'x'});
  const BadUse& b = GetParam();
  ToolRun r = Tool(b.args);
  EXPECT_EQ(r.status, b.status) << b.args << "\n" << r.err;
  EXPECT_NE(r.err.find(b.message), std::string::npos) << b.args << "\n" << r.err;
  EXPECT_FALSE(fs::exists(dir_ / "x.idx")) << b.args;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArchiveToolBadInput,
    testing::Values(BadUse{"", 2, "no command"}, BadUse{"shuffle", 2, "unknown command 'shuffle'"},
                    BadUse{"pack x", 2, "pack needs at least one INPUT"},
                    BadUse{"pack x --scramble 3 art/char.tw", 2, "--scramble takes"},
                    BadUse{"pack x --scramble 1:256 art/char.tw", 2, "--scramble takes"},
                    BadUse{"pack x art/char.tw --as", 2, "--as needs a value"},
                    BadUse{"pack x art/char.tw --scramble 2", 2, "not followed by INPUT"},
                    BadUse{"pack x --frobnicate art/char.tw", 2, "unknown option"},
                    BadUse{"pack x art/missing.tw", 1, "art/missing.tw: not a readable file"},
                    BadUse{"pack x art/char.tw art/char.tw", 1, "two entries named 'char.tw'"},
                    BadUse{"pack x --as _head.txt art/char.tw", 1, "two entries named '_head.txt'"},
                    BadUse{"pack x empty.bin", 1, "empty.bin: empty"},
                    BadUse{"pack x marker.bin", 1, "scrambling marker"},
                    BadUse{"list nowhere", 1, "nowhere.idx: not a readable file"},
                    BadUse{"verify", 2, "verify takes one ARCHIVE"},
                    BadUse{"extract", 2, "extract needs ARCHIVE"}));

TEST_F(ArchiveTool, HelpDocumentsEveryCommand) {
  ToolRun r = Tool("--help");
  EXPECT_EQ(r.status, 0);
  for (const char* word : {"pack OUT", "list ARCHIVE", "extract ARCHIVE", "verify ARCHIVE",
                           "--scramble", "_head.txt"}) {
    EXPECT_NE(r.out.find(word), std::string::npos) << word;
  }
}

}  // namespace
