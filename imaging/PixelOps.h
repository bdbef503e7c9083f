#pragma once
// Pixel arithmetic of the drawing surfaces that needs no platform: size
// limits, blit clipping and the row-wise copy. Surfaces hold 0x00RRGGBB words
// in rows stored bottom-up (memory row 0 is the bottom row) with a stride of
// exactly their width.

#include <cstdint>

// The largest surface: 2^26 pixels, so byte counts stay below 2^31 on 32 bits.
constexpr std::int64_t kMaxSurfacePixels = std::int64_t{1} << 26;

bool SurfaceSizeValid(int width, int height);

// A clipped copy in memory rows: `rows` rows of `cols` words from source
// memory row srcRow, column srcCol, to destination memory row dstRow, column
// dstCol, rows going upwards.
struct BlitSpan {
  int dstRow;
  int dstCol;
  int srcRow;
  int srcCol;
  int cols;
  int rows;
};

// The w x h rectangle at (sx, sy) of the source (top-left origin) copied to
// (dx, dy) of the destination, clipped to both surfaces so that every pixel
// that arrives comes from the same relative position in the source. False
// when nothing remains to copy (w or h <= 0, or wholly outside).
bool ClipBlit(int dstWidth, int dstHeight, int srcWidth, int srcHeight, int dx, int dy, int w,
              int h, int sx, int sy, BlitSpan* span);

// Copies a clipped span; one block move per row.
void CopySpan(std::uint32_t* dst, int dstWidth, const std::uint32_t* src, int srcWidth,
              const BlitSpan& span);
