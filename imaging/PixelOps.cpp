#include "imaging/PixelOps.h"

#include <algorithm>
#include <cstring>

bool SurfaceSizeValid(int width, int height) {
  return width > 0 && height > 0 &&
         static_cast<std::int64_t>(width) * static_cast<std::int64_t>(height) <= kMaxSurfacePixels;
}

bool ClipBlit(int dstWidth, int dstHeight, int srcWidth, int srcHeight, int dx, int dy, int w,
              int h, int sx, int sy, BlitSpan* span) {
  if (w <= 0 || h <= 0) return false;
  // Work in 64 bits in top-down coordinates; edges of the destination
  // rectangle are pulled in by the destination and by the source bounds.
  const std::int64_t x0 = std::max<std::int64_t>({dx, 0, std::int64_t{dx} - sx});
  const std::int64_t x1 =
      std::min<std::int64_t>({std::int64_t{dx} + w, dstWidth, std::int64_t{dx} + srcWidth - sx});
  const std::int64_t y0 = std::max<std::int64_t>({dy, 0, std::int64_t{dy} - sy});
  const std::int64_t y1 =
      std::min<std::int64_t>({std::int64_t{dy} + h, dstHeight, std::int64_t{dy} + srcHeight - sy});
  if (x0 >= x1 || y0 >= y1) return false;
  const std::int64_t rows = y1 - y0;
  const std::int64_t srcTop = sy + (y0 - dy);
  span->cols = static_cast<int>(x1 - x0);
  span->rows = static_cast<int>(rows);
  span->dstCol = static_cast<int>(x0);
  span->srcCol = static_cast<int>(sx + (x0 - dx));
  // The lowest memory row holds the bottom-most top-down row.
  span->dstRow = static_cast<int>(dstHeight - y1);
  span->srcRow = static_cast<int>(srcHeight - srcTop - rows);
  return true;
}

void CopySpan(std::uint32_t* dst, int dstWidth, const std::uint32_t* src, int srcWidth,
              const BlitSpan& span) {
  std::uint32_t* d = dst + static_cast<std::size_t>(span.dstRow) * dstWidth + span.dstCol;
  const std::uint32_t* s = src + static_cast<std::size_t>(span.srcRow) * srcWidth + span.srcCol;
  const std::size_t bytes = static_cast<std::size_t>(span.cols) * sizeof(std::uint32_t);
  for (int r = 0; r < span.rows; ++r) {
    std::memmove(d, s, bytes);
    d += dstWidth;
    s += srcWidth;
  }
}
