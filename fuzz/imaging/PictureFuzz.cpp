// Feeds arbitrary bytes to the picture reader and both decoders, through the
// same steps the surface's load takes: record 0 into a picture-sized target and
// into a smaller clipped one, then the mask record into its plane. Each build
// of the fast pixel decoder must equal the plain one, pixel for pixel, and the
// mask decoder its plain reference, byte for byte. What one input may cost is
// bounded so that a run reaches millions of inputs: the comparisons take
// pictures of at most 65,536 pixels; larger ones go through the clipped
// target only, and a mask into a plane of at most 8,192 bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/PictureFormat.h"
#include "imaging/PixelKernels.h"

namespace {

constexpr std::size_t kMaxComparedPixels = 65536;
constexpr std::size_t kMaxPlane = 8192;

void ComparePixels(const PictureRecord& rec) {
  const std::size_t n = static_cast<std::size_t>(rec.width()) * rec.height();
  if (n > kMaxComparedPixels) return;
  std::vector<std::uint32_t> plain(n, 0x5A5A5A5A);
  const int ok = DecodePixelsPlain(rec, plain.data(), rec.width(), rec.height());
  for (const PixelKernel kernel : {PixelKernel::kPortable, PixelKernel::kSsse3}) {
    if (!PixelKernelAvailable(kernel)) continue;
    std::vector<std::uint32_t> px(n, 0xA5A5A5A5);
    if (DecodePixelsWith(kernel, rec, px.data(), rec.width(), rec.height()) != ok || px != plain) {
      __builtin_trap();
    }
  }
}

// The plane's size comes from the input's last bytes, so that every size
// from 1 byte to past the mask's own is tried.
void CompareMasks(const PictureRecord& mask, const std::uint8_t* data, std::size_t size) {
  const std::size_t n = static_cast<std::size_t>(mask.width()) * mask.height();
  const std::size_t pick = size >= 2 ? data[size - 1] | (data[size - 2] << 8) : 0;
  const std::size_t planeSize = 1 + pick % kMaxPlane;
  for (const std::size_t bytes : {planeSize, n <= kMaxPlane ? n : kMaxPlane}) {
    std::vector<std::uint8_t> plain(bytes + 16, 0x5A), fast(bytes + 16, 0x5A);
    const int ok = DecodeMaskPlain(mask, plain.data(), bytes);
    if (DecodeMask(mask, fast.data(), bytes) != ok || fast != plain) __builtin_trap();
    for (std::size_t i = bytes; i < bytes + 16; ++i) {
      if (fast[i] != 0x5A) __builtin_trap();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Picture pic(data, size);
  PictureRecord rec;
  if (pic.Record(0, &rec)) {
    ComparePixels(rec);
    // A smaller target: the decoder must clip, whatever the picture's size.
    std::vector<std::uint32_t> small(7 * 5);
    DecodePixels(rec, small.data(), 7, 5);
  }
  PictureRecord mask;
  if (pic.MaskRecord(&mask)) CompareMasks(mask, data, size);
  return 0;
}
