// Run by Artwork.cmake when the host build is configured: prints, as CMake
// code, the scales the artwork ships at and the sizes each SVG is rendered
// to there, taken from the launcher's own metrics, so that the renders and
// the program can never disagree on a length.

#include <cstdio>

#include "launcher/LauncherGeometry.h"

int main() {
  std::printf("set(DIDA_ART_SCALES");
  for (int percent : kShippedScales) std::printf(" %d", percent);
  std::printf(")\n");
  // Per scale: characterWidth frameHeight buttonHeight panelWidth windowHeight.
  for (int percent : kShippedScales) {
    const LauncherMetrics m = MetricsAt(percent);
    std::printf("set(DIDA_ART_LENGTHS_%d %d %d %d %d %d)\n", percent, m.characterWidth,
                m.frameHeight, m.buttonHeight, m.panelWidth, m.windowHeight);
  }
  // Every scale from 100 to 300 % as the program draws it: percent, the
  // shipped scale whose pictures it uses, and how often each pixel repeats.
  std::printf("set(DIDA_PREVIEW_SCALES");
  for (int percent = 100; percent <= 300; percent += 25) {
    const ArtScale art = ArtScaleForPercent(percent);
    std::printf(" %d:%d:%d", art.percent, art.shipped, art.factor);
  }
  std::printf(")\n");
  return 0;
}
