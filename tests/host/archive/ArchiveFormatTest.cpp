// The archive format: layout written for the delivered names, bucket lookup,
// unscrambling and the reader's behaviour on damaged indexes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "archive/ArchiveWriter.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

const char* const kDelivered[] = {"buttons.tw", "char.tw",   "click.wav",
                                  "mask1.bmp",  "mask2.bmp", "panel.tw"};

archive::PackedArchive Pack(const std::vector<archive::PackEntry>& entries) {
  archive::PackedArchive packed;
  std::string error;
  EXPECT_TRUE(archive::BuildArchive(entries, &packed, &error)) << error;
  return packed;
}

// The delivered names, given in scrambled order: the writer must sort them.
archive::PackedArchive PackDelivered() {
  std::vector<archive::PackEntry> entries;
  for (int i : {5, 2, 0, 4, 1, 3}) {
    entries.push_back({kDelivered[i], B(std::string("<") + kDelivered[i] + ">")});
  }
  return Pack(entries);
}

std::uint32_t U32At(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void PutU32(Bytes* b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

std::vector<std::string> NamesIn(const Bytes& index, unsigned bucket) {
  std::vector<std::string> names;
  archive::BucketCursor c;
  archive::EntryView e;
  archive::OpenBucket(index.data(), index.size(), bucket, &c);
  while (archive::NextEntry(&c, &e)) {
    names.emplace_back(reinterpret_cast<const char*>(e.name), e.nameLength);
  }
  EXPECT_EQ(c.problem, archive::IndexProblem::kNone) << "bucket " << bucket;
  return names;
}

std::string Read(const archive::PackedArchive& a, const char* name) {
  int length = -1;
  unsigned char* body = archive::CopyEntry(a.index.data(), a.index.size(), a.data.data(),
                                           a.data.size(), name, &length);
  if (!body) return "<none>";
  std::string s(reinterpret_cast<char*>(body), length);
  std::free(body);
  return s;
}

TEST(ArchiveLayout, DeliveredNamesGiveTheDeliveredIndex) {
  archive::PackedArchive a = PackDelivered();
  ASSERT_EQ(a.index.size(), 2228u);
  EXPECT_EQ(0, std::memcmp(a.index.data(), "ARC2\0\0\0\0\0\0\0\0\0\0\0\0", 16));

  const std::map<unsigned, std::vector<std::string>> expected = {{0x5F, {"_head.txt"}},
                                                                 {0x62, {"buttons.tw"}},
                                                                 {0x63, {"char.tw", "click.wav"}},
                                                                 {0x6D, {"mask1.bmp", "mask2.bmp"}},
                                                                 {0x70, {"panel.tw"}}};
  std::size_t at = 1040;
  for (unsigned b = 0; b < 256; ++b) {
    // Buckets lie back to back in bucket order.
    ASSERT_EQ(U32At(a.index, 16 + 4 * b), at) << "bucket " << b;
    auto it = expected.find(b);
    std::vector<std::string> want = it == expected.end() ? std::vector<std::string>() : it->second;
    EXPECT_EQ(NamesIn(a.index, b), want) << "bucket " << b;
    at += 4;
    for (const std::string& n : want) at += archive::EntrySizeFor(n.size());
  }
  EXPECT_EQ(at, 2228u);

  // char.tw, worked out by hand: bucket 0x63 sits behind 0x5F and 0x62 (24 bytes each).
  const std::size_t charAt = 1040 + 4 * 0x63 + 24 + 24 + 4;
  const unsigned char charEntry[] = {22, 0, 0, 0,   11 + 12, 0,   0,   0,   9,   0,   0,
                                     0,  7, 0, 'c', 'h',     'a', 'r', '.', 't', 'w', 0};
  ASSERT_EQ(0, std::memcmp(a.index.data() + charAt, charEntry, sizeof charEntry));
  EXPECT_EQ(archive::FindEntry(a.index.data(), a.index.size(), "char.tw"), charAt);
  EXPECT_EQ(archive::FindEntry(a.index.data(), a.index.size(), "click.wav"), charAt + 22);

  // The data: header first, then the bodies in name order.
  EXPECT_EQ(std::string(a.data.begin(), a.data.end()),
            "[ARCHIVE]\r\n<buttons.tw><char.tw><click.wav><mask1.bmp><mask2.bmp><panel.tw>");
  EXPECT_EQ(Read(a, "_head.txt"), "[ARCHIVE]\r\n");
  EXPECT_EQ(Read(a, "mask2.bmp"), "<mask2.bmp>");
}

struct LookupCase {
  const char* name;
  unsigned bucket;
  const char* found;  // body read back, "<none>" when not found
};

class ArchiveLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(ArchiveLookup, FirstByteChoosesTheBucketNamesMatchExactly) {
  const LookupCase& c = GetParam();
  std::vector<archive::PackEntry> entries;
  for (const char* n : kDelivered) entries.push_back({n, B(std::string("<") + n + ">")});
  entries.push_back({"\xB5\xE3.tw", B("<dbcs>")});
  entries.push_back({"\xC1z", B("<c1>")});
  entries.push_back({"Zeta", B("<Zeta>")});
  archive::PackedArchive a = Pack(entries);
  EXPECT_EQ(archive::BucketOf(static_cast<unsigned char>(c.name[0])), c.bucket);
  EXPECT_EQ(Read(a, c.name), c.found);
  if (std::strcmp(c.found, "<none>") != 0) {
    // The entry really sits in the bucket the first byte chooses.
    std::vector<std::string> in = NamesIn(a.index, c.bucket);
    EXPECT_NE(std::find(in.begin(), in.end(), c.name), in.end());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, ArchiveLookup,
    testing::Values(LookupCase{"char.tw", 0x63, "<char.tw>"},
                    LookupCase{"click.wav", 0x63, "<click.wav>"},
                    LookupCase{"CLICK.WAV", 0x63, "<none>"},  // bucket folds, match doesn't
                    LookupCase{"Char.tw", 0x63, "<none>"}, LookupCase{"char.t", 0x63, "<none>"},
                    LookupCase{"char.tww", 0x63, "<none>"}, LookupCase{"Zeta", 0x7A, "<Zeta>"},
                    LookupCase{"zeta", 0x7A, "<none>"},
                    LookupCase{"\xB5\xE3.tw", 0xB5, "<dbcs>"},  // lead byte of a GBK character
                    LookupCase{"\xC1z", 0xC1, "<c1>"},          // 0xC1 is not folded like 'A'
                    LookupCase{"\xE1z", 0xE1, "<none>"}, LookupCase{"", 0x00, "<none>"}));

TEST(ArchiveLookupRules, TwoEntriesOfOneNameTheFirstGivenWins) {
  archive::PackedArchive a =
      Pack({{"twin", B("first")}, {"tw", B("short")}, {"twin", B("second")}});
  EXPECT_EQ(NamesIn(a.index, 't'), (std::vector<std::string>{"tw", "twin", "twin"}));
  EXPECT_EQ(Read(a, "twin"), "first");
}

TEST(ArchiveLookupRules, WriterRefusesNamesItCannotStore) {
  archive::PackedArchive a;
  std::string error;
  for (const std::string& bad :
       {std::string(), std::string("a\0b", 3), std::string(archive::kMaxNameLength + 1, 'x')}) {
    error.clear();
    EXPECT_FALSE(archive::BuildArchive({{bad, B("x")}}, &a, &error));
    EXPECT_NE(error.find("entry name"), std::string::npos);
  }
  // The longest name still fits the 16-bit entry size and is found.
  std::string longest(archive::kMaxNameLength, 'n');
  ASSERT_TRUE(archive::BuildArchive({{longest, B("long")}}, &a, &error));
  EXPECT_EQ(Read(a, longest.c_str()), "long");
}

// ---- scrambling ------------------------------------------------------------

TEST(ArchiveScrambling, SchemeOneKeyStreamMatchesTheGenerator) {
  // Expected key bytes worked out separately: s = s * 214013 + 2531011 from
  // seed 0x5A, bits 16-23 of each s.
  const Bytes key = {0x4C, 0xE4, 0x55, 0x47, 0xCE, 0x93, 0xE6, 0xFF};
  Bytes stored = archive::ScrambleBody(1, 0x5A, Bytes(8, 0));
  Bytes want = {0x01, 0x5A};
  want.insert(want.end(), key.begin(), key.end());
  ASSERT_EQ(stored, want);
  archive::Unscramble(stored.data(), stored.size());
  EXPECT_EQ(stored, (Bytes{0x01, 0x5A, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(ArchiveScrambling, SchemeTwoXorsEveryByteAfterTheMarker) {
  Bytes stored = archive::ScrambleBody(2, 0, B("AB"));
  ASSERT_EQ(stored, (Bytes{0x02, 0xF5, 0xF6}));
  archive::Unscramble(stored.data(), stored.size());
  EXPECT_EQ(stored, (Bytes{0x02, 'A', 'B'}));
}

TEST(ArchiveScrambling, RoundTripKeepsMarkerAndSeedOverManySeeds) {
  for (int seed = 0; seed < 256; ++seed) {
    Bytes content;
    for (int i = 0; i < seed % 37; ++i) content.push_back(static_cast<unsigned char>(i * seed));
    for (int scheme : {1, 2}) {
      Bytes body = archive::ScrambleBody(scheme, static_cast<unsigned char>(seed), content);
      archive::Unscramble(body.data(), body.size());
      std::size_t skip = scheme == 1 ? 2 : 1;
      ASSERT_EQ(Bytes(body.begin() + skip, body.end()), content) << scheme << "/" << seed;
      ASSERT_EQ(body[0], scheme);
    }
  }
}

class ArchiveShortScrambled : public testing::TestWithParam<Bytes> {};

TEST_P(ArchiveShortScrambled, ComesBackUnchanged) {
  Bytes body = GetParam();
  // An exact-size heap copy, so a read past the end would touch foreign memory.
  unsigned char* heap = static_cast<unsigned char*>(std::malloc(body.size() + 1));
  std::memcpy(heap, body.data(), body.size());
  archive::Unscramble(heap, body.size());
  EXPECT_EQ(Bytes(heap, heap + body.size()), body);
  std::free(heap);
}

INSTANTIATE_TEST_SUITE_P(Bodies, ArchiveShortScrambled,
                         testing::Values(Bytes{0x02}, Bytes{0x01, 0x77}, Bytes{0x01},
                                         Bytes{'B', 'M', 0x01}, Bytes{0x03, 0xFF}));

// ---- damaged indexes -------------------------------------------------------

struct Damage {
  const char* what;
  void (*apply)(Bytes* index);
  std::vector<std::string> stillFound;  // of the seven delivered names
};

std::size_t BucketAt(const Bytes& index, unsigned b) { return U32At(index, 16 + 4 * b); }
// Positions in the delivered index (see DeliveredNamesGiveTheDeliveredIndex).
constexpr std::size_t kCharAt = 1040 + 4 * 0x63 + 24 + 24 + 4;
constexpr std::size_t kClickAt = kCharAt + 22;

class ArchiveDamage : public testing::TestWithParam<Damage> {};

TEST_P(ArchiveDamage, DamagedEntriesAreNotFoundTheRestStillIs) {
  Bytes index = PackDelivered().index;
  GetParam().apply(&index);
  std::vector<std::string> found;
  for (const char* n : {"_head.txt", "buttons.tw", "char.tw", "click.wav", "mask1.bmp", "mask2.bmp",
                        "panel.tw", "cz"}) {
    Bytes exact(index);  // exact size: nothing behind it to read by accident
    if (archive::FindEntry(exact.data(), exact.size(), n) != 0) found.push_back(n);
  }
  EXPECT_EQ(found, GetParam().stillFound) << GetParam().what;
}

const std::vector<std::string> kAllButBucket63 = {"_head.txt", "buttons.tw", "mask1.bmp",
                                                  "mask2.bmp", "panel.tw"};
const std::vector<std::string> kAllSeven = {"_head.txt", "buttons.tw", "char.tw", "click.wav",
                                            "mask1.bmp", "mask2.bmp",  "panel.tw"};

INSTANTIATE_TEST_SUITE_P(
    Cases, ArchiveDamage,
    testing::Values(
        Damage{"nothing", [](Bytes*) {}, kAllSeven},
        Damage{"bucket offset at the end",
               [](Bytes* i) { PutU32(i, 16 + 4 * 0x63, static_cast<std::uint32_t>(i->size())); },
               kAllButBucket63},
        Damage{
            "bucket offset 2 bytes before the end",
            [](Bytes* i) { PutU32(i, 16 + 4 * 0x63, static_cast<std::uint32_t>(i->size() - 2)); },
            kAllButBucket63},
        Damage{"bucket offset huge", [](Bytes* i) { PutU32(i, 16 + 4 * 0x63, 0xFFFFFFFCu); },
               kAllButBucket63},
        Damage{"bucket offset into the table", [](Bytes* i) { PutU32(i, 16 + 4 * 0x63, 16); },
               kAllButBucket63},
        Damage{"negative count", [](Bytes* i) { PutU32(i, BucketAt(*i, 0x63), 0xFFFFFFFFu); },
               kAllButBucket63},
        Damage{"huge count: the bucket's own entries still count",
               [](Bytes* i) { PutU32(i, BucketAt(*i, 0x63), 0x7FFFFFFF); }, kAllSeven},
        Damage{"count one short",
               [](Bytes* i) { PutU32(i, BucketAt(*i, 0x63), 1); },
               {"_head.txt", "buttons.tw", "char.tw", "mask1.bmp", "mask2.bmp", "panel.tw"}},
        Damage{"entry size 0", [](Bytes* i) { (*i)[kCharAt] = 0; }, kAllButBucket63},
        Damage{"entry size below its name", [](Bytes* i) { (*i)[kCharAt] = 20; }, kAllButBucket63},
        Damage{"name length past the end",
               [](Bytes* i) { (*i)[kClickAt + 12] = 0xFF, (*i)[kClickAt + 13] = 0xFF; },
               {"_head.txt", "buttons.tw", "char.tw", "mask1.bmp", "mask2.bmp", "panel.tw"}},
        Damage{"entry size past the end",
               [](Bytes* i) { (*i)[kClickAt] = 0xFE, (*i)[kClickAt + 1] = 0xFF; },
               {"_head.txt", "buttons.tw", "char.tw", "mask1.bmp", "mask2.bmp", "panel.tw"}},
        Damage{"cut inside the bucket table", [](Bytes* i) { i->resize(1039); }, {}},
        Damage{"cut inside panel.tw's entry",
               [](Bytes* i) { i->resize(BucketAt(*i, 0x70) + 25); },
               {"_head.txt", "buttons.tw", "char.tw", "click.wav", "mask1.bmp", "mask2.bmp"}}));

TEST(ArchiveDamageSweep, EveryTruncationFindsExactlyTheWholeEntries) {
  const Bytes full = PackDelivered().index;
  for (std::size_t cut = 0; cut <= full.size(); ++cut) {
    Bytes index(full.begin(), full.begin() + cut);
    for (const char* n : {"_head.txt", "buttons.tw", "char.tw", "click.wav", "mask1.bmp",
                          "mask2.bmp", "panel.tw"}) {
      std::uint32_t where = archive::FindEntry(full.data(), full.size(), n);
      archive::EntryView e;
      ASSERT_TRUE(archive::EntryAt(full.data(), full.size(), where, &e));
      bool whole = cut >= where + e.entrySize;
      ASSERT_EQ(archive::FindEntry(index.data(), index.size(), n), whole ? where : 0)
          << n << " cut at " << cut;
    }
  }
}

TEST(ArchiveBodies, BodyMustBeNonEmptyAndInsideTheData) {
  archive::PackedArchive a = PackDelivered();
  std::size_t lengthAt = kClickAt + 8, offsetAt = kClickAt + 4;
  struct Case {
    std::uint32_t offset;
    std::uint32_t length;
    bool readable;
  } cases[] = {
      {32, 11, true},                                             // as packed
      {static_cast<std::uint32_t>(a.data.size()) - 1, 1, true},   // last byte
      {static_cast<std::uint32_t>(a.data.size()) - 1, 2, false},  // one past
      {static_cast<std::uint32_t>(a.data.size()), 1, false},
      {0xFFFFFFFFu, 1, false},
      {1, 0x7FFFFFFF, false},
      {1, 0, false},
      {1, 0xFFFFFFFFu, false},  // -1
      {1, 0x80000000u, false},  // most negative
  };
  for (const Case& c : cases) {
    archive::PackedArchive d = a;
    PutU32(&d.index, offsetAt, c.offset);
    PutU32(&d.index, lengthAt, c.length);
    EXPECT_EQ(Read(d, "click.wav") != "<none>", c.readable) << c.offset << "+" << c.length;
  }
  EXPECT_EQ(Read(a, "click.wav"), "<click.wav>");
}

// ---- helpers of the Win32 skin -------------------------------------------

TEST(ArchiveImageSize, WidthAndHeightFromBytes18And22) {
  Bytes bmp(26, 0);
  PutU32(&bmp, 18, 0x00000140);
  PutU32(&bmp, 22, 0xFFFFFF10);  // negative: a top-down bitmap
  std::int32_t w = 1, h = 1;
  archive::ImageSizeOf(bmp.data(), bmp.size(), &w, &h);
  EXPECT_EQ(w, 320);
  EXPECT_EQ(h, -240);
  archive::ImageSizeOf(bmp.data(), 25, &w, &h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
}

struct DirCase {
  const char* module;
  const char* dir;
};

class ArchiveProgramDir : public testing::TestWithParam<DirCase> {};

TEST_P(ArchiveProgramDir, CutAfterTheLastSeparatorFromTheSecondCharacterOn) {
  std::string module = GetParam().module;
  EXPECT_EQ(module.substr(0, archive::ProgramDirLength(module.c_str())), GetParam().dir);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ArchiveProgramDir,
    testing::Values(DirCase{"C:\\Apps\\Launcher\\run.exe", "C:\\Apps\\Launcher\\"},
                    DirCase{"D:run.exe", "D:"}, DirCase{"run.exe", ""},
                    DirCase{"\\run.exe", ""},  // the first character is never a cut
                    DirCase{"x", ""}, DirCase{"", ""}, DirCase{"a\\", "a\\"},
                    DirCase{"C:\\dir/x.exe", "C:\\"}));

}  // namespace
