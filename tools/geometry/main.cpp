// dida-geometry: the window's lengths as the launcher computes them, for
// scripts that drive the real program at a display scale.
//   dida-geometry metrics DPI    the scale that DPI gets and the window's lengths
//                                there (MetricsFor), as shell assignments (rectangles as
//                                "left top right bottom", one array item each)
// Exit code 0 on success, 2 on bad usage.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/DisplayScale.h"
#include "launcher/LauncherGeometry.h"

namespace {

// A whole number in [low, high] from text, or false.
bool ParseInt(const char* text, int low, int high, int* value) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < low || v > high) return false;
  *value = static_cast<int>(v);
  return true;
}

void PrintBoxes(const char* name, const BoxRect* boxes, int count) {
  std::printf("%s=(", name);
  for (int k = 0; k < count; ++k) {
    const BoxRect& b = boxes[k];
    std::printf("%s\"%d %d %d %d\"", k ? " " : "", b.left, b.top, b.right, b.bottom);
  }
  std::printf(")\n");
}

int PrintMetrics(int dpi) {
  ArtScale scale = ArtScaleForDpi(dpi);
  // As the window takes them: the artwork's scale times its repeat.
  LauncherMetrics m = MetricsFor(scale);
  std::printf("percent=%d\nshipped_percent=%d\nart_factor=%d\n", scale.percent, scale.shipped,
              scale.factor);
  std::printf("character_width=%d\npanel_width=%d\nexpanded_width=%d\n", m.characterWidth,
              m.panelWidth, m.expandedWidth);
  std::printf("window_height=%d\nframe_height=%d\nbutton_split=%d\nbutton_height=%d\n",
              m.windowHeight, m.frameHeight, m.buttonSplit, m.buttonHeight);
  const BoxRect& c = m.captionBox;
  std::printf("caption_box=\"%d %d %d %d\"\n", c.left, c.top, c.right, c.bottom);
  PrintBoxes("blink_areas", m.blinkArea, kPageCount);
  PrintBoxes("wells", m.wells, kSlotCount);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int dpi = 0;
  if (argc == 3 && std::strcmp(argv[1], "metrics") == 0 && ParseInt(argv[2], 1, 10000, &dpi)) {
    return PrintMetrics(dpi);
  }
  std::fprintf(stderr, "usage: dida-geometry metrics DPI\n");
  return 2;
}
