#include "archive/ArchiveWriter.h"

#include <algorithm>
#include <cstring>

namespace archive {

const char kHeadText[] = "[ARCHIVE]\r\n";
const char kHeadName[] = "_head.txt";

namespace {

void PutU16(std::vector<unsigned char>* out, std::size_t at, std::uint32_t v) {
  (*out)[at] = static_cast<unsigned char>(v);
  (*out)[at + 1] = static_cast<unsigned char>(v >> 8);
}

void PutU32(std::vector<unsigned char>* out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) (*out)[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

struct Placed {
  const std::string* name;
  const std::vector<unsigned char>* body;
  std::uint32_t offset;
};

bool ByName(const Placed& a, const Placed& b) {
  // Byte order: compare as unsigned bytes, not as (possibly signed) chars.
  return std::lexicographical_compare(
      a.name->begin(), a.name->end(), b.name->begin(), b.name->end(),
      [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
}

}  // namespace

std::size_t EntrySizeFor(std::size_t nameLength) {
  return (kEntryHeaderSize + nameLength + 1) & ~static_cast<std::size_t>(1);
}

bool BuildArchive(const std::vector<PackEntry>& entries, PackedArchive* out, std::string* error) {
  static const std::string headName(kHeadName);
  static const std::vector<unsigned char> headBody(kHeadText, kHeadText + kHeadLength);

  std::vector<Placed> placed;
  placed.reserve(entries.size() + 1);
  placed.push_back({&headName, &headBody, 0});
  for (const PackEntry& e : entries) {
    if (e.name.empty() || e.name.size() > kMaxNameLength ||
        e.name.find('\0') != std::string::npos) {
      *error = "entry name must be 1 to " + std::to_string(kMaxNameLength) +
               " bytes without NUL: '" + e.name + "'";
      return false;
    }
    if (e.body.size() > 0x7FFFFFFFu) {
      *error = "entry '" + e.name + "' is larger than 2 GiB";
      return false;
    }
    placed.push_back({&e.name, &e.body, 0});
  }
  // The header stays first in the data; the other bodies follow by name.
  std::stable_sort(placed.begin() + 1, placed.end(), ByName);

  std::uint64_t dataSize = 0;
  for (Placed& p : placed) {
    p.offset = static_cast<std::uint32_t>(dataSize);
    dataSize += p.body->size();
    if (dataSize > 0xFFFFFFFFu) {
      *error = "data would exceed 4 GiB";
      return false;
    }
  }
  out->data.clear();
  out->data.reserve(static_cast<std::size_t>(dataSize));
  for (const Placed& p : placed) out->data.insert(out->data.end(), p.body->begin(), p.body->end());

  // Bucket order within the index follows the names too, header included.
  std::stable_sort(placed.begin(), placed.end(), ByName);
  std::vector<unsigned char>& index = out->index;
  index.assign(kFirstBucketOffset, 0);
  std::memcpy(index.data(), "ARC2", 4);
  for (unsigned b = 0; b < kBucketCount; ++b) {
    std::size_t bucketAt = index.size();
    if (bucketAt > 0xFFFFFFFFu - 0x10000u) {
      *error = "index would exceed 4 GiB";
      return false;
    }
    PutU32(&index, kHeaderSize + 4 * b, static_cast<std::uint32_t>(bucketAt));
    index.resize(bucketAt + 4, 0);
    std::uint32_t count = 0;
    for (const Placed& p : placed) {
      if (BucketOf(static_cast<unsigned char>((*p.name)[0])) != b) continue;
      std::size_t at = index.size();
      std::size_t size = EntrySizeFor(p.name->size());
      index.resize(at + size, 0);
      PutU16(&index, at, static_cast<std::uint32_t>(size));
      PutU32(&index, at + 4, p.offset);
      PutU32(&index, at + 8, static_cast<std::uint32_t>(p.body->size()));
      PutU16(&index, at + 12, static_cast<std::uint32_t>(p.name->size()));
      std::memcpy(index.data() + at + kEntryHeaderSize, p.name->data(), p.name->size());
      ++count;
    }
    PutU32(&index, bucketAt, count);
  }
  return true;
}

std::vector<unsigned char> ScrambleBody(int scheme, unsigned char seed,
                                        const std::vector<unsigned char>& content) {
  std::vector<unsigned char> body;
  if (scheme == 1) {
    body.push_back(0x01);
    body.push_back(seed);
    body.insert(body.end(), content.begin(), content.end());
    ApplyScheme1(body.data() + 2, content.size(), seed);
  } else if (scheme == 2) {
    body.push_back(0x02);
    for (unsigned char c : content) body.push_back(static_cast<unsigned char>(c ^ kScheme2Key));
  } else {
    body = content;
  }
  return body;
}

}  // namespace archive
