// Working directories, launch messages and the sound check.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "launcher/LaunchRules.h"

namespace {

struct FolderCase {
  const char* target;
  const char* folder;
};
// Test names are plain text: separators print as "/", other bytes as <hex>.
void PrintTo(const FolderCase& c, std::ostream* os) {
  if (!*c.target) *os << "(empty)";
  for (const char* p = c.target; *p; ++p) {
    unsigned char b = static_cast<unsigned char>(*p);
    if (b == '\\') {
      *os << '/';
    } else if (b >= 0x20 && b < 0x7F) {
      *os << *p;
    } else {
      *os << '<' << std::hex << static_cast<int>(b) << std::dec << '>';
    }
  }
}

class WorkingDirectory : public ::testing::TestWithParam<FolderCase> {};

TEST_P(WorkingDirectory, IsTheDriveAndDirectoryOfTheTarget) {
  char out[264];
  std::memset(out, 'x', sizeof out);
  ASSERT_TRUE(WorkingDirectoryOf(GetParam().target, out, sizeof out));
  EXPECT_STREQ(out, GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, WorkingDirectory,
    ::testing::Values(FolderCase{"C:\\Tools\\x.exe", "C:\\Tools\\"},
                      FolderCase{"\\\\server\\share\\x.exe", "\\\\server\\share\\"},
                      FolderCase{"x.exe", ""}, FolderCase{"", ""}, FolderCase{"C:x.exe", "C:"},
                      FolderCase{"C:\\Games\\Chess",
                                 "C:\\Games\\"},  // a folder opens from its parent
                      FolderCase{"C:\\Games\\", "C:\\Games\\"}, FolderCase{"d/e/f.txt", "d/e/"},
                      FolderCase{"C:/a\\b/c", "C:/a\\b/"},
                      // GBK: 0x81 0x5C is one character whose second byte is not a separator.
                      FolderCase{"C:\\\x81\x5C\\f.exe", "C:\\\x81\x5C\\"},
                      FolderCase{"C:\\a\x81\x5C"
                                 "b.exe",
                                 "C:\\"},
                      FolderCase{"C:\\a\\\x81", "C:\\a\\"}));

TEST(WorkingDirectory, RefusesWhatDoesNotFitAndLeavesTheBufferEmpty) {
  char out[8];
  ASSERT_TRUE(WorkingDirectoryOf("C:\\abc\\x", out, sizeof out));  // 7 + terminator
  EXPECT_STREQ(out, "C:\\abc\\");
  std::memset(out, 'x', sizeof out);
  EXPECT_FALSE(WorkingDirectoryOf("C:\\abcd\\x", out, sizeof out));
  EXPECT_EQ(out[0], '\0');
  std::string deep = "C:" + std::string(400, '\\') + "x";
  char wide[264];
  EXPECT_FALSE(WorkingDirectoryOf(deep.c_str(), wide, sizeof wide));
  EXPECT_EQ(wide[0], '\0');
  EXPECT_FALSE(WorkingDirectoryOf(nullptr, wide, sizeof wide));
}

TEST(LaunchFailure, MissingFilesAndPathsGetTheirOwnMessage) {
  const char* deleted = "这个路径无效，文件或文件夹可能已被删除。";
  const char* unavailable = "当前不可用。";
  EXPECT_EQ(LaunchFailureText(33), nullptr);
  EXPECT_EQ(LaunchFailureText(42), nullptr);
  EXPECT_STREQ(LaunchFailureText(2), deleted);
  EXPECT_STREQ(LaunchFailureText(3), deleted);
  for (int r : {0, 1, 4, 5, 8, 26, 31, 32, -1})
    EXPECT_STREQ(LaunchFailureText(r), unavailable) << r;
}

std::vector<std::uint8_t> Wave(std::uint32_t declared, std::size_t total) {
  std::vector<std::uint8_t> w(total, 0);
  std::memcpy(w.data(), "RIFF", 4);
  for (int i = 0; i < 4; ++i) w[4 + i] = static_cast<std::uint8_t>(declared >> (8 * i));
  std::memcpy(w.data() + 8, "WAVE", 4);
  return w;
}

TEST(ClickSound, OnlyAWaveThatFitsItsBufferIsPlayed) {
  auto ok = Wave(36, 44);
  EXPECT_TRUE(IsPlayableWave(ok.data(), ok.size()));
  auto longer = Wave(37, 44);
  EXPECT_FALSE(IsPlayableWave(longer.data(), longer.size()));
  auto huge = Wave(0xFFFFFFF0u, 44);
  EXPECT_FALSE(IsPlayableWave(huge.data(), huge.size()));
  auto notWave = Wave(36, 44);
  notWave[8] = 'A';
  EXPECT_FALSE(IsPlayableWave(notWave.data(), notWave.size()));
  auto notRiff = Wave(36, 44);
  notRiff[0] = 'r';
  EXPECT_FALSE(IsPlayableWave(notRiff.data(), notRiff.size()));
  EXPECT_FALSE(IsPlayableWave(ok.data(), 11));
  EXPECT_FALSE(IsPlayableWave(nullptr, 44));
}

}  // namespace
