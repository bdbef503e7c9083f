// Feeds arbitrary bytes to the picture reader and both decoders, through the
// same steps the surface's load takes: record 0 into a picture-sized target and
// into a smaller clipped one, then the mask record into its plane. Each build
// of the fast pixel decoder must also equal the plain one, pixel for pixel.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/PictureFormat.h"
#include "imaging/PixelKernels.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Picture pic(data, size);
  PictureRecord rec;
  if (pic.Record(0, &rec)) {
    const std::size_t n = static_cast<std::size_t>(rec.width()) * rec.height();
    if (n <= (1u << 20)) {
      std::vector<std::uint32_t> plain(n, 0x5A5A5A5A);
      const int ok = DecodePixelsPlain(rec, plain.data(), rec.width(), rec.height());
      for (const PixelKernel kernel : {PixelKernel::kPortable, PixelKernel::kSsse3}) {
        if (!PixelKernelAvailable(kernel)) continue;
        std::vector<std::uint32_t> px(n, 0xA5A5A5A5);
        if (DecodePixelsWith(kernel, rec, px.data(), rec.width(), rec.height()) != ok ||
            px != plain) {
          __builtin_trap();
        }
      }
    }
    // A smaller target: the decoder must clip, whatever the picture's size.
    std::vector<std::uint32_t> small(7 * 5);
    DecodePixels(rec, small.data(), 7, 5);
  }
  PictureRecord mask;
  if (pic.MaskRecord(&mask)) {
    const std::size_t n = static_cast<std::size_t>(mask.width()) * mask.height();
    std::vector<std::uint8_t> plane(n <= (1u << 20) ? n : 64);
    DecodeMask(mask, plane.data(), plane.size());
  }
  return 0;
}
