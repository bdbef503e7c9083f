#include "imaging/MaskRegion.h"

#include <cstdlib>
#include <utility>

#include "archive/ResourceArchive.h"
#include "imaging/MaskScan.h"

namespace {

MaskBitmap View(const MaskRegion& m) {
  MaskBitmap b;
  b.pixels = m.pixels;
  b.rowStride = m.rowStride;
  b.width = m.width;
  b.height = m.height;
  b.bitsPerPixel = m.bitsPerPixel;
  return b;
}

}  // namespace

int MaskRegion::Load(const char* name) {
  ImageSize size = {0, 0};
  int length = 0;
  unsigned char* entry = g_archive.LoadImageEntry(name, &size, &length);
  if (entry == nullptr) return 0;
  int result = length > 0 ? LoadFromMemory(entry, static_cast<std::size_t>(length)) : 0;
  std::free(entry);
  return result;
}

int MaskRegion::LoadFromMemory(const std::uint8_t* data, std::size_t size) {
  MaskBitmap bmp;
  if (!ReadMaskBmp(data, size, &bmp)) return 0;
  const std::size_t rowsSize = size - static_cast<std::size_t>(bmp.pixels - data);
  int result = Build(bmp.pixels, rowsSize, bmp.width, bmp.height, bmp.bitsPerPixel);
  pixels = nullptr;  // the rows belong to the caller's buffer
  return result;
}

int MaskRegion::Build(const std::uint8_t* rows, std::size_t size, int w, int h, int bits) {
  MaskBitmap bmp;
  pixels = rows;
  width = w;
  height = h;
  bitsPerPixel = bits;
  if (!MakeMaskBitmap(rows, size, w, h, bits, &bmp)) return 0;
  rowStride = bmp.rowStride;
  // A second build replaces the first region instead of leaking it.
  Release();
  int made = ForEachMaskRun(bmp, [this](int y, int start, int end) {
    GdiObject<HRGN> rect(CreateRectRgn(start, y, end, y + 1));
    if (!region) {
      region = std::move(rect);
    } else if (rect) {
      CombineRgn(region.Lend(), region.Lend(), rect.Lend(), RGN_OR);
    }
  });
  return made > 0 && region ? 1 : 0;
}

int MaskRegion::PixelAt(int x, int y) const { return MaskPixelAt(View(*this), x, y); }

int MaskRegion::FindRunStart(int x, int y, int end) const {
  return MaskFindRunStart(View(*this), x, y, end);
}

int MaskRegion::FindRunEnd(int x, int y, int end) const {
  return MaskFindRunEnd(View(*this), x, y, end);
}

int MaskRegion::Enlarge(int factor) {
  if (factor == 1) return region ? 1 : 0;
  if (factor < 1 || !region) return 0;
  DWORD size = GetRegionData(region.Lend(), 0, nullptr);
  if (size < sizeof(RGNDATAHEADER)) return 0;
  auto* data = static_cast<RGNDATA*>(std::malloc(size));
  if (!data) return 0;
  int result = 0;
  if (GetRegionData(region.Lend(), size, data) == size) {
    // Rectangles of a mask's outline lie within its bitmap, so the products
    // stay far inside an int.
    RECT* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (DWORD k = 0; k < data->rdh.nCount; ++k) {
      rects[k].left *= factor;
      rects[k].top *= factor;
      rects[k].right *= factor;
      rects[k].bottom *= factor;
    }
    RECT& bound = data->rdh.rcBound;
    bound.left *= factor;
    bound.top *= factor;
    bound.right *= factor;
    bound.bottom *= factor;
    GdiObject<HRGN> enlarged(ExtCreateRegion(nullptr, size, data));
    if (enlarged) {
      region = std::move(enlarged);
      result = 1;
    }
  }
  std::free(data);
  return result;
}
