#pragma once
// A window outline read from a mask bitmap (1, 4 or 8 bits per pixel, 0 =
// inside) and built into a GDI region: one rectangle per horizontal run of
// inside pixels. The record owns the region and lends it; users copy it
// (CombineRgn with RGN_COPY) before handing it to SetWindowRgn.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "imaging/GdiObject.h"

class MaskRegion {
 public:
  MaskRegion() = default;
  MaskRegion(const MaskRegion&) = delete;
  MaskRegion& operator=(const MaskRegion&) = delete;

  // Reads a BMP entry from the archive and builds the region. 1 when a region
  // was built; 0 when the entry is missing or malformed or has no inside pixel.
  int Load(const char* name);
  int LoadFromMemory(const std::uint8_t* data, std::size_t size);

  // Scans `size` bytes of stored rows (bottom row first, standard BMP stride)
  // and unions one rectangle per run into `region`, replacing any region
  // built before. 1 when at least one rectangle was made.
  int Build(const std::uint8_t* rows, std::size_t size, int width, int height, int bitsPerPixel);

  // The bitmap being scanned, while Build runs; y counts from the top.
  int PixelAt(int x, int y) const;
  int FindRunStart(int x, int y, int end) const;
  int FindRunEnd(int x, int y, int end) const;

  // Enlarges the region by a whole factor (every rectangle's edges times
  // factor). 1 when done; a factor of 1 changes nothing.
  int Enlarge(int factor);

  LentGdi<HRGN> GetRegion() const { return region.Lend(); }
  void Release() { region.Reset(); }

  std::int32_t rowStride = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t bitsPerPixel = 0;
  const std::uint8_t* pixels = nullptr;
  GdiObject<HRGN> region;
};
