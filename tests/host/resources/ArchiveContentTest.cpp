// The delivered archive: exactly seven entries in their buckets, the index
// 2228 bytes, bodies in name order, each body the loose file it was packed from.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "tests/host/resources/ArtFiles.h"

namespace {

using arttest::Bytes;
using arttest::Le16;
using arttest::Le32;

struct IndexedEntry {
  unsigned bucket;
  std::uint32_t entrySize;
  std::uint32_t offset;
  std::uint32_t length;
  std::string name;
};

// Walks every bucket of the index the way the reader does.
std::vector<IndexedEntry> WalkIndex(const Bytes& index) {
  std::vector<IndexedEntry> entries;
  for (unsigned b = 0; b < 256; ++b) {
    std::size_t at = Le32(index, 16 + 4 * b);
    const std::int32_t count = std::int32_t(Le32(index, at));
    at += 4;
    for (std::int32_t i = 0; i < count; ++i) {
      IndexedEntry e;
      e.bucket = b;
      e.entrySize = Le16(index, at);
      e.offset = Le32(index, at + 4);
      e.length = Le32(index, at + 8);
      const std::size_t nameLength = Le16(index, at + 12);
      e.name.assign(reinterpret_cast<const char*>(&index.at(at + 14)), nameLength);
      entries.push_back(e);
      at += e.entrySize;
    }
  }
  return entries;
}

TEST(ArtArchive, IndexHoldsTheSevenEntriesInTheirBuckets) {
  const Bytes index = arttest::ReadBytes(arttest::ArtPath("archive.idx"));
  ASSERT_EQ(index.size(), 2228u);
  EXPECT_EQ(std::string(index.begin(), index.begin() + 4), "ARC2");
  EXPECT_TRUE(std::all_of(index.begin() + 4, index.begin() + 16, [](auto c) { return c == 0; }));
  // Buckets back to back from 1040: every empty bucket is a 4-byte zero count.
  EXPECT_EQ(Le32(index, 16), 1040u);
  const std::vector<IndexedEntry> entries = WalkIndex(index);
  const std::vector<std::tuple<std::string, unsigned, unsigned>> expected = {
      {"_head.txt", 0x5F, 24}, {"buttons.tw", 0x62, 24}, {"char.tw", 0x63, 22},
      {"click.wav", 0x63, 24}, {"mask1.bmp", 0x6D, 24},  {"mask2.bmp", 0x6D, 24},
      {"panel.tw", 0x70, 22}};
  ASSERT_EQ(entries.size(), expected.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].name, std::get<0>(expected[i]));
    EXPECT_EQ(entries[i].bucket, std::get<1>(expected[i])) << entries[i].name;
    EXPECT_EQ(entries[i].entrySize, std::get<2>(expected[i])) << entries[i].name;
  }
  // Bucket offsets grow by 4 per empty bucket and by the entries' sizes.
  std::uint32_t expectedOffset = 1040;
  for (unsigned b = 0; b < 256; ++b) {
    ASSERT_EQ(Le32(index, 16 + 4 * b), expectedOffset) << "bucket " << b;
    expectedOffset += 4;
    for (const auto& e : entries) {
      if (e.bucket == b) expectedOffset += e.entrySize;
    }
  }
  EXPECT_EQ(expectedOffset, index.size());
}

TEST(ArtArchive, BodiesLieInNameOrderAndMatchTheLooseEntries) {
  const Bytes index = arttest::ReadBytes(arttest::ArtPath("archive.idx"));
  const Bytes data = arttest::ReadBytes(arttest::ArtPath("archive.dat"));
  ASSERT_EQ(index.size(), 2228u);
  std::vector<IndexedEntry> entries = WalkIndex(index);
  ASSERT_EQ(entries.size(), 7u);
  ASSERT_GE(data.size(), 11u);
  EXPECT_EQ(std::string(data.begin(), data.begin() + 11), "[ARCHIVE]\r\n");
  EXPECT_EQ(entries[0].offset, 0u);
  EXPECT_EQ(entries[0].length, 11u);
  // The walk visits buckets in order, which is name order here too.
  std::uint32_t previousEnd = 0;
  for (const auto& e : entries) {
    ASSERT_LE(std::uint64_t(e.offset) + e.length, data.size()) << e.name;
    EXPECT_GE(e.offset, previousEnd) << e.name << " overlaps or precedes the body before it";
    previousEnd = e.offset + e.length;
    if (e.name == "_head.txt") continue;
    const Bytes loose = arttest::ReadBytes(arttest::ArtPath(e.name));
    ASSERT_EQ(loose.size(), e.length) << e.name;
    EXPECT_TRUE(std::equal(loose.begin(), loose.end(), data.begin() + e.offset)) << e.name;
    // Plain entries: the first byte is the file's own signature, never a
    // scrambling marker (0x01 or 0x02).
    EXPECT_GT(loose.at(0), 2) << e.name;
  }
}

}  // namespace
