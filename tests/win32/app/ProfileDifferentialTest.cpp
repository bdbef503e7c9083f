// The settings file's own reader and writer against the platform's profile
// functions under code page 936: random sequences of reads and writes through
// both must give the same answers and leave the same bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/ProfileFile.h"
#include "tests/win32/app/ModelTestSupport.h"

namespace {

using Random = std::mt19937;

std::string Pick(Random& random, const std::vector<std::string>& choices) {
  return choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random)];
}

// Pieces of values: GBK whose second bytes are "\", "[", "]" or 0x80..0xA0,
// quotes, "=", blanks inside and at the ends.
std::string RandomValue(Random& random) {
  static const std::vector<std::string> pieces = {"C:\\Tools\\", "\xD3\xCE\xCF\xB7",
                                                  "\x95\x5C",    "\x8A\x5B",
                                                  "\x8A\x5D",    "\x82\x80",
                                                  "\xB9\xA0",    "abc",
                                                  " ",           "\t",
                                                  "=",           "\"",
                                                  "'",           ";",
                                                  "[x]",         "0x1F",
                                                  "-42",         "7"};
  std::string value;
  int count = std::uniform_int_distribution<int>(0, 6)(random);
  for (int i = 0; i < count; ++i) value += Pick(random, pieces);
  switch (std::uniform_int_distribution<int>(0, 9)(random)) {
    case 0:  // beyond the 1,023 bytes a read takes, in GBK and in ASCII
      for (int i = 0; i < 600; ++i) value += "\xCF\xF3";
      break;
    case 1:
      value += std::string(1100, 'a');
      break;
    default:
      break;
  }
  return value;
}

// Starting texts: none at all, an empty file, the program's own, and one with
// every odd line the reader must treat as the platform does.
std::string RandomStart(Random& random, bool* missing) {
  static const std::vector<std::string> starts = {
      "", "", "[param]\r\nChar=0\r\nPage1=\xB9\xA4\xBE\xDF\r\nComment1-1=\"\xB9\xA0\"\r\n",
      "; \xD7\xA2\xCA\xCD\r\n\r\n  top = 1 \r\n[ param ]  tail\n\tPosX  =  42  \r\nbare\r\n"
      "=one\r\n=two\r\n\x1a\r\n[setup]\r\nChar=3\r\n[Param]\r\nPage1='q'\r\n"
      "[\x8A\x5D]\r\nA=\x8A\x5D\r\n[broken\r\nB=2\r\r\n\n[param]\r\nC=late\r\n",
      "[param]\nPosX=+0x10\nPosY= 0b101\nChar=99999999999\nPage2=\"\"\n"};
  std::size_t which = std::uniform_int_distribution<std::size_t>(0, starts.size() - 1)(random);
  *missing = which == 0;
  return starts[which];
}

std::string RandomName(Random& random, const std::vector<std::string>& names) {
  return Pick(random, names);
}

TEST(ProfileDifferential, ReadsAndWritesMatchTheProfileFunctions) {
  ASSERT_EQ(936u, GetACP()) << "the profile functions must work in GBK here";
  const std::vector<std::string> sections = {"param", "PARAM", "setup", "new", " param"};
  const std::vector<std::string> keys = {"PosX",  "posx",       "PosY",  "Char",  "Page1",
                                         "Page2", "Comment1-1", "top",   "bare",  "A",
                                         "B",     "C",          "Fresh", " PosX "};
  const std::vector<std::string> defaults = {"", "def  ", "\"q\"", "  ", "\xC4\xAC\xC8\xCF"};
  const DWORD sizes[] = {1024, 30, 7, 2};
  Random random(20261208);
  int reads = 0, writes = 0;
  for (int run = 0; run < 120; ++run) {
    std::string platform = FreshTempPath("differential-platform.ini");
    std::string own = FreshTempPath("differential-own.ini");
    bool missing = false;
    std::string start = RandomStart(random, &missing);
    if (!missing) {
      WriteFileBytes(platform, start);
      WriteFileBytes(own, start);
    }
    for (int step = 0; step < 25; ++step) {
      std::string section = RandomName(random, sections);
      std::string key = RandomName(random, keys);
      std::string where = "run " + std::to_string(run) + " step " + std::to_string(step) + " [" +
                          section + "] " + key;
      int kind = std::uniform_int_distribution<int>(0, 5)(random);
      if (kind <= 1) {
        std::string fallback = Pick(random, defaults);
        DWORD size = sizes[std::uniform_int_distribution<int>(0, 3)(random)];
        std::vector<char> theirs(size, '\0'), ours(size, '\0');
        DWORD a = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                           theirs.data(), size, platform.c_str());
        DWORD b = ProfileGetString(section.c_str(), key.c_str(), fallback.c_str(), ours.data(),
                                   size, own.c_str());
        ASSERT_STREQ(theirs.data(), ours.data()) << where;
        // Cut inside a two-byte character, the platform counts bytes it did
        // not place; the count of those placed is the sound answer.
        ASSERT_EQ(std::strlen(ours.data()), b) << where;
        if (a == std::strlen(theirs.data())) {
          ASSERT_EQ(a, b) << where;
        }
        ++reads;
      } else if (kind == 2) {
        int fallback = std::uniform_int_distribution<int>(-5, 5)(random);
        ASSERT_EQ(GetPrivateProfileIntA(section.c_str(), key.c_str(), fallback, platform.c_str()),
                  ProfileGetInt(section.c_str(), key.c_str(), fallback, own.c_str()))
            << where;
        ++reads;
      } else {
        bool remove = kind == 3;
        std::string value = RandomValue(random);
        const char* v = remove ? nullptr : value.c_str();
        BOOL a = WritePrivateProfileStringA(section.c_str(), key.c_str(), v, platform.c_str());
        BOOL b = ProfileWriteString(section.c_str(), key.c_str(), v, own.c_str());
        ASSERT_EQ(a != FALSE, b != FALSE) << where;
        // Written out, not only held in the platform's cache.
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, platform.c_str());
        ASSERT_EQ(FileExists(platform), FileExists(own)) << where;
        ASSERT_EQ(ReadFileBytes(platform), ReadFileBytes(own)) << where << " value " << value;
        ++writes;
      }
    }
  }
  // The sequences did both, many times.
  EXPECT_GT(reads, 1000);
  EXPECT_GT(writes, 1000);
}

}  // namespace
