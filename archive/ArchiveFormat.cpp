#include "archive/ArchiveFormat.h"

#include <cstdlib>
#include <cstring>

namespace archive {
namespace {

std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t U32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int32_t I32(const unsigned char* p) {
  // Two's complement without relying on implementation-defined conversion.
  std::uint32_t u = U32(p);
  return u <= 0x7FFFFFFFu ? static_cast<std::int32_t>(u) : -static_cast<std::int32_t>(~u) - 1;
}

}  // namespace

const char* DescribeProblem(IndexProblem problem) {
  switch (problem) {
    case IndexProblem::kNone:
      return "no problem";
    case IndexProblem::kIndexTooShort:
      return "index shorter than its bucket table";
    case IndexProblem::kBucketOutside:
      return "bucket offset outside the index";
    case IndexProblem::kEntryTruncated:
      return "entry runs past the end of the index";
    case IndexProblem::kEntrySizeTooSmall:
      return "entry size smaller than its name needs";
  }
  return "unknown problem";
}

unsigned BucketOf(unsigned char firstByte) {
  return (firstByte >= 0x41 && firstByte <= 0x5A) ? (firstByte | 0x20u) : firstByte;
}

bool OpenBucket(const unsigned char* index, std::size_t size, unsigned bucket,
                BucketCursor* cursor) {
  cursor->index = index;
  cursor->size = size;
  cursor->next = 0;
  cursor->remaining = 0;
  cursor->problem = IndexProblem::kNone;
  if (!index || size < kFirstBucketOffset || bucket >= kBucketCount) {
    cursor->problem = IndexProblem::kIndexTooShort;
    return false;
  }
  std::uint32_t offset = U32(index + kHeaderSize + 4 * bucket);
  // Buckets live behind the table, so no entry position can ever be 0.
  if (offset < kFirstBucketOffset || offset > size || size - offset < 4) {
    cursor->problem = IndexProblem::kBucketOutside;
    return false;
  }
  std::int32_t count = I32(index + offset);
  cursor->next = offset + 4;
  cursor->remaining = count > 0 ? count : 0;
  return true;
}

bool EntryAt(const unsigned char* index, std::size_t size, std::uint32_t position,
             EntryView* entry) {
  if (!index || position > size || size - position < kEntryHeaderSize) return false;
  const unsigned char* p = index + position;
  entry->position = position;
  entry->entrySize = U16(p);
  entry->dataOffset = U32(p + 4);
  entry->dataLength = I32(p + 8);
  entry->nameLength = U16(p + 12);
  entry->name = p + kEntryHeaderSize;
  return entry->entrySize >= kEntryHeaderSize + entry->nameLength &&
         entry->entrySize <= size - position;
}

bool NextEntry(BucketCursor* cursor, EntryView* entry) {
  if (cursor->problem != IndexProblem::kNone || cursor->remaining <= 0) return false;
  std::size_t position = cursor->next;
  if (position > cursor->size || cursor->size - position < kEntryHeaderSize) {
    cursor->problem = IndexProblem::kEntryTruncated;
    return false;
  }
  if (!EntryAt(cursor->index, cursor->size, static_cast<std::uint32_t>(position), entry)) {
    cursor->problem = entry->entrySize < kEntryHeaderSize + entry->nameLength
                          ? IndexProblem::kEntrySizeTooSmall
                          : IndexProblem::kEntryTruncated;
    return false;
  }
  cursor->next = position + entry->entrySize;
  --cursor->remaining;
  return true;
}

std::uint32_t FindEntry(const unsigned char* index, std::size_t size, const unsigned char* name,
                        std::size_t nameLength) {
  if (!name || nameLength == 0) return 0;
  BucketCursor cursor;
  if (!OpenBucket(index, size, BucketOf(name[0]), &cursor)) return 0;
  EntryView entry;
  while (NextEntry(&cursor, &entry)) {
    if (entry.nameLength == nameLength && std::memcmp(entry.name, name, nameLength) == 0) {
      return entry.position;
    }
  }
  return 0;
}

std::uint32_t FindEntry(const unsigned char* index, std::size_t size, const char* name) {
  if (!name) return 0;
  return FindEntry(index, size, reinterpret_cast<const unsigned char*>(name), std::strlen(name));
}

bool BodyInside(const EntryView& entry, std::uint64_t dataSize) {
  if (entry.dataLength <= 0) return false;
  return entry.dataOffset <= dataSize &&
         static_cast<std::uint64_t>(entry.dataLength) <= dataSize - entry.dataOffset;
}

void ApplyScheme1(unsigned char* bytes, std::size_t length, unsigned char seed) {
  std::uint32_t s = seed;
  for (std::size_t i = 0; i < length; ++i) {
    s = s * 214013u + 2531011u;
    bytes[i] ^= static_cast<unsigned char>(s >> 16);
  }
}

void Unscramble(unsigned char* body, std::size_t length) {
  if (!body || length == 0) return;
  if (body[0] == 0x01) {
    // The seed byte itself may be missing in a one-byte entry.
    if (length > 2) ApplyScheme1(body + 2, length - 2, body[1]);
  } else if (body[0] == 0x02) {
    for (std::size_t i = 1; i < length; ++i) body[i] ^= kScheme2Key;
  }
}

unsigned char* CopyEntry(const unsigned char* index, std::size_t indexSize,
                         const unsigned char* data, std::size_t dataSize, const char* name,
                         int* length) {
  std::uint32_t position = FindEntry(index, indexSize, name);
  EntryView entry;
  if (position == 0 || !EntryAt(index, indexSize, position, &entry) || !data ||
      !BodyInside(entry, dataSize)) {
    return nullptr;
  }
  std::size_t n = static_cast<std::size_t>(entry.dataLength);
  unsigned char* body = static_cast<unsigned char*>(std::malloc(n));
  if (!body) return nullptr;
  std::memcpy(body, data + entry.dataOffset, n);
  Unscramble(body, n);
  if (length) *length = entry.dataLength;
  return body;
}

void ImageSizeOf(const unsigned char* bytes, std::size_t length, std::int32_t* width,
                 std::int32_t* height) {
  if (!bytes || length < 26) {
    *width = 0;
    *height = 0;
    return;
  }
  *width = I32(bytes + 18);
  *height = I32(bytes + 22);
}

std::size_t ProgramDirLength(const char* moduleFileName) {
  if (!moduleFileName) return 0;
  std::size_t n = std::strlen(moduleFileName);
  for (std::size_t i = n; i-- > 1;) {
    if (moduleFileName[i] == '\\' || moduleFileName[i] == ':') return i + 1;
  }
  return 0;
}

}  // namespace archive
