#include "app/core/PathText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

namespace {

struct PathCase {
  const char* module;
  const char* settings;
};

std::ostream& operator<<(std::ostream& os, const PathCase& c) { return os << c.module; }

class SettingsPathTest : public testing::TestWithParam<PathCase> {};

TEST_P(SettingsPathTest, ReplacesTheLastDotAndWhatFollows) {
  char out[260];
  EXPECT_TRUE(DeriveSettingsPath(GetParam().module, out, sizeof out));
  EXPECT_STREQ(GetParam().settings, out);
}

INSTANTIATE_TEST_SUITE_P(Paths, SettingsPathTest,
                         testing::Values(PathCase{"C:\\a\\b.exe", "C:\\a\\b.ini"},
                                         // No extension: the cut falls on the directory's ".".
                                         PathCase{"C:\\x.y\\prog", "C:\\x.ini"},
                                         PathCase{"C:\\tools\\prog", ".ini"}, PathCase{"", ".ini"},
                                         PathCase{"C:\\a\\b.tar.gz", "C:\\a\\b.tar.ini"},
                                         PathCase{"prog.", "prog.ini"},
                                         // A "." at index 0 is outside the scan.
                                         PathCase{".exe", ".ini"}, PathCase{"a.exe", "a.ini"},
                                         PathCase{"D:\\启动\\程序.exe", "D:\\启动\\程序.ini"}));

// The result never runs past the buffer: a "." near the end of a long path
// leaves too little room for the suffix.
TEST(SettingsPathLimits, FailsSafelyWhenTheSuffixDoesNotFit) {
  const std::size_t kSize = 260;
  for (std::size_t dot = 250; dot < 259; ++dot) {
    std::string module(259, 'p');
    module[dot] = '.';
    char out[kSize + 8];
    std::memset(out, '#', sizeof out);
    bool fits = dot + 5 <= kSize;
    EXPECT_EQ(fits, DeriveSettingsPath(module.c_str(), out, kSize)) << dot;
    std::string expected = fits ? module.substr(0, dot) + ".ini" : ".ini";
    EXPECT_EQ(expected, out) << dot;
    for (std::size_t i = kSize; i < sizeof out; ++i) ASSERT_EQ('#', out[i]) << dot;
  }
  char tiny[4] = {'#', '#', '#', '#'};
  EXPECT_FALSE(DeriveSettingsPath("a.exe", tiny, sizeof tiny));
  EXPECT_EQ('\0', tiny[0]);
}

struct TitleCase {
  const char* path;
  const char* title;
};

std::ostream& operator<<(std::ostream& os, const TitleCase& c) { return os << c.path; }

class FileTitleTest : public testing::TestWithParam<TitleCase> {};

TEST_P(FileTitleTest, TakesTheNameWithoutDirectoryAndExtension) {
  const char* path = GetParam().path;
  TextSpan span = FileTitleSpan(path, IsGbkLeadByte);
  ASSERT_LE(span.begin + span.length, std::strlen(path));
  EXPECT_EQ(GetParam().title, std::string(path + span.begin, span.length));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FileTitleTest,
    testing::Values(TitleCase{"C:\\Games\\Chess.exe", "Chess"}, TitleCase{"C:\\Games\\", ""},
                    TitleCase{"C:\\docs\\report.txt", "report"}, TitleCase{"C:foo.txt", "foo"},
                    TitleCase{"C:\\a.b\\c", "c"}, TitleCase{"D:/x/archive.tar.gz", "archive.tar"},
                    TitleCase{"C:\\home\\.profile", ""}, TitleCase{"name", "name"},
                    TitleCase{"", ""}, TitleCase{"C:", ""},
                    // GBK: 0x81 0x5C is one character whose second byte
                    // looks like "\"; it belongs to the name.
                    TitleCase{"C:\\dir\\\x81\x5C.exe", "\x81\x5C"},
                    TitleCase{"C:\\\x81\x5C\\b.lnk", "b"},
                    // A lead byte at the very end is kept, never stepped past.
                    TitleCase{"C:\\dir\\abc\x81", "abc\x81"}));

TEST(FileTitleLimits, LongNamesNeedNoBufferAndAreKeptWhole) {
  std::string name(5000, 'n');
  std::string path = "C:\\" + std::string(3000, 'd') + "\\" + name + ".exe";
  TextSpan span = FileTitleSpan(path.c_str(), IsGbkLeadByte);
  EXPECT_EQ(3004u, span.begin);
  EXPECT_EQ(name.size(), span.length);
}

}  // namespace
