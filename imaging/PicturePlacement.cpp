#include "imaging/PicturePlacement.h"

#include <cstdlib>

#include "imaging/PixelOps.h"

int DecodePictureAt(const PictureRecord& record, std::uint32_t* pixels, int width, int height,
                    int x, int y) {
  const int w = record.width(), h = record.height();
  const long long right = static_cast<long long>(x) + w, bottom = static_cast<long long>(y) + h;
  if (x >= 0 && y >= 0 && right <= width && bottom <= height) {
    // It fits: decode in place, its bottom row at memory row height - y - h.
    std::uint32_t* start = pixels + static_cast<std::size_t>(height - y - h) * width + x;
    return DecodePixels(record, start, width, h);
  }
  // It sticks out: decode aside at full size and copy the part inside. The
  // decode writes every pixel of the picture, so both ways give the same.
  if (!SurfaceSizeValid(w, h)) return 0;
  std::uint32_t* temp = static_cast<std::uint32_t*>(
      std::malloc(static_cast<std::size_t>(w) * h * sizeof(std::uint32_t)));
  if (temp == nullptr) return 0;
  int ok = DecodePixels(record, temp, w, h);
  BlitSpan span;
  if (ClipBlit(width, height, w, h, x, y, w, h, 0, 0, &span)) {
    CopySpan(pixels, width, temp, w, span);
  }
  std::free(temp);
  return ok;
}
