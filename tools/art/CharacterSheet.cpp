#include "tools/art/CharacterSheet.h"

#include <cstdio>
#include <cstring>

namespace art {

namespace {

bool Inside(const BoxRect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

BoxRect Grown(const BoxRect& r, int by) {
  return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

}  // namespace

bool EyesStayInBlinkArea(const LauncherMetrics& m, int page, const Image& open,
                         const Image& variant, const std::string& name, std::string* error) {
  const BoxRect& area = m.blinkArea[page];
  // At 100 % the area is drawn on whole pixels. At other scales its edges
  // are rounded to whole pixels while the drawing is scaled exactly, so an
  // eye that reaches the area's border antialiases into the pixels just
  // outside it: a difference within one pixel of the area is that edge (the
  // launcher does not copy it; it shows as a faint step at most). Anything
  // further out is a drawing error.
  const BoxRect allowed = Grown(area, m.percent == kBasePercent ? 0 : 1);
  int count = 0, minX = open.width, minY = open.height, maxX = -1, maxY = -1;
  for (int y = 0; y < open.height; ++y) {
    for (int x = 0; x < open.width; ++x) {
      if (Inside(allowed, x, y) || std::memcmp(open.At(x, y), variant.At(x, y), 3) == 0) continue;
      ++count;
      if (x < minX) minX = x;
      if (y < minY) minY = y;
      if (x > maxX) maxX = x;
      if (y > maxY) maxY = y;
    }
  }
  if (count == 0) return true;
  char text[320];
  std::snprintf(text, sizeof text,
                "%s: %d pixels outside the blink area (%d,%d) %dx%d at %d %% change, within "
                "x %d..%d, y %d..%d; keep the eyes inside it",
                name.c_str(), count, area.left, area.top, area.right - area.left,
                area.bottom - area.top, m.percent, minX, maxX, minY, maxY);
  *error = text;
  return false;
}

void PlacePage(const LauncherMetrics& m, int page, const PageRenders& renders, Image* sheet,
               Image* mask) {
  const int left = page * m.characterWidth;
  for (int y = 0; y < m.frameHeight; ++y) {
    for (int x = 0; x < m.characterWidth; ++x) {
      std::memcpy(sheet->At(left + x, y), renders.open.At(x, y), 3);
      *mask->At(left + x, y) = renders.body.At(x, y)[3] >= 128 ? 255 : 0;
    }
  }
  // Each band repeats the frame rows from the blink area's top down, with
  // the closed (band 1) or half-closed (band 2) eyes inside the area, so
  // the band's own x and row offsets match the frame's.
  const BoxRect& area = m.blinkArea[page];
  const Image* bandEyes[2] = {&renders.closed, &renders.half};
  for (int band = 0; band < 2; ++band) {
    const int top = m.frameHeight + band * m.bandHeight;
    for (int j = 0; j < m.bandHeight; ++j) {
      const int frameY = area.top + j;
      for (int x = 0; x < m.characterWidth; ++x) {
        const Image& source = Inside(area, x, frameY) ? *bandEyes[band] : renders.open;
        std::memcpy(sheet->At(left + x, top + j), source.At(x, frameY), 3);
        *mask->At(left + x, top + j) = *mask->At(left + x, frameY);
      }
    }
  }
}

}  // namespace art
