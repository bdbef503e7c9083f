// The blink state machine, tick by tick.
#include <gtest/gtest.h>

#include <vector>

#include "launcher/Blink.h"

namespace {

int g_draw = 0;
int FixedDraw() { return g_draw; }

struct Tick {
  int frame;
  int countdown;
  int interval;
  bool stepped;
};

std::vector<Tick> RunTicks(BlinkState* s, int ticks) {
  std::vector<Tick> out;
  for (int i = 0; i < ticks; ++i) {
    BlinkTick t = AdvanceBlink(s, &FixedDraw);
    out.push_back({s->frame, s->countdown, t.interval, t.stepped});
  }
  return out;
}

TEST(Blink, FirstBlinkComesOnTheThirtyFirstTickAndRunsTwoBandsThenOpens) {
  g_draw = 7;
  BlinkState s;
  std::vector<Tick> ticks = RunTicks(&s, 36);
  for (int i = 0; i < 30; ++i) {
    EXPECT_EQ(ticks[i].frame, 0) << i;
    EXPECT_EQ(ticks[i].interval, 100) << i;
    EXPECT_FALSE(ticks[i].stepped) << i;
  }
  // Band 2 for 30 + 100 ms, band 1 for 15 + 100 ms, then open for 37 + 1 ticks.
  const Tick expected[] = {{2, 1, 30, true},   {2, 0, 100, false}, {1, 1, 15, true},
                           {1, 0, 100, false}, {0, 37, 100, true}, {0, 36, 100, false}};
  for (int i = 0; i < 6; ++i) {
    const Tick& t = ticks[30 + i];
    EXPECT_EQ(t.frame, expected[i].frame) << i;
    EXPECT_EQ(t.countdown, expected[i].countdown) << i;
    EXPECT_EQ(t.interval, expected[i].interval) << i;
    EXPECT_EQ(t.stepped, expected[i].stepped) << i;
  }
}

TEST(Blink, PauseAfterABlinkIsThirtyToFortyNineTicks) {
  struct Case {
    int draw, countdown;
  } cases[] = {{0, 30}, {19, 49}, {20, 30}, {39, 49}, {12345, 35}, {-1, 49}, {-20, 30}};
  for (const Case& c : cases) {
    g_draw = c.draw;
    BlinkState s;
    s.frame = 1;
    s.countdown = 0;
    BlinkTick t = AdvanceBlink(&s, &FixedDraw);
    EXPECT_TRUE(t.stepped);
    EXPECT_EQ(s.frame, 0);
    EXPECT_EQ(s.countdown, c.countdown) << "draw " << c.draw;
  }
}

TEST(Blink, CyclesForeverWithoutDrift) {
  g_draw = 3;  // a pause of 33 + 1 ticks
  BlinkState s;
  RunTicks(&s, 35);  // the first blink is over
  ASSERT_EQ(s.frame, 0);
  // From here every blink takes 34 open ticks + 4 blink ticks.
  std::vector<Tick> ticks = RunTicks(&s, 38 * 3);
  int steps = 0;
  for (const Tick& t : ticks) steps += t.stepped;
  EXPECT_EQ(steps, 3 * 3);
  EXPECT_EQ(s.frame, 0);
  EXPECT_EQ(s.countdown, 33);
}

}  // namespace
