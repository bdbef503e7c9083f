#pragma once
// The archive format, write side: lays out an index and a data block from a
// set of named bodies in the layout the program reads (see ArchiveFormat.h).
// Used by the archive tool and by tests; the program itself only reads.

#include <cstdint>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"

namespace archive {

// Every data block starts with this header, indexed as kHeadName.
extern const char kHeadText[];  // "[ARCHIVE]\r\n", 11 bytes
extern const char kHeadName[];  // "_head.txt"
constexpr std::size_t kHeadLength = 11;

// The longest name whose entry size still fits the 16-bit size field.
constexpr std::size_t kMaxNameLength = 0xFFFE - kEntryHeaderSize;

struct PackEntry {
  std::string name;                 // bytes, no NUL; non-empty
  std::vector<unsigned char> body;  // exactly as stored (already scrambled)
};

struct PackedArchive {
  std::vector<unsigned char> index;
  std::vector<unsigned char> data;
};

// Builds index and data. The header entry is added first; entries go to
// their buckets, and both bucket entries and bodies follow the ascending byte
// order of the names (entries with equal names keep their given order, so
// the first given wins on lookup). Returns false with a message when a name
// is empty, holds a NUL byte or is too long, or the data would outgrow the
// 32-bit offsets.
bool BuildArchive(const std::vector<PackEntry>& entries, PackedArchive* out, std::string* error);

// The stored body for content under scheme 1 or 2: the marker byte (and for
// scheme 1 the seed byte) followed by the scrambled content, so that the
// program's Unscramble gives back marker, seed and the content.
std::vector<unsigned char> ScrambleBody(int scheme, unsigned char seed,
                                        const std::vector<unsigned char>& content);

// The entry size the index stores for a name of nameLength bytes.
std::size_t EntrySizeFor(std::size_t nameLength);

}  // namespace archive
