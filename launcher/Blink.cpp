#include "launcher/Blink.h"

BlinkTick AdvanceBlink(BlinkState* state, RandomSource random) {
  if (--state->countdown >= 0) return {kTickInterval, false};
  switch (state->frame) {
    case 0:
      state->frame = 2;
      state->countdown = 1;
      return {30, true};
    case 2:
      state->frame = 1;
      state->countdown = 1;
      return {15, true};
    default: {
      state->frame = state->frame > 0 ? state->frame - 1 : 0;
      // A negative draw from a foreign source must not shorten the pause.
      int draw = random() % 20;
      state->countdown = (draw < 0 ? draw + 20 : draw) + 30;
      return {kTickInterval, true};
    }
  }
}
