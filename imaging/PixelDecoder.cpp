// The decoder for any processor, and the choice between the builds.
#define DIDA_PIXEL_ENTRY DecodePixelsPortable
#define DIDA_PIXEL_SSSE3 0
#include "imaging/PixelDecoderBody.inl"

#include "imaging/CpuFeatures.h"
#include "imaging/PixelKernels.h"

bool PixelKernelAvailable(PixelKernel kernel) {
  if (kernel == PixelKernel::kPortable) return true;
  // Asked once: the answer cannot change while the program runs.
  static const bool ssse3 = kPixelSsse3Built && CpuHasSsse3();
  return ssse3;
}

PixelKernel BestPixelKernel() {
  return PixelKernelAvailable(PixelKernel::kSsse3) ? PixelKernel::kSsse3 : PixelKernel::kPortable;
}

int DecodePixelsWith(PixelKernel kernel, const PictureRecord& record, std::uint32_t* pixels,
                     int stride, int rows) {
  return kernel == PixelKernel::kSsse3 ? DecodePixelsSsse3(record, pixels, stride, rows)
                                       : DecodePixelsPortable(record, pixels, stride, rows);
}

int DecodePixels(const PictureRecord& record, std::uint32_t* pixels, int stride, int rows) {
  return DecodePixelsWith(BestPixelKernel(), record, pixels, stride, rows);
}
