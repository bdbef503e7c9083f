// Feeds arbitrary bytes to the BMP mask reader and the run scan that builds a
// window region, and to the surface's BMP row conversion.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/BmpRows.h"
#include "imaging/MaskScan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MaskBitmap mask;
  if (ReadMaskBmp(data, size, &mask)) {
    long long covered = 0;
    ForEachMaskRun(mask, [&](int, int start, int end) { covered += end - start; });
    if (covered < 0) __builtin_trap();
  }
  BmpInfo info;
  if (ReadBmpInfo(data, size, &info)) {
    // A fixed surface: the BMP lands clipped at a position taken from the input.
    std::vector<std::uint32_t> px(16 * 12);
    const int x = size > 0 ? static_cast<std::int8_t>(data[size - 1]) % 20 : 0;
    const int y = size > 1 ? static_cast<std::int8_t>(data[size - 2]) % 20 : 0;
    ConvertBmpRows(data, size, info, px.data(), 16, 12, x, y);
  }
  return 0;
}
