#include "imaging/DrawSurface.h"

#include <cstdlib>
#include <cstring>

#include "archive/ResourceArchive.h"
#include "imaging/BmpRows.h"
#include "imaging/PicturePlacement.h"
#include "imaging/PixelOps.h"
#include "imaging/PixelRepeat.h"

namespace {

HWND g_referenceWindow = nullptr;

// Places a decoded mask plane (mw x mh, bottom row first) into the surface's
// plane with its top-left corner at (x, y), like the pixels; the rest is 0.
void PlaceMask(DrawSurface& s, const std::uint8_t* plane, int mw, int mh, int x, int y) {
  std::memset(s.mask, 0, static_cast<std::size_t>(s.width) * s.height);
  for (int r = 0; r < mh; ++r) {
    const long long row = static_cast<long long>(s.height) - mh - y + r;
    if (row < 0 || row >= s.height) continue;
    for (int c = 0; c < mw; ++c) {
      const long long col = static_cast<long long>(x) + c;
      if (col < 0 || col >= s.width) continue;
      s.mask[static_cast<std::size_t>(row) * s.width + static_cast<std::size_t>(col)] =
          plane[static_cast<std::size_t>(r) * mw + c];
    }
  }
}

}  // namespace

void DrawSurface::SetReferenceWindow(HWND hwnd) { g_referenceWindow = hwnd; }

int DrawSurface::Create(int w, int h) {
  Destroy();
  if (!SurfaceSizeValid(w, h)) return 0;
  info = static_cast<SurfaceInfo*>(std::calloc(1, sizeof(SurfaceInfo)));
  if (info == nullptr) return 0;
  info->header.biSize = sizeof(BITMAPINFOHEADER);
  info->header.biWidth = w;
  info->header.biHeight = h;  // positive: rows bottom-up
  info->header.biPlanes = 1;
  info->header.biBitCount = 32;
  info->header.biCompression = BI_BITFIELDS;
  info->colourMasks[0] = 0x00FF0000;
  info->colourMasks[1] = 0x0000FF00;
  info->colourMasks[2] = 0x000000FF;
  void* bits = nullptr;
  bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info), DIB_RGB_COLORS, &bits,
                            nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    bitmap = nullptr;
    std::free(info);
    info = nullptr;
    pixels = nullptr;
    return 0;
  }
  pixels = static_cast<std::uint32_t*>(bits);
  width = w;
  height = h;
  return 1;
}

