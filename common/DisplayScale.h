#pragma once
// Display scales, in percent of 96 DPI (100, 125, ... 300). Every length the
// launcher draws at a scale comes from its length at 100 % by one rule,
// ScaledLength; a rectangle scales its edges, not its size, so pieces that
// touch at 100 % touch at every scale and each size stays within one pixel
// of its exact product.

constexpr int kBaseDpi = 96;
constexpr int kBasePercent = 100;
constexpr int kMaxScalePercent = 500;  // the largest scale Windows offers

// v * percent / 100, rounded to the nearest whole pixel, halves away from zero.
constexpr int ScaledLength(int v, int percent) {
  long long product = static_cast<long long>(v) * percent;
  return static_cast<int>(product >= 0 ? (product + 50) / 100 : -((-product + 50) / 100));
}

// The scales the build renders artwork for, ascending. 250 % and 300 % are
// 125 % and 150 % with every pixel doubled: that doubling is invisible at
// such densities, while rendering them too would take the program past its
// size limit. 200 %, the most common scale, is rendered.
constexpr int kShippedScales[] = {100, 125, 150, 175, 200, 225, 275};
constexpr int kShippedScaleCount = sizeof kShippedScales / sizeof kShippedScales[0];

// Artwork made for `shipped` percent with each pixel repeated factor x factor
// times: the window is then drawn at `percent` = shipped * factor.
struct ArtScale {
  int percent;
  int shipped;
  int factor;
};

// The scale for a monitor's DPI: the nearest one that some shipped artwork
// gives exactly, between 100 % and kMaxScalePercent (a tie takes the smaller
// scale; of equal scales, the least repeated artwork).
ArtScale ArtScaleForDpi(int dpi);
ArtScale ArtScaleForPercent(int percent);

// The percent a DPI asks for, rounded to nearest.
int PercentForDpi(int dpi);
// The DPI of a scale in percent, rounded to nearest.
int DpiForPercent(int percent);
