#pragma once
// Reads a user's skin picture (a PNG file) with the system's imaging
// component, bound late: ole32 is loaded, COM started and the component's
// factory made only when the first file gets past the checks that need none
// of them. The program carries no PNG decoder of its own.
//
// A file is refused, in this order: missing, a folder, unreadable, longer
// than kMaxSkinFileBytes, its header not a PNG's or of another size than
// expected (CheckSkinFileHeader: nothing decoded yet), the codec failing on
// it, its frame's size (GetSize) not the expected one, pixels that cannot be
// converted to 32-bit BGRA. Interlaced, 16-bit, grey and palette files are
// converted by the codec.
#include <cstddef>
#include <cstdint>

#include "imaging/SkinFile.h"

struct IWICImagingFactory;

// One reader serves the files of a start-up on one thread; it ends COM on
// that thread when it is destroyed, if it started it.
class SkinReader {
 public:
  SkinReader() = default;
  ~SkinReader();
  SkinReader(const SkinReader&) = delete;
  SkinReader& operator=(const SkinReader&) = delete;

  // Reads the file at `path` into `pixels` (count words): expected.width x
  // expected.height words of non-premultiplied 0xAARRGGBB, rows top-down, as
  // SkinPicture.h takes them. kSkinAccepted, or why not; after a refusal the
  // words hold nothing useful. An expected size of which no picture can be
  // made, or that `count` cannot hold, refuses every file as kSkinWrongSize.
  SkinRefusal Read(const wchar_t* path, SkinSize expected, std::uint32_t* pixels,
                   std::size_t count);

 private:
  SkinRefusal Decode(const std::uint8_t* bytes, std::size_t size, SkinSize expected,
                     std::uint32_t* pixels);
  IWICImagingFactory* Factory();

  IWICImagingFactory* m_factory = nullptr;
  bool m_factoryTried = false;
  bool m_endCom = false;  // this reader's CoInitializeEx succeeded
};
