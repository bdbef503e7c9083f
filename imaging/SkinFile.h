#pragma once
// The files of a skin folder beside the program, before any of them is
// decoded: their names at a display scale, the size each must have, the
// check of a PNG's header against that size, and why a file is refused.
// Every file is optional; a refused one leaves the built-in picture in place.

#include <cstddef>
#include <cstdint>

enum SkinPart {
  kSkinPage,       // a page's character frame
  kSkinPageBlink,  // the same with the eyes closed
  kSkinPanel,
  kSkinButtons,  // previous and next side by side; normal, hover, pressed rows
};

// The window's lengths at one scale that fix the files' sizes; the
// launcher's metrics at that scale hold them.
struct SkinLengths {
  int characterWidth;
  int frameHeight;
  int panelWidth;
  int windowHeight;
};

struct SkinSize {
  int width;
  int height;
};

// Frames characterWidth x frameHeight, the panel panelWidth x windowHeight,
// the buttons characterWidth x three rows of windowHeight - frameHeight.
SkinSize SkinPartSize(SkinPart part, const SkinLengths& lengths);

// The file name of a part at a scale: at 100 % "page1.png" .. "page6.png"
// (page 0 .. 5), "page1-blink.png" .., "panel.png" and "buttons.png"; at
// another scale the factor comes before ".png": "page1@2x.png",
// "panel@1.25x.png". `page` counts only for the two page parts. False (and
// out "" when size > 0) for a page or scale out of range (100 .. 500 %) or a
// buffer of fewer than `size` bytes.
bool SkinFileName(SkinPart part, int page, int percent, char* out, std::size_t size);

// Why a file is not used. kSkinMissing is no fault (the files are optional)
// and is not reported; every other reason is.
enum SkinRefusal {
  kSkinAccepted = 0,
  kSkinMissing,
  kSkinNotAFile,      // a folder or something else that is not a file
  kSkinUnreadable,    // could not be opened or read
  kSkinFileTooLarge,  // more than kMaxSkinFileBytes
  kSkinNotPng,        // no PNG signature
  kSkinWrongSize,     // width or height not those of the part at the scale
  kSkinDamaged,       // cut short or corrupt: the codec failed on it
  kSkinUnsupported,   // pixels the codec cannot convert to 32-bit BGRA
  kSkinNoCodec,       // the system's imaging component cannot be had
  kSkinNoMemory,
};

// A skin picture is at most a few megabytes even at 500 % with 16-bit
// channels; a longer file is refused before it is read.
constexpr std::size_t kMaxSkinFileBytes = std::size_t{16} << 20;

// The reason as a sentence in Simplified Chinese, to follow the file's name
// in the start-up message; null for kSkinAccepted or an unknown value.
const char* SkinRefusalText(SkinRefusal reason);

// kSkinAccepted when width x height is `expected`, else kSkinWrongSize.
SkinRefusal CheckSkinSize(std::uint32_t width, std::uint32_t height, SkinSize expected);

// The check before a codec sees a file's bytes: a PNG signature
// (kSkinNotPng), then a complete header chunk (kSkinDamaged), then its width
// and height (CheckSkinSize). A header that claims a huge picture is refused
// here, before anything is allocated for it.
SkinRefusal CheckSkinFileHeader(const std::uint8_t* bytes, std::size_t size, SkinSize expected);
