#pragma once
// The character's blink: every timer tick counts down; when the count runs
// out the eyes close in two quick steps (band 2, then band 1) and open again,
// after which the next blink is drawn 30 to 49 ticks away.

constexpr int kTickInterval = 100;        // ms between ticks while nothing blinks
constexpr int kBlinkStartCountdown = 30;  // the first blink comes after ~3.1 s

struct BlinkState {
  int frame = 0;  // band shown over the character: 0 none, 1 or 2
  int countdown = kBlinkStartCountdown;
};

struct BlinkTick {
  int interval;  // ms until the next tick
  bool stepped;  // the frame changed, so the character must be redrawn
};

// A source of non-negative pseudo-random numbers (the C runtime's rand).
using RandomSource = int (*)();

// One timer tick.
BlinkTick AdvanceBlink(BlinkState* state, RandomSource random);
