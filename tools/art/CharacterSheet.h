#pragma once
// The character sheet at one display scale, laid out by the launcher's own
// metrics: page k's frame at x = k * characterWidth, then two blink bands
// (band 1 the eyes closed, band 2 half closed; the blink shows band 2, then
// band 1), and the hit mask from the body-only render.

#include <string>

#include "launcher/LauncherGeometry.h"
#include "tools/art/ArtImage.h"

namespace art {

// One page's four renders, each characterWidth x frameHeight: eyes open
// (RGB), half and closed (RGB), and the body alone (RGBA).
struct PageRenders {
  Image open, half, closed, body;
};

// Whether `variant` differs from `open` only where the launcher overlays the
// band (the page's blink area); false with the extent of the stray pixels.
bool EyesStayInBlinkArea(const LauncherMetrics& m, int page, const Image& open,
                         const Image& variant, const std::string& name, std::string* error);

// Writes page `page` into the sheet (sheetWidth x sheetHeight RGB) and its
// mask (the same size, grey: 255 where the body's alpha is at least 128).
void PlacePage(const LauncherMetrics& m, int page, const PageRenders& renders, Image* sheet,
               Image* mask);

}  // namespace art
