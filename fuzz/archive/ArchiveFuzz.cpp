// Fuzzes the archive reader: bucket lookup, entry parsing, body bounds,
// unscrambling and the image size of what comes back.
// Input: u32 little-endian index length, the index, then the data block.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"

namespace {

const char* const kNames[] = {"_head.txt", "buttons.tw", "char.tw",   "click.wav",   "mask1.bmp",
                              "mask2.bmp", "panel.tw",   "CLICK.WAV", "\xB5\xE3.tw", "a"};

// An exact-size heap copy: a read one byte past the end is an ASan report.
unsigned char* Copy(const std::uint8_t* bytes, std::size_t n) {
  unsigned char* p = static_cast<unsigned char*>(std::malloc(n ? n : 1));
  if (n) std::memcpy(p, bytes, n);
  return p;
}

void Read(const unsigned char* index, std::size_t indexSize, const unsigned char* data,
          std::size_t dataSize, const char* name) {
  int length = 0;
  unsigned char* body = archive::CopyEntry(index, indexSize, data, dataSize, name, &length);
  if (!body) return;
  if (length <= 0) std::abort();  // a returned body is never empty
  std::int32_t w, h;
  archive::ImageSizeOf(body, static_cast<std::size_t>(length), &w, &h);
  std::free(body);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  if (size < 4) return 0;
  std::size_t indexSize =
      input[0] | (input[1] << 8) | (input[2] << 16) | (static_cast<std::size_t>(input[3]) << 24);
  if (indexSize > size - 4) indexSize = size - 4;
  std::size_t dataSize = size - 4 - indexSize;
  unsigned char* index = Copy(input + 4, indexSize);
  unsigned char* data = Copy(input + 4 + indexSize, dataSize);

  for (const char* name : kNames) Read(index, indexSize, data, dataSize, name);

  // Every name the index holds, looked up the way the program would.
  std::vector<std::string> names;
  for (unsigned b = 0; b < archive::kBucketCount && names.size() < 64; ++b) {
    archive::BucketCursor c;
    archive::EntryView e;
    archive::OpenBucket(index, indexSize, b, &c);
    while (names.size() < 64 && archive::NextEntry(&c, &e)) {
      archive::EntryView again;
      if (!archive::EntryAt(index, indexSize, e.position, &again) || again.position == 0) {
        std::abort();  // what the walk returned must read back
      }
      names.emplace_back(reinterpret_cast<const char*>(e.name), e.nameLength);
    }
  }
  for (const std::string& n : names) {
    if (n.find('\0') == std::string::npos) Read(index, indexSize, data, dataSize, n.c_str());
  }

  archive::Unscramble(data, dataSize);
  std::free(index);
  std::free(data);
  return 0;
}
