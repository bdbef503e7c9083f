#include "app/core/PageKeys.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

TEST(PageKeys, RefusesIndicesOutOfRangeAndShortBuffers) {
  char out[16];
  const int bad[][2] = {{-1, 0}, {6, 0}, {0, -1}, {0, 8}};
  for (const auto& b : bad) {
    std::strcpy(out, "x");
    EXPECT_FALSE(FormatSlotKey(out, sizeof out, SlotKey::kExec, b[0], b[1]));
    EXPECT_STREQ("", out);
  }
  std::strcpy(out, "x");
  EXPECT_FALSE(FormatPageKey(out, sizeof out, 6));
  EXPECT_STREQ("", out);
  // "Comment6-8" needs 11 bytes.
  char shortBuffer[11 + 1];
  std::memset(shortBuffer, '#', sizeof shortBuffer);
  EXPECT_FALSE(FormatSlotKey(shortBuffer, 10, SlotKey::kComment, 5, 7));
  EXPECT_STREQ("", shortBuffer);
  EXPECT_EQ('#', shortBuffer[10]);
  EXPECT_TRUE(FormatSlotKey(shortBuffer, 11, SlotKey::kComment, 5, 7));
}

TEST(PageKeys, SixDistinctDefaultNames) {
  std::set<std::string> names;
  for (int p = 0; p < kPageCount; ++p) {
    ASSERT_NE(nullptr, DefaultPageName(p));
    EXPECT_NE('\0', DefaultPageName(p)[0]);
    names.insert(DefaultPageName(p));
  }
  EXPECT_EQ(6u, names.size());
  EXPECT_EQ(nullptr, DefaultPageName(-1));
  EXPECT_EQ(nullptr, DefaultPageName(6));
}

}  // namespace
