#pragma once
// Off-screen 32-bit images the launcher composes its frames in: a DIB section
// of 0x00RRGGBB words, rows stored bottom-up with a stride of exactly `width`,
// with an optional 8-bit mask plane for hit tests. Drawing coordinates have
// their origin at the top-left corner; the pixel at (x, y) is word
// (height - 1 - y) * width + x. A surface lends one memory DC at a time.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "imaging/PictureFormat.h"

// BITMAPINFOHEADER followed by the red, green and blue masks (BI_BITFIELDS).
struct SurfaceInfo {
  BITMAPINFOHEADER header;
  DWORD colourMasks[3];
};

class DrawSurface {
 public:
  DrawSurface() = default;
  ~DrawSurface() { Destroy(); }
  DrawSurface(const DrawSurface&) = delete;
  DrawSurface& operator=(const DrawSurface&) = delete;

  // Empties the surface, then makes a width x height DIB section. Sizes of 0
  // or less, or past 2^26 pixels, fail. Returns 1 or 0 (surface empty).
  int Create(int width, int height);
  void Destroy();

  // A memory DC with the bitmap selected; null while one is lent or when the
  // surface is empty. Give it back with UnlockDC.
  HDC LockDC();
  void UnlockDC(HDC hdc);

  // Reads an archive entry (a picture file or a BMP) into the surface with its
  // top-left corner at (x, y). Returns 1, or 0 when the entry is missing or
  // malformed (the surface then stays usable: empty or partly drawn).
  int Load(const char* name, int x, int y);
  // The same for bytes already in memory.
  int LoadFromMemory(const std::uint8_t* data, std::size_t size, int x, int y);

  // Copies the w x h rectangle at (sx, sy) of source to (dx, dy), clipped to
  // both surfaces; an opaque copy of whole words.
  void Blit(const DrawSurface& source, int dx, int dy, int w, int h, int sx, int sy);
  void BlitAll(const DrawSurface& source, int dx, int dy);

  // Makes this surface the source enlarged by a whole factor, each pixel
  // (and mask value) repeated factor x factor times. 1, or 0 (empty) when the
  // source is empty or the result too large.
  int RepeatOf(const DrawSurface& source, int factor);

  // One SetDIBitsToDevice of the whole surface; returns its result.
  int Present(HDC hdc, int x, int y) const;

  std::uint8_t MaskAt(int x, int y) const;
  int HasMask() const { return mask != nullptr ? 1 : 0; }
  // Replaces the mask plane with a new zeroed one of width x height bytes.
  void AllocMask();
  void FreeMask();

  // Module-wide: the window whose DC lent DCs are made compatible with.
  static void SetReferenceWindow(HWND hwnd);

  std::uint32_t* pixels = nullptr;
  SurfaceInfo* info = nullptr;
  HBITMAP bitmap = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint8_t* mask = nullptr;
  std::int32_t dcLent = 0;
  HGDIOBJ savedObject = nullptr;
  std::int32_t maskOwned = 0;

 private:
  int LoadPicture(const std::uint8_t* data, std::size_t size, int x, int y);
  int LoadBmp(const std::uint8_t* data, std::size_t size, int x, int y);

  HDC m_lentDC = nullptr;  // so that Destroy can take a forgotten DC back
};

// Decodes a picture record into the surface with its top-left corner at
// (x, y). An empty surface is created at the picture's size (only at (0, 0));
// a picture that does not fit is clipped. Returns 1, or 0 when no surface
// could be made or the stream is malformed.
int DecodeInto(DrawSurface& surface, const PictureRecord& record, int x, int y);
