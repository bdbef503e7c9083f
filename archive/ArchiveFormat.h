#pragma once
// The archive format, read side: an index of 256 name buckets and a data
// block of entry bodies. Pure code shared by the program and the archive tool;
// every function treats its bytes as untrusted.
//
// Index (little-endian):
//   0     4     magic "ARC2" (not checked)
//   4     12    reserved
//   16    1024  256 x u32: offset of bucket b from the start of the index
//   1040  ...   the buckets: i32 count, then count entries back to back
// Entry:
//   0     2     u16 entry size = 14 + name length, rounded up to even
//   2     2     reserved
//   4     4     u32 data offset of the body
//   8     4     i32 body length
//   12    2     u16 name length
//   14    n     name bytes (no terminator), then a pad byte when n is odd
// An entry lives in the bucket of its name's first byte, A-Z folded to a-z.

#include <cstddef>
#include <cstdint>

namespace archive {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kBucketCount = 256;
constexpr std::size_t kFirstBucketOffset = kHeaderSize + 4 * kBucketCount;  // 1040
constexpr std::size_t kEntryHeaderSize = 14;
// An index larger than this is not one we wrote; refuse it before allocating.
constexpr std::size_t kMaxIndexSize = 64u << 20;

// Why a bucket walk stopped before its count ran out.
enum class IndexProblem {
  kNone,
  kIndexTooShort,      // shorter than the bucket table
  kBucketOutside,      // bucket offset inside the header/table or past the end
  kEntryTruncated,     // an entry header or its name/padding runs past the end
  kEntrySizeTooSmall,  // entry size below 14 + name length (0 would never advance)
};

const char* DescribeProblem(IndexProblem problem);

// One entry as stored in the index; name points into the index buffer.
struct EntryView {
  std::uint32_t position;  // from the start of the index; never 0
  std::uint16_t entrySize;
  std::uint32_t dataOffset;
  std::int32_t dataLength;
  const unsigned char* name;
  std::uint16_t nameLength;
};

// The bucket a name belongs to: its first byte, with A-Z folded to lower case.
unsigned BucketOf(unsigned char firstByte);

// Walks the entries of one bucket in order. Usage:
//   BucketCursor c; OpenBucket(index, size, b, &c); while (NextEntry(&c, &e)) ...
// and afterwards c.problem says whether the walk ended cleanly.
struct BucketCursor {
  const unsigned char* index;
  std::size_t size;
  std::size_t next;        // position of the next entry
  std::int32_t remaining;  // entries the count still promises
  IndexProblem problem;
};

bool OpenBucket(const unsigned char* index, std::size_t size, unsigned bucket,
                BucketCursor* cursor);
bool NextEntry(BucketCursor* cursor, EntryView* entry);

// The position of the first entry named exactly name (nameLength bytes), or 0.
// A damaged bucket ends the search: what lies behind the damage is not found.
std::uint32_t FindEntry(const unsigned char* index, std::size_t size, const unsigned char* name,
                        std::size_t nameLength);
std::uint32_t FindEntry(const unsigned char* index, std::size_t size, const char* name);

// Reads the entry at position (as FindEntry returned it); false when it does
// not lie whole inside the index.
bool EntryAt(const unsigned char* index, std::size_t size, std::uint32_t position,
             EntryView* entry);

// True when the body is non-empty and lies whole inside a data block of dataSize bytes.
bool BodyInside(const EntryView& entry, std::uint64_t dataSize);

// Undoes the scrambling chosen by the first byte (the marker), in place:
//   0x01: byte 1 seeds s; for i >= 2: s = s * 214013 + 2531011, byte i ^= s >> 16
//   0x02: every byte from 1 on is XORed with 0xB4
// The marker (and the seed byte) stay. Any other first byte: plain, untouched.
void Unscramble(unsigned char* body, std::size_t length);

// The key stream of scheme 1 is its own inverse; the writer uses this too.
void ApplyScheme1(unsigned char* bytes, std::size_t length, unsigned char seed);
constexpr unsigned char kScheme2Key = 0xB4;

// Looks name up and returns a fresh malloc'd, unscrambled copy of its body
// taken from data, or null when the name is missing or its entry is damaged
// (body empty, negative or outside the data). *length gets the body length.
unsigned char* CopyEntry(const unsigned char* index, std::size_t indexSize,
                         const unsigned char* data, std::size_t dataSize, const char* name,
                         int* length);

// Width and height of a bitmap file (the signed values at bytes 18 and 22);
// (0, 0) when the buffer is too short to hold them.
void ImageSizeOf(const unsigned char* bytes, std::size_t length, std::int32_t* width,
                 std::int32_t* height);

// Length of the directory part of a module file name, separator included:
// the last backslash or colon found from the last character down to the
// second. 0 when there is none (names then resolve against the current
// directory).
std::size_t ProgramDirLength(const char* moduleFileName);

}  // namespace archive
