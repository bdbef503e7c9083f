// The art tool's check that the eye variants stay inside the blink area: exact
// at 100 %, and at other scales tolerant of the one pixel around the area that
// an edge on its border antialiases into, never of more.

#include <gtest/gtest.h>

#include "tools/art/CharacterSheet.h"

namespace {

struct StrayPixel {
  int percent;
  int dx, dy;  // from the blink area's bottom-right inside corner
  bool passes;
};

TEST(ArtBlinkCheck, ToleratesOnlyTheBorderPixelAwayFrom100Percent) {
  const StrayPixel cases[] = {
      {100, 0, 0, true},  {100, 1, 0, false}, {100, 0, 1, false}, {125, 1, 1, true},
      {125, 2, 0, false}, {125, 0, 2, false}, {275, 1, 0, true},  {275, 2, 2, false},
  };
  for (const StrayPixel& c : cases) {
    const LauncherMetrics m = MetricsAt(c.percent);
    const int page = 3;
    const BoxRect& area = m.blinkArea[page];
    art::Image open(m.characterWidth, m.frameHeight, 3), variant = open;
    variant.At(area.left + 1, area.top + 1)[0] = 200;  // the eyes themselves
    variant.At(area.right - 1 + c.dx, area.bottom - 1 + c.dy)[1] = 200;
    std::string error;
    EXPECT_EQ(art::EyesStayInBlinkArea(m, page, open, variant, "eyes", &error), c.passes)
        << c.percent << " % at +" << c.dx << ",+" << c.dy;
    EXPECT_EQ(error.empty(), c.passes) << error;
  }
}

}  // namespace