void DrawSurface::Destroy() {
  if (m_lentDC != nullptr) {
    // A DC still holding the bitmap would keep DeleteObject from freeing it.
    UnlockDC(m_lentDC);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  std::free(info);
  FreeMask();
  bitmap = nullptr;
  info = nullptr;
  pixels = nullptr;
  dcLent = 0;
}

HDC DrawSurface::LockDC() {
  if (dcLent || bitmap == nullptr) return nullptr;
  HDC reference = GetDC(g_referenceWindow);
  HDC dc = CreateCompatibleDC(reference);
  if (dc != nullptr) savedObject = SelectObject(dc, bitmap);
  if (reference != nullptr) ReleaseDC(g_referenceWindow, reference);
  if (dc != nullptr) {
    dcLent = 1;
    m_lentDC = dc;
  }
  return dc;
}

void DrawSurface::UnlockDC(HDC hdc) {
  // Only the DC this surface lent comes back here; any other is not ours to delete.
  if (!dcLent || hdc == nullptr || hdc != m_lentDC) return;
  GdiFlush();  // what GDI drew must be in `pixels` before our code reads them
  SelectObject(hdc, savedObject);
  DeleteDC(hdc);
  dcLent = 0;
  m_lentDC = nullptr;
  savedObject = nullptr;
}

void DrawSurface::Blit(const DrawSurface& source, int dx, int dy, int w, int h, int sx, int sy) {
  if (bitmap == nullptr || source.bitmap == nullptr) return;
  BlitSpan span;
  if (!ClipBlit(width, height, source.width, source.height, dx, dy, w, h, sx, sy, &span)) return;
  CopySpan(pixels, width, source.pixels, source.width, span);
}

void DrawSurface::BlitAll(const DrawSurface& source, int dx, int dy) {
  Blit(source, dx, dy, source.width, source.height, 0, 0);
}

int DrawSurface::Present(HDC hdc, int x, int y) const {
  if (bitmap == nullptr) return 0;
  return SetDIBitsToDevice(hdc, x, y, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0,
                           0, static_cast<UINT>(height), pixels,
                           reinterpret_cast<const BITMAPINFO*>(info), DIB_RGB_COLORS);
}

int DrawSurface::RepeatOf(const DrawSurface& source, int factor) {
  Destroy();
  if (!source.pixels || !RepeatedSizeValid(source.width, source.height, factor)) return 0;
  if (!Create(source.width * factor, source.height * factor)) return 0;
  RepeatPixels(source.pixels, source.width, source.height, factor, pixels);
  if (source.mask) {
    AllocMask();
    if (!mask) {
      Destroy();
      return 0;
    }
    RepeatBytes(source.mask, source.width, source.height, factor, mask);
  }
  return 1;
}

std::uint8_t DrawSurface::MaskAt(int x, int y) const {
  if (mask == nullptr || x < 0 || y < 0 || x >= width || y >= height) return 0;
  return mask[static_cast<std::size_t>(height - 1 - y) * width + x];
}

void DrawSurface::AllocMask() {
  FreeMask();
  if (bitmap == nullptr) return;
  mask = static_cast<std::uint8_t*>(std::calloc(static_cast<std::size_t>(width) * height, 1));
  maskOwned = mask != nullptr ? 1 : 0;
}

void DrawSurface::FreeMask() {
  if (maskOwned && mask != nullptr) std::free(mask);
  mask = nullptr;
  maskOwned = 0;
}

int DrawSurface::Load(const char* name, int x, int y) {
  ImageSize size = {0, 0};
  int length = 0;
  unsigned char* entry = g_archive.LoadImageEntry(name, &size, &length);
  if (entry == nullptr) return 0;
  int result = length > 0 ? LoadFromMemory(entry, static_cast<std::size_t>(length), x, y) : 0;
  std::free(entry);
  return result;
}

int DrawSurface::LoadFromMemory(const std::uint8_t* data, std::size_t size, int x, int y) {
  if (data == nullptr) return 0;
  if (IsPictureFile(data, size)) return LoadPicture(data, size, x, y);
  return LoadBmp(data, size, x, y);
}

int DrawSurface::LoadPicture(const std::uint8_t* data, std::size_t size, int x, int y) {
  Picture picture(data, size);
  PictureRecord record;
  if (!picture.Record(0, &record)) return 0;
  if (!DecodeInto(*this, record, x, y)) return 0;
  PictureRecord maskRecord;
  if (!(record.flags() & kPicHasMask) || !picture.MaskRecord(&maskRecord)) return 1;

  AllocMask();
  if (mask == nullptr) return 0;
  const int mw = maskRecord.width(), mh = maskRecord.height();
  if (x == 0 && y == 0 && mw == width && mh == height) {
    return DecodeMask(maskRecord, mask, static_cast<std::size_t>(width) * height);
  }
  // Elsewhere, or another size: decode aside and line it up with the pixels.
  if (!SurfaceSizeValid(mw, mh)) return 0;
  std::uint8_t* plane =
      static_cast<std::uint8_t*>(std::calloc(static_cast<std::size_t>(mw) * mh, 1));
  if (plane == nullptr) return 0;
  int ok = DecodeMask(maskRecord, plane, static_cast<std::size_t>(mw) * mh);
  PlaceMask(*this, plane, mw, mh, x, y);
  std::free(plane);
  return ok;
}

int DrawSurface::LoadBmp(const std::uint8_t* data, std::size_t size, int x, int y) {
  BmpInfo bmp;
  if (!ReadBmpInfo(data, size, &bmp)) return 0;
  if (bitmap == nullptr && !Create(bmp.width, bmp.height)) return 0;
  return ConvertBmpRows(data, size, bmp, pixels, width, height, x, y);
}

int DecodeInto(DrawSurface& surface, const PictureRecord& record, int x, int y) {
  if (surface.bitmap == nullptr) {
    // Only a picture at the origin can size an empty surface.
    const int w = record.width(), h = record.height();
    if (x != 0 || y != 0 || !surface.Create(w, h)) return 0;
    return DecodePixels(record, surface.pixels, w, h);
  }
  return DecodePictureAt(record, surface.pixels, surface.width, surface.height, x, y);
}
