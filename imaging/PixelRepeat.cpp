#include "imaging/PixelRepeat.h"

#include <cstddef>
#include <cstring>

#include "imaging/PixelOps.h"

namespace {

template <typename T>
void Repeat(const T* source, int width, int height, int factor, T* target) {
  if (!RepeatedSizeValid(width, height, factor)) return;
  const std::size_t targetWidth = static_cast<std::size_t>(width) * factor;
  for (int y = 0; y < height; ++y) {
    const T* in = source + static_cast<std::size_t>(y) * width;
    T* first = target + static_cast<std::size_t>(y) * factor * targetWidth;
    T* out = first;
    for (int x = 0; x < width; ++x) {
      for (int k = 0; k < factor; ++k) *out++ = in[x];
    }
    for (int k = 1; k < factor; ++k) {
      std::memcpy(first + k * targetWidth, first, targetWidth * sizeof(T));
    }
  }
}

}  // namespace

bool RepeatedSizeValid(int width, int height, int factor) {
  if (factor < 1 || width <= 0 || height <= 0) return false;
  std::int64_t w = static_cast<std::int64_t>(width) * factor;
  std::int64_t h = static_cast<std::int64_t>(height) * factor;
  return w <= kMaxSurfacePixels && h <= kMaxSurfacePixels && w * h <= kMaxSurfacePixels;
}

void RepeatPixels(const std::uint32_t* source, int width, int height, int factor,
                  std::uint32_t* target) {
  Repeat(source, width, height, factor, target);
}

void RepeatBytes(const std::uint8_t* source, int width, int height, int factor,
                 std::uint8_t* target) {
  Repeat(source, width, height, factor, target);
}
